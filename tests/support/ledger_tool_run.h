#pragma once

// Runs the real sorakado-ledger and collects its exit status and output. The tool can be run from
// where the build put it, or from a copy placed in a folder, so that "the ledger beside the
// program" is a temporary ledger.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace sorakado::testing {

struct ToolResult {
    int status = -1;
    std::string out, err;
};

// The folder that holds the built programs: CTest names it; run by hand, they sit beside the test.
inline std::filesystem::path builtProgramFolder() {
    const char* bin = std::getenv("SORAKADO_BIN");
    return bin ? std::filesystem::path(bin) : std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

inline std::string shellQuoted(const std::string& s) {
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs tool with args; scratch holds the captured output for the moment of the run.
inline ToolResult runTool(const std::filesystem::path& tool, const std::vector<std::string>& args,
                          const std::filesystem::path& scratch) {
    std::string command = shellQuoted(tool.string());
    for (const auto& a : args)
        command += " " + shellQuoted(a);
    const auto out = scratch / ".tool-out.txt", err = scratch / ".tool-err.txt";
    command += " >" + shellQuoted(out.string()) + " 2>" + shellQuoted(err.string());
    int raw = std::system(command.c_str());
    auto slurp = [](const std::filesystem::path& p) {
        std::ifstream in(p);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    ToolResult r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return r;
}

// A copy of sorakado-ledger in folder, so that its default ledger is folder/Sorakado.mdb.
inline std::filesystem::path copyToolInto(const std::filesystem::path& folder) {
    const auto copy = folder / "sorakado-ledger";
    std::filesystem::copy_file(builtProgramFolder() / "sorakado-ledger", copy,
                               std::filesystem::copy_options::overwrite_existing);
    return copy;
}

} // namespace sorakado::testing
