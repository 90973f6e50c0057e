// How long one monthly rebuild spends reading the ledger, and how long opening the file takes,
// on generated ledgers of 12,000 / 120,000 / 1,200,000 entries. Every figure is printed beside
// the floor of its ledger: the least a rebuild must read (the month's entries and one stored
// figure per month), measured here on the same file.
//
//   sorakado_bench [--sizes=12000,120000,1200000] [--data=DIR] [benchmark flags]
//
// Ledgers are generated into DIR (bench-data in the build folder by default) on first use and
// reused from then on.

#include "big_ledger.h"

#include "monthly/month_figures.h"
#include "store/ledger.h"
#include "store/testing/reference_reads.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace sorakado;
using sorakado::testing::monthEntries;
using sorakado::testing::monthExpenses;
using sorakado::testing::readFloor;

// A month in the middle of the generated span.
const QString kYear = QStringLiteral("2010");
const QString kMonth = QStringLiteral("06");
const std::string kMonthKey = "2010/06";
const std::string kYearText = "2010";

void buildMonthBench(benchmark::State& state, std::filesystem::path path) {
    Ledger ledger = Ledger::open(path);
    std::size_t rows = 0;
    for (auto _ : state) {
        auto figures = buildMonth(ledger, kYear, kMonth);
        rows = figures->expenseRows.size();
        benchmark::DoNotOptimize(figures);
    }
    state.counters["expense_rows"] = double(rows);
}

void floorBench(benchmark::State& state, std::filesystem::path path) {
    Ledger ledger = Ledger::open(path);
    std::int64_t values = 0;
    for (auto _ : state) {
        values = readFloor(ledger, kMonthKey, kYearText);
        benchmark::DoNotOptimize(values);
    }
    state.counters["values"] = double(values);
}

void openBench(benchmark::State& state, std::filesystem::path path) {
    for (auto _ : state) {
        Ledger ledger = Ledger::open(path);
        benchmark::DoNotOptimize(ledger);
    }
}

// The single reads of a rebuild, to tell which one a slow rebuild spends its time in.
template <class Read> void readBench(benchmark::State& state, std::filesystem::path path, Read read) {
    Ledger ledger = Ledger::open(path);
    for (auto _ : state) {
        auto result = read(ledger);
        benchmark::DoNotOptimize(result);
    }
}

void registerFor(const std::filesystem::path& path, std::int64_t entries) {
    const std::string n = std::to_string(entries);
    auto aggregate = [](benchmark::internal::Benchmark* b) {
        b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
    };
    // The floor first: the reporter sets every later figure of this size against it.
    aggregate(benchmark::RegisterBenchmark(("floor/" + n).c_str(), floorBench, path));
    aggregate(benchmark::RegisterBenchmark(("buildMonth/" + n).c_str(), buildMonthBench, path));
    aggregate(benchmark::RegisterBenchmark(("LedgerOpen/" + n).c_str(), openBench, path));

    auto read = [&](const char* name, auto fn) {
        aggregate(benchmark::RegisterBenchmark((std::string("read/") + name + "/" + n).c_str(),
                                               [path, fn](benchmark::State& s) { readBench(s, path, fn); }));
    };
    read("members", [](Ledger& l) { return l.members(); });
    read("monthIncomes", [](Ledger& l) { return l.monthIncomes(kMonthKey); });
    read("yearIncomeSums", [](Ledger& l) { return l.yearIncomeSums(kYearText); });
    read("categories", [](Ledger& l) { return l.categories(); });
    read("monthEntries", [](Ledger& l) { return monthEntries(l, kMonthKey); });
    read("monthCategorySums", [](Ledger& l) { return l.monthCategorySums(kMonthKey); });
    read("monthExpenses", [](Ledger& l) { return monthExpenses(l, kMonthKey); }); // the two above in one pass
    read("yearExpenseSums", [](Ledger& l) { return l.yearExpenseSums(kYearText); });
    // What buildMonth reads, as it reads it: the goal for this one is 2 ms at every size.
    read("allOfOneRebuild", [](Ledger& l) {
        Ledger::Snapshot snapshot(l);
        l.members();
        l.monthIncomes(kMonthKey);
        l.yearIncomeSums(kYearText);
        const auto categories = l.categories();
        l.yearExpenseSums(kYearText);
        return l.monthExpenses(kMonthKey, categories);
    });
}

// Prints the median of the repetitions only (mean, deviation and variation drown the figures),
// each beside the floor of its ledger size and as a multiple of it.
class MedianReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override {
        std::printf("%-34s %12s %12s %9s\n", "benchmark (median of 5)", "ms", "floor ms", "x floor");
        return true;
    }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median")
                continue;
            const std::string name = run.run_name.function_name;
            const std::string size = name.substr(name.rfind('/') + 1);
            const double ms = run.GetAdjustedRealTime(); // the unit is milliseconds
            if (name.rfind("floor/", 0) == 0)
                floors_[size] = ms;
            const auto floor = floors_.find(size);
            if (floor == floors_.end())
                std::printf("%-34s %12.3f %12s %9s\n", name.c_str(), ms, "-", "-");
            else
                std::printf("%-34s %12.3f %12.3f %9.1f\n", name.c_str(), ms, floor->second,
                            ms / floor->second);
            std::fflush(stdout);
        }
    }

private:
    std::map<std::string, double> floors_;
};

} // namespace

int main(int argc, char** argv) {
    // Our own flags come out before the library sees the rest.
    auto args = bench::parseBenchArgs(argc, argv, {12000, 120000}, SORAKADO_BENCH_DATA);
    const auto& sizes = args.sizes;
    const auto& data = args.data;
    auto& rest = args.rest;
    int restCount = int(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    if (benchmark::ReportUnrecognizedArguments(restCount, rest.data()))
        return 1;

    for (std::int64_t entries : sizes)
        registerFor(bench::bigLedger(data, entries), entries);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
