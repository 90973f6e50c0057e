// What the history of changes costs, on copies of the generated ledgers (offscreen window):
// the time recording adds to a single-entry change, the undo and redo of one entry with the
// window's rebuild, the undo of a category delete that took 50,000 entries, and how much the
// file grows per step against the rows the step holds. Prints medians beside their floors.
//
//   sorakado_history_bench [--sizes=120000,1200000] [--data=DIR]

#include "big_ledger.h"
#include "timing.h"

#include "shell/clock.h"
#include "shell/form1.h"
#include "store/history.h"
#include "store/ledger.h"
#include "store/ledger_writes.h"
#include "store/testing/history_cases.h"
#include "store/testing/ledger_seed.h"
#include "store/testing/reference_reads.h"
#include "ui/dialog_service.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace {

using namespace sorakado;
using bench::median;
using bench::timeMs;
using bench::verdict;
using sorakado::testing::monthEntries;
namespace fs = std::filesystem;

class QuietDialogs final : public ui::DialogService {
public:
    void warn(const QString& t) override {
        std::fprintf(stderr, "unexpected message: %s\n", t.toUtf8().constData());
    }
    void error(const QString& t) override { warn(t); }
    bool ask(const QString&) override { return true; }
};

// The processor time the program itself spent, which other programs running at the same time
// do not stretch as they stretch the clock on the wall (waiting for the disk is not in it).
template <class Fn> double cpuMs(Fn&& fn) {
    const std::clock_t start = std::clock();
    fn();
    return 1000.0 * double(std::clock() - start) / CLOCKS_PER_SEC;
}

constexpr std::int64_t kBigCategoryEntries = 50000;
constexpr int kRuns = 31;

void benchSize(const fs::path& dataDir, std::int64_t entries) {
    QTemporaryDir dir;
    const fs::path ledgerPath = bench::bigLedgerCopy(dataDir, entries, dir.path().toStdString());
    { Ledger upgraded = Ledger::open(ledgerPath); } // the one-time upgrade is not measured

    QuietDialogs dialogs;
    shell::FixedClock clock(QDate(2010, 6, 15));
    shell::Form1 window(dialogs, clock, ledgerPath);
    if (!window.load([] {}))
        return;
    window.waitForBackup();
    window.show();
    QApplication::processEvents();
    Ledger& l = *window.ledger();

    // An entry of the month on show, changed back and forth: with its step and without.
    const auto month = monthEntries(l, "2010/06");
    if (month.empty())
        return;
    const Entry& e = month.front();
    const auto category = writes::entryCategory(l, e.key).value_or(1);
    std::vector<double> recorded, plain;
    const auto sizeBefore = fs::file_size(ledgerPath);
    for (int i = 0; i < kRuns; ++i) {
        // The change without a step first: the step made last is then the one undone below.
        plain.push_back(timeMs([&] { testing::changeEntryUnrecorded(l, e.key, 2000 + i); }));
        recorded.push_back(timeMs([&] {
            writes::changeEntry(l, e.key, {*e.date, category, "bench", Amount::fromYen(1000 + i)});
        }));
    }
    const double perStepBytes = double(fs::file_size(ledgerPath) - sizeBefore) / kRuns;
    const auto rowBytes = testing::entryRowBytes(l, e.key);

    // Undo and redo of one entry's change through the window: the step, the rebuild, the render.
    std::vector<double> undos, redos, cpuUndos, cpuRedos;
    for (int i = 0; i < 15; ++i) {
        double cpu = 0;
        undos.push_back(timeMs([&] {
            cpu = cpuMs([&] {
                window.undoStep();
                QApplication::processEvents();
            });
        }));
        cpuUndos.push_back(cpu);
        redos.push_back(timeMs([&] {
            cpu = cpuMs([&] {
                window.redoStep();
                QApplication::processEvents();
            });
        }));
        cpuRedos.push_back(cpu);
    }

    // Where the time goes: the step in the store alone, and the window's rebuild alone.
    std::vector<double> storeUndos, storeRedos, rebuilds;
    for (int i = 0; i < 15; ++i) {
        storeUndos.push_back(timeMs([&] { history::undo(l); }));
        storeRedos.push_back(timeMs([&] { history::redo(l); }));
        rebuilds.push_back(timeMs([&] {
            window.Command1_Click();
            QApplication::processEvents();
        }));
    }

    // A category of 50,000 entries, deleted, undone and redone.
    const auto big = testing::addCategory(l, "大きな品目");
    l.inTransaction([&] {
        for (std::int64_t i = 0; i < kBigCategoryEntries; ++i)
            testing::addEntry(l, "2009/01/01", big, "bench", Amount::fromYen(i));
    });
    const auto beforeDelete = fs::file_size(ledgerPath);
    const double deleteMs = timeMs([&] { writes::deleteCategory(l, big); });
    const auto deleteGrowth = double(fs::file_size(ledgerPath)) - double(beforeDelete);
    std::vector<double> bigUndos, bigRedos;
    for (int i = 0; i < 3; ++i) {
        bigUndos.push_back(timeMs([&] { history::undo(l); }));
        bigRedos.push_back(timeMs([&] { history::redo(l); }));
    }

    std::printf("%9lld entries (%6.1f MB)\n", static_cast<long long>(entries), double(sizeBefore) / 1e6);
    std::printf(
        "  single-entry change: %6.3f ms with its step, %6.3f ms without: +%6.3f ms   (floor +1 ms: %s)\n",
        median(recorded), median(plain), median(recorded) - median(plain),
        verdict(median(recorded) - median(plain), 1.0));
    std::printf("  undo of it with the rebuild %6.2f ms, redo %6.2f ms   (floor 16 ms: %s)\n", median(undos),
                median(redos), verdict(std::max(median(undos), median(redos)), 16.0));
    std::printf("    processor time of the program in them: undo %6.2f ms, redo %6.2f ms\n", median(cpuUndos),
                median(cpuRedos));
    std::printf("    of which: undo in the store %6.2f ms, redo %6.2f ms; the window's rebuild %6.2f ms\n",
                median(storeUndos), median(storeRedos), median(rebuilds));
    std::printf("  category delete of %lld entries: %7.1f ms; undo %7.1f ms, redo %7.1f ms   (floor undo "
                "1000 ms: %s)\n",
                static_cast<long long>(kBigCategoryEntries), deleteMs, median(bigUndos), median(bigRedos),
                verdict(median(bigUndos), 1000.0));
    std::printf(
        "  file growth: %6.1f bytes per single-entry step (its two row images: %lld bytes of values); "
        "%+.0f bytes for the category delete\n",
        perStepBytes, static_cast<long long>(2 * rowBytes), deleteGrowth);
    std::fflush(stdout);
    window.close();
}

} // namespace

int main(int argc, char** argv) {
    const auto args = bench::parseBenchArgs(argc, argv, {120000, 1200000}, SORAKADO_BENCH_DATA);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    fs::create_directories(args.data);
    for (auto n : args.sizes)
        benchSize(args.data, n);
    return 0;
}
