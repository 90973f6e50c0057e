// export [--year YYYY] [--force] [--ledger LEDGER] DIR: the ledger's tables as CSV files for a
// spreadsheet, all of them written or none.
#include "export/ledger_export.h"
#include "export/output_files.h"
#include "verbs.h"
#include "year_out.h"
#include "year_out_texts.h"

#include "platform/platform.h"

#include <vector>

namespace sorakado::ledgertool {

namespace {

// The folders on the way to folder that are not there yet, outermost first, made for this user
// alone (0700), as `export ~/kakeibo/all` is expected to make "all". Stops at the first that
// cannot be made: the export then says why the folder will not do.
std::vector<std::filesystem::path> makeMissingFolders(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> missing;
    for (std::filesystem::path p = folder; !p.empty() && p != p.parent_path(); p = p.parent_path()) {
        const platform::FileFacts facts = platform::fileFacts(p);
        if (facts.found || facts.found.failure != platform::Failure::Missing)
            break;
        missing.push_back(p);
    }
    std::vector<std::filesystem::path> made;
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (!platform::createPrivateFolder(*it))
            break;
        made.push_back(*it);
    }
    return made;
}

// A failed export leaves nothing behind, the folders it made included (only while empty).
void removeMadeFolders(const std::vector<std::filesystem::path>& made) {
    for (auto it = made.rbegin(); it != made.rend(); ++it) {
        std::error_code ignored;
        std::filesystem::remove(*it, ignored);
    }
}

} // namespace

int runExport(const Invocation& call) {
    const auto args = parseYearOutArguments(call, "export", texts::kExportSynopsis, true);
    if (args.positional.size() != 1)
        throw ToolFailure(texts::wrongArguments("export", texts::kExportSynopsis), kUsage);
    std::optional<int> year;
    if (args.year)
        year = yearArgument(*args.year);
    const std::filesystem::path folder = args.positional.front();

    std::vector<exporting::OutputFile> files;
    readLedger(args.ledger, [&](Ledger& ledger) {
        files = exporting::csvFiles(exporting::readLedgerTables(ledger, year));
    });
    const auto made = makeMissingFolders(folder);
    try {
        sayTidied(folder, platform::tidyFolder(folder)); // before the names are looked at
        exporting::writeAllOrNothing(folder, files, args.force);
    } catch (const exporting::OutputError& e) {
        removeMadeFolders(made);
        throw ToolFailure(e.what());
    } catch (...) {
        removeMadeFolders(made);
        throw;
    }
    for (const auto& f : files)
        printLine(texts::written(folder / f.name));
    return kDone;
}

} // namespace sorakado::ledgertool
