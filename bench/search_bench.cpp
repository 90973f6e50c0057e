// The search over the whole ledger (the search window), on generated ledgers of 12,000 /
// 120,000 / 1,200,000 entries. For each size one line: the median search, from the text typed to
// the rows the result list first draws, of a two-character Japanese text found in one entry of
// 24 and of a rare text, beside the floor (a plain LIKE '%…%' scan of the same rows, the median
// of the same texts); then each search alone, reading the copy (the first search after start-up
// waits for it), the memory the copy takes, and the same search over a copy whose every
// description is different (the worst case for a copy that holds each text once).
//
//   sorakado_search_bench [--sizes=12000,120000,1200000] [--data=DIR]

#include "big_ledger.h"

#include "monthly/month_figures.h"
#include "search/entry_index.h"
#include "store/entry_reader.h"
#include "store/ledger.h"
#include "store/testing/reference_reads.h"

#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace sorakado;
using Clock = std::chrono::steady_clock;
using sorakado::testing::searchFloor;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double medianOf(int runs, const std::function<void()>& run) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        run();
        times.push_back(msSince(start));
    }
    return median(times);
}

// Resident memory of the process, in MB.
double residentMb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * 4096.0 / (1024.0 * 1024.0);
}

std::unique_ptr<search::EntryIndex> readCopy(const std::filesystem::path& path, bool everyTextDifferent) {
    auto index = std::make_unique<search::EntryIndex>();
    EntryReader reader(path);
    for (auto rows = reader.next(20000); !rows.empty(); rows = reader.next(20000)) {
        if (everyTextDifferent)
            for (auto& row : rows)
                row.description = row.description.value_or("") + " #" + std::to_string(row.key);
        index->add(rows);
    }
    index->finish();
    return index;
}

// A search as the window runs it: the query, then the cells of the rows the list first draws.
std::int64_t searchAndDraw(const search::EntryIndex& index, const search::SearchQuery& query) {
    const search::SearchResult result = index.search(query);
    std::int64_t cells = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(result.rows.size(), 40); ++i) {
        const search::FoundEntry e = index.entry(result.rows[i]);
        cells += listDateText(e.date).size() + e.description.size() + yenText(e.amount).size() +
                 e.categoryName.value_or(QString()).size();
    }
    return cells + result.count;
}

search::SearchQuery textQuery(const char* text) {
    search::SearchQuery q;
    q.text = QString::fromUtf8(text);
    return q;
}

void measure(const std::filesystem::path& path, std::int64_t entries) {
    const char* common = "買い"; // スーパーで買い物: one entry in 24
    const char* rare = "祝い（9点）";
    const char* fullWidth = "ｽｰﾊﾟｰ"; // half-width, found as スーパー
    constexpr int kRuns = 21;

    Ledger ledger = Ledger::open(path);
    const double floorCommon = medianOf(kRuns / 4 + 1, [&] { searchFloor(ledger, common); });
    const double floorRare = medianOf(kRuns / 4 + 1, [&] { searchFloor(ledger, rare); });

    const double before = residentMb();
    auto start = Clock::now();
    auto index = readCopy(path, false);
    index->setCategories(ledger.categories());
    const double readMs = msSince(start);
    const double copyMb = residentMb() - before;

    std::int64_t sink = 0;
    const double commonMs = medianOf(kRuns, [&] { sink += searchAndDraw(*index, textQuery(common)); });
    const double rareMs = medianOf(kRuns, [&] { sink += searchAndDraw(*index, textQuery(rare)); });
    const double widthMs = medianOf(kRuns, [&] { sink += searchAndDraw(*index, textQuery(fullWidth)); });
    const double allMs = medianOf(kRuns, [&] { sink += searchAndDraw(*index, textQuery("")); });
    search::SearchQuery ranged = textQuery(common);
    ranged.fromDate = "2010/01/01";
    ranged.toDate = prefixUpperBound("2012");
    ranged.leastAmount = Amount::fromYen(1000);
    const double rangedMs = medianOf(kRuns, [&] { sink += searchAndDraw(*index, ranged); });
    const auto commonCount = index->search(textQuery(common)).count;
    const auto rareCount = index->search(textQuery(rare)).count;
    const double indexMb = double(index->bytes()) / (1024.0 * 1024.0);
    index.reset();

    start = Clock::now();
    auto distinct = readCopy(path, true);
    distinct->setCategories(ledger.categories());
    const double distinctReadMs = msSince(start);
    const double distinctMs =
        median({medianOf(kRuns, [&] { sink += searchAndDraw(*distinct, textQuery(common)); }),
                medianOf(kRuns, [&] { sink += searchAndDraw(*distinct, textQuery(rare)); })});
    const double distinctMb = double(distinct->bytes()) / (1024.0 * 1024.0);
    distinct.reset();

    std::printf("%lld entries: search %.2f ms (floor %.1f ms)  | %s (%lld found) %.2f ms (floor %.1f ms), "
                "%s (%lld found) %.2f ms (floor %.1f ms), %s %.2f ms, empty text (all %lld) %.2f ms, "
                "text+dates+amount %.2f ms | reading the copy (first search) %.0f ms, copy %.1f MB "
                "(resident +%.1f MB) | every text different: search %.2f ms, reading %.0f ms, copy %.1f MB\n",
                static_cast<long long>(entries), median({commonMs, rareMs}), median({floorCommon, floorRare}),
                common, static_cast<long long>(commonCount), commonMs, floorCommon, rare,
                static_cast<long long>(rareCount), rareMs, floorRare, fullWidth, widthMs,
                static_cast<long long>(entries), allMs, rangedMs, readMs, indexMb, copyMb, distinctMs,
                distinctReadMs, distinctMb);
    std::fflush(stdout);
    if (sink == 42)
        std::printf(" \n");
}

} // namespace

int main(int argc, char** argv) {
    auto args = bench::parseBenchArgs(argc, argv, {12000, 120000, 1200000}, SORAKADO_BENCH_DATA);
    if (args.rest.size() > 1) {
        std::fprintf(stderr, "usage: %s [--sizes=12000,120000,1200000] [--data=DIR]\n", argv[0]);
        return 2;
    }
    for (std::int64_t entries : args.sizes)
        measure(bench::bigLedger(args.data, entries), entries);
    return 0;
}
