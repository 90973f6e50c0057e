#pragma once

#include "import_plan.h"

#include <filesystem>
#include <string>

namespace sorakado::legacy {

// The text `sorakado-ledger import` prints when the new ledger is in place: rows read and
// written per table, then every row that was changed, carried over out of view, left out, or
// left for the user to decide, each with its reason.
std::string formatReport(const ImportPlan& plan, const std::filesystem::path& oldFile,
                         const std::filesystem::path& target);

} // namespace sorakado::legacy
