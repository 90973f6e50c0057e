// What the repeating entries add to the opening of the ledger, on copies of the generated
// ledgers: the look for anything due when nothing is (every opening pays it), and the posting of
// a year missed by 20 repeating entries (240 entries in one step). Prints medians beside their
// floors.
//
//   sorakado_recurring_bench [--sizes=120000,1200000] [--data=DIR]

#include "big_ledger.h"
#include "timing.h"

#include "store/history.h"
#include "store/ledger.h"
#include "store/recurring.h"

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace sorakado;
using bench::median;
using bench::timeMs;
using bench::verdict;
namespace fs = std::filesystem;

constexpr int kRepeating = 20;
constexpr double kNothingDueFloorMs = 5;
constexpr double kYearMissedFloorMs = 20;

void benchSize(const fs::path& dataDir, std::int64_t entries) {
    QTemporaryDir dir;
    const fs::path path = bench::bigLedgerCopy(dataDir, entries, dir.path().toStdString());
    Ledger l = Ledger::open(path); // the one-time upgrade is not measured

    const auto categories = l.categories();
    for (int i = 0; i < kRepeating; ++i) {
        recurring::Values v;
        v.categoryKey = categories[std::size_t(i) % categories.size()].key;
        v.description = "定期" + std::to_string(i + 1);
        v.amount = Amount::fromYen(1000 + i);
        v.day = i + 1;
        v.from = {2020, 6};
        recurring::add(l, v);
    }
    // June written, as if the program last opened the ledger then.
    recurring::postDue(l, {2020, 6, 28});

    const recurring::Day yearLater{2021, 6, 28};
    std::vector<double> missed;
    std::size_t written = 0;
    for (int run = 0; run < 5; ++run) {
        missed.push_back(timeMs([&] { written = recurring::postDue(l, yearLater).size(); }));
        history::undo(l);
    }
    // One month missed: 20 entries, what a step and its commit cost whatever their size.
    std::vector<double> month;
    for (int run = 0; run < 5; ++run) {
        month.push_back(timeMs([&] { recurring::postDue(l, {2020, 7, 28}); }));
        history::undo(l);
    }
    recurring::postDue(l, yearLater);
    std::vector<double> nothing;
    for (int run = 0; run < 31; ++run)
        nothing.push_back(timeMs([&] {
            if (!recurring::postDue(l, yearLater).empty())
                std::fprintf(stderr, "posted twice\n");
        }));

    std::printf("%9lld entries (%6.1f MB), %d repeating entries\n", static_cast<long long>(entries),
                double(fs::file_size(path)) / 1e6, kRepeating);
    std::printf("  opening with nothing due: %6.3f ms   (floor %.0f ms: %s)\n", median(nothing),
                kNothingDueFloorMs, verdict(median(nothing), kNothingDueFloorMs));
    std::printf("  a month missed (20 entries written, one step): %6.2f ms\n", median(month));
    std::printf("  a year missed (%zu entries written, one step): %6.2f ms   (floor %.0f ms: %s)\n", written,
                median(missed), kYearMissedFloorMs, verdict(median(missed), kYearMissedFloorMs));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    const auto args = bench::parseBenchArgs(argc, argv, {120000, 1200000}, SORAKADO_BENCH_DATA);
    fs::create_directories(args.data);
    for (auto n : args.sizes)
        benchSize(args.data, n);
    return 0;
}
