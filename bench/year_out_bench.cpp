// Taking the data out of big ledgers: the whole ledger and one year as CSV text, and one
// year's report drawn as a PDF (ledger reads included in each).

#include "big_ledger.h"
#include "export/ledger_export.h"
#include "export/year_figures.h"
#include "report/year_report.h"
#include "store/ledger.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

using namespace sorakado;

Ledger openBig(std::int64_t entries) {
    return Ledger::open(bench::bigLedger(SORAKADO_BENCH_DATA, entries));
}

void exportCsv(benchmark::State& state, std::optional<int> year) {
    Ledger ledger = openBig(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto files = exporting::csvFiles(exporting::readLedgerTables(ledger, year));
        bytes = 0;
        for (const auto& f : files)
            bytes += f.bytes.size();
        benchmark::DoNotOptimize(files);
    }
    state.counters["MB"] = double(bytes) / 1e6;
}

void BM_ExportWholeLedger(benchmark::State& state) {
    exportCsv(state, std::nullopt);
}
void BM_ExportOneYear(benchmark::State& state) {
    exportCsv(state, bench::kFirstYear + bench::kYears / 2);
}

void BM_ReportOneYear(benchmark::State& state) {
    Ledger ledger = openBig(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto figures = yearly::readYearFigures(ledger, bench::kFirstYear + bench::kYears / 2);
        QByteArray pdf =
            report::renderYearReport(figures, {QStringLiteral("2026/01/01"), QStringLiteral("bench")});
        bytes = std::size_t(pdf.size());
    }
    state.counters["KB"] = double(bytes) / 1e3;
}

BENCHMARK(BM_ExportWholeLedger)->Arg(12'000)->Arg(120'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportOneYear)->Arg(12'000)->Arg(120'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportOneYear)->Arg(12'000)->Arg(120'000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
