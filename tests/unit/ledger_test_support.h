#pragma once

// Store test support: amounts and error kinds printed by name in test failures, and a file's bytes.
// Another program on the file is store/testing/other_program.h.

#include "store/amount.h"
#include "store/ledger.h"
#include "store/ledger_error.h"
#include "store/testing/other_program.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace sorakado {
inline void PrintTo(const Amount& a, std::ostream* os) {
    *os << a.text();
}
inline void PrintTo(LedgerError::Kind k, std::ostream* os) {
    const char* names[] = {"Missing",   "ReadOnly",     "NoPermission", "Locked",
                           "NotLedger", "MissingTable", "Exists",       "Failed"};
    *os << names[static_cast<int>(k)];
}
} // namespace sorakado

namespace sorakado::testing {

inline std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A year of sums as the lists show them: each Amount's text, or "-" for nothing summed.
inline std::vector<std::string> texts(const MonthSums& sums) {
    std::vector<std::string> out;
    for (const auto& s : sums)
        out.push_back(s ? s->text() : "-");
    return out;
}

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace sorakado::testing
