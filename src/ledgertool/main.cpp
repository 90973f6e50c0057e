// sorakado-ledger: makes and looks after ledger files from the command line.
#include "ledgertool/import_report.h"
#include "ledgertool/import_texts.h"
#include "ledgertool/legacy_import.h"
#include "store/ledger.h"
#include "store/ledger_error.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::filesystem::path programFolder(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        self = std::filesystem::absolute(argv0);
    return self.parent_path();
}

int usage() {
    std::fprintf(stderr,
                 "usage: sorakado-ledger create [PATH]\n"
                 "       sorakado-ledger import OLD.mdb [NEW]\n"
                 "  create  make a new empty ledger (default: Sorakado.mdb beside the sorakado program)\n"
                 "  import  copy an old Access ledger into a new ledger (default: Sorakado.mdb beside the\n"
                 "          sorakado program); never overwrites a file. Exit status 0: every row was\n"
                 "          imported; 3: the new ledger was written, but some rows were not imported\n"
                 "          or need a decision (see the report); 1: nothing was written\n");
    return 2;
}

// Exit status of an import whose ledger was written while rows stayed behind or wait for the user.
constexpr int kImportIncomplete = 3;

void printError(std::string line) {
    for (auto& c : line)
        if (c == '\n')
            c = ' ';
    std::fprintf(stderr, "sorakado-ledger: %s\n", line.c_str());
}

int importCommand(int argc, char** argv) {
    if (argc < 3 || argc > 4)
        return usage();
    std::filesystem::path oldFile = argv[2];
    std::filesystem::path target =
        argc == 4 ? std::filesystem::path(argv[3]) : programFolder(argv[0]) / sorakado::Ledger::kFileName;
    try {
        auto plan = sorakado::legacy::importLegacyLedger(oldFile, target);
        std::fputs(sorakado::legacy::formatReport(plan, oldFile, std::filesystem::absolute(target)).c_str(),
                   stdout);
        return plan.complete() ? 0 : kImportIncomplete;
    } catch (const sorakado::legacy::ImportError& e) {
        printError(std::string(e.what()) + " " + sorakado::legacy::import_texts::kNothingWritten);
        return 1;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    std::string command = argv[1];
    if (command == "create") {
        if (argc > 3)
            return usage();
        std::filesystem::path path =
            argc == 3 ? std::filesystem::path(argv[2]) : programFolder(argv[0]) / sorakado::Ledger::kFileName;
        try {
            sorakado::Ledger::create(path);
        } catch (const sorakado::LedgerError& e) {
            std::string line = e.description();
            for (auto& c : line)
                if (c == '\n')
                    c = ' ';
            std::fprintf(stderr, "sorakado-ledger: %s\n", line.c_str());
            return 1;
        }
        std::printf("created %s\n", path.c_str());
        return 0;
    }
    if (command == "import")
        return importCommand(argc, argv);
    return usage();
}
