#pragma once

// `sorakado-ledger import`: an old Access ledger in, a new encrypted ledger out.

#include "import_plan.h"

#include <filesystem>
#include <stdexcept>

namespace sorakado::legacy {

// The import stopped before the new ledger got its name: no file was left behind. The message
// says what went wrong, in full.
class ImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the old file whole, plans every row, writes the new ledger under a temporary name in
// the target's folder, reads it back and compares it with the plan, and only then gives it the
// target's name. Refuses a target that exists, also one that appears while the import runs,
// unless it is a ledger that holds no row in any table (still so at the moment it is replaced).
// Returns the plan, whose notes make the report. Throws ImportError.
ImportPlan importLegacyLedger(const std::filesystem::path& oldFile, const std::filesystem::path& target);

} // namespace sorakado::legacy
