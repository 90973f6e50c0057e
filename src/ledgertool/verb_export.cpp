// export [--year YYYY] [--force] [--ledger LEDGER] DIR: the ledger's tables as CSV files for a
// spreadsheet, all of them written or none.
#include "export/ledger_export.h"
#include "export/output_files.h"
#include "verbs.h"
#include "year_out.h"
#include "year_out_texts.h"

namespace sorakado::ledgertool {

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
    try {
        exporting::writeAllOrNothing(folder, files, args.force);
    } catch (const exporting::OutputError& e) {
        throw ToolFailure(e.what());
    }
    for (const auto& f : files)
        printLine(texts::written(folder / f.name));
    return kDone;
}

} // namespace sorakado::ledgertool
