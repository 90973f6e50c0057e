#pragma once

// What the export and report verbs share: their options, the year, and reading the ledger.

#include "export/year_figures.h"
#include "tool.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sorakado {
class Ledger;
}

namespace sorakado::ledgertool {

struct YearOutArguments {
    std::optional<std::string> year; // --year, export only
    std::filesystem::path ledger;    // --ledger, else the ledger beside the program
    bool force = false;              // --force: overwrite existing files
    std::vector<std::string> positional;
};

// Options may stand anywhere before "--"; a value option takes the next word or "=value".
// Throws ToolFailure (wrong arguments) for an unknown option or a missing value.
YearOutArguments parseYearOutArguments(const Invocation& call, const char* verb, const char* synopsis,
                                       bool yearOption);

// The year as given, 1900 to 3000; throws ToolFailure (wrong arguments) otherwise.
int yearArgument(const std::string& text);

// Opens the ledger and reads from it, all as of one moment; a ledger that cannot be opened or read throws
// ToolFailure.
void readLedger(const std::filesystem::path& path, const std::function<void(Ledger&)>& read);

} // namespace sorakado::ledgertool
