// sorakado-ledger: makes and looks after ledger files from the command line.
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
    std::fprintf(stderr, "usage: sorakado-ledger create [PATH]\n"
                         "  create  make a new empty ledger (default: Sorakado.mdb beside the sorakado program)\n");
    return 2;
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
    return usage();
}
