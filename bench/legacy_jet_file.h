#pragma once

#include <cstdint>
#include <filesystem>

namespace sorakado::bench {

// An old-style Access (Jet 4.0) ledger of `entries` expense entries over twenty years, for
// timing the import. Nothing on Debian writes Jet files, so this one is made from a small
// sample file: its four tables get new data pages and new usage maps, and their row counts
// and AutoNumber counters are set to match. The indexes are left as they were, so Access
// itself would want to repair the file; mdbtools reads tables by scanning pages and never
// looks at them. Built once into folder and reused; the same count gives the same file.
std::filesystem::path bigLegacyLedger(const std::filesystem::path& sample,
                                      const std::filesystem::path& folder, std::int64_t entries);

} // namespace sorakado::bench
