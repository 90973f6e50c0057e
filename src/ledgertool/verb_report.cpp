// report [--force] [--ledger LEDGER] YYYY [OUT.pdf]: the year's income and spending as a
// printable A4 PDF with charts and tables.
#include "export/output_files.h"
#include "report/year_report.h"
#include "sorakado_version.h"
#include "verbs.h"
#include "year_out.h"
#include "year_out_texts.h"

#include <QDate>
#include <QGuiApplication>

#include <cstdio>

namespace sorakado::ledgertool {

namespace {

std::filesystem::path reportName(int year) {
    return "sorakado-" + yearly::yearText(year) + ".pdf";
}

// Qt's own notes (no runtime folder and the like) are not the user's business on the command
// line; its errors still go out.
void quietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        printFailure(message.toStdString());
}

} // namespace

int runReport(const Invocation& call) {
    const auto args = parseYearOutArguments(call, "report", texts::kReportSynopsis, false);
    if (args.positional.empty() || args.positional.size() > 2)
        throw ToolFailure(texts::wrongArguments("report", texts::kReportSynopsis), kUsage);
    const int year = yearArgument(args.positional[0]);
    std::filesystem::path out =
        args.positional.size() == 2 ? std::filesystem::path(args.positional[1]) : reportName(year);
    std::error_code ignored;
    if (out.filename().empty() || std::filesystem::is_directory(out, ignored))
        out /= reportName(year); // a folder: the report goes into it under its usual name

    yearly::YearFigures figures;
    readLedger(args.ledger, [&](Ledger& ledger) { figures = yearly::readYearFigures(ledger, year); });

    // The report draws with QtGui alone; without a display of its own choosing it draws offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietQtNotes);
    int qtArgc = 1;
    char name[] = "sorakado-ledger";
    char* qtArgv[] = {name, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    try {
        const report::ReportInfo info{QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")),
                                      QStringLiteral(SORAKADO_VERSION)};
        const QByteArray pdf = report::renderYearReport(figures, info);
        sayTidied(out.parent_path(), platform::tidyFolder(out.parent_path())); // before the name is looked at
        exporting::writeAllOrNothing(out.parent_path(), {{out.filename().string(), pdf.toStdString()}},
                                     args.force);
    } catch (const report::ReportError& e) {
        throw ToolFailure(e.what());
    } catch (const exporting::OutputError& e) {
        throw ToolFailure(e.what());
    }
    printLine(texts::written(out));
    return kDone;
}

} // namespace sorakado::ledgertool
