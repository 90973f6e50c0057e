// A month's statement of 1,000 lines previewed as the import window previews it: read (decoded
// from Shift_JIS, columns found, dates and amounts read), each line's category guessed from the
// ledger's history and checked against the entries already there. On generated ledgers of
// 12,000 and 1,200,000 entries; each figure is printed beside its goal, 100 ms.
//
//   sorakado_statement_bench [--sizes=12000,1200000] [--data=DIR] [benchmark flags]
#include "big_ledger.h"
#include "statement/matching.h"
#include "statement/reader.h"
#include "store/ledger.h"

#include <QStringEncoder>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

namespace {

using namespace sorakado;

constexpr double kGoalMs = 100;

// Shops as a card statement names them: some the generated ledger knows (in another width or
// under a branch), most it does not.
const char* const kShops[] = {
    "ｺﾝﾋﾞﾆ",           "ドラッグストア 札幌店", "スーパーで買い物",  "ﾀｸｼｰ",
    "喫茶店",          "ｱﾏｿﾞﾝ ﾏｰｹｯﾄﾌﾟﾚｲｽ",      "デビット ユニクロ", "髙島屋 日本橋店",
    "ﾌｧﾐﾘｰﾏｰﾄ 北口店", "口座振替 ﾃﾞﾝｷ"};

// 1,000 lines of the last month the generated ledgers cover, in Windows' Shift_JIS.
QByteArray statementBytes() {
    std::mt19937 random(1102);
    QString text = QStringLiteral("カード名称,ソラカドカード\r\nお支払日,2021/01/10\r\n"
                                  "利用日,利用店名・商品名,利用者,支払方法,利用金額,支払手数料,支払総額\r\n");
    for (int i = 0; i < 1000; ++i) {
        const int day = 1 + int(random() % 31);
        const QString shop = QString::fromUtf8(kShops[random() % std::size(kShops)]);
        const int yen = 100 + int(random() % 30000);
        text += QStringLiteral("2020/12/%1,%2,本人,１回払,\"%3\",,\"%3\"\r\n")
                    .arg(day, 2, 10, QLatin1Char('0'))
                    .arg(shop)
                    .arg(QLocale::c().toString(yen));
    }
    QStringEncoder cp932("windows-31j");
    return cp932.encode(text);
}

void previewBench(benchmark::State& state, std::filesystem::path path) {
    Ledger ledger = Ledger::open(path);
    const QByteArray bytes = statementBytes();
    std::size_t rows = 0, guessed = 0;
    for (auto _ : state) {
        const auto read = statement::readStatement(bytes);
        const auto preview = statement::previewLines(ledger, read.payments);
        rows = preview.size();
        guessed = 0;
        for (const auto& row : preview)
            guessed += row.category ? 1 : 0;
        benchmark::DoNotOptimize(preview);
    }
    state.counters["rows"] = double(rows);
    state.counters["guessed"] = double(guessed);
}

void readBench(benchmark::State& state) {
    const QByteArray bytes = statementBytes();
    for (auto _ : state) {
        auto read = statement::readStatement(bytes);
        benchmark::DoNotOptimize(read);
    }
}

class GoalReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override {
        std::printf("%-32s %10s %10s %8s %8s\n", "benchmark (median of 5)", "ms", "goal ms", "rows",
                    "guessed");
        return true;
    }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median")
                continue;
            auto counter = [&](const char* name) {
                auto it = run.counters.find(name);
                return it == run.counters.end() ? 0.0 : double(it->second);
            };
            std::printf("%-32s %10.2f %10.0f %8.0f %8.0f\n", run.run_name.function_name.c_str(),
                        run.GetAdjustedRealTime(), kGoalMs, counter("rows"), counter("guessed"));
            std::fflush(stdout);
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    auto args = bench::parseBenchArgs(argc, argv, {12000, 1200000}, SORAKADO_BENCH_DATA);
    auto aggregate = [](benchmark::internal::Benchmark* b) {
        b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
    };
    aggregate(benchmark::RegisterBenchmark("read/1000-lines", readBench));
    for (std::int64_t entries : args.sizes) {
        const auto path = bench::bigLedger(args.data, entries);
        aggregate(benchmark::RegisterBenchmark(("preview/1000-lines/" + std::to_string(entries)).c_str(),
                                               previewBench, path));
    }
    int rest = int(args.rest.size());
    benchmark::Initialize(&rest, args.rest.data());
    GoalReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    return 0;
}
