#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace sorakado::bench {

// The span every generated ledger covers: twenty years, so the largest one is a lifetime.
inline constexpr int kFirstYear = 2001;
inline constexpr int kYears = 20;

// A ledger of `entries` expense entries spread evenly over the twenty years, with 4 members
// whose incomes are stored for every month and 20 categories. Built once into folder and
// reused from then on; the same count always gives the same ledger.
std::filesystem::path bigLedger(const std::filesystem::path& folder, std::int64_t entries);
// A copy of that ledger as into/Sorakado.mdb, for a benchmark that changes it. Returns its path.
std::filesystem::path bigLedgerCopy(const std::filesystem::path& folder, std::int64_t entries,
                                    const std::filesystem::path& into);

// The flags every benchmark takes: --sizes=12000,120000 (entries of each ledger) and --data=DIR
// (where the ledgers are kept). Every other argument is left in `rest`, program name first.
struct BenchArgs {
    std::vector<std::int64_t> sizes;
    std::filesystem::path data;
    std::vector<char*> rest;
};
BenchArgs parseBenchArgs(int argc, char** argv, std::vector<std::int64_t> defaultSizes,
                         std::filesystem::path defaultData);

} // namespace sorakado::bench
