// What the ledger's backup costs: how much later the window appears when the copy starts as the
// ledger opens behind the splash, how long the session's first change (a member registered through its panel
// as the window shows) waits for the copy and then takes, how long the copy holds the ledger still and takes
// in all, and the ledger tool's check, on the generated ledgers (offscreen). Prints medians, the first
// change's wait beside its floor.
//
//   sorakado_backup_bench [--sizes=12000,120000,1200000] [--data=DIR]

#include "big_ledger.h"
#include "timing.h"

#include "editing/member_panel.h"
#include "shell/clock.h"
#include "shell/form1.h"
#include "shell/startup.h"
#include "store/ledger.h"
#include "store/ledger_backup.h"
#include "store/ledger_check.h"
#include "ui/dialog_service.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace sorakado;
using bench::median;
using bench::timeMs;
namespace fs = std::filesystem;
using Steady = std::chrono::steady_clock;

// A failed backup's message is expected where the bench makes the copy fail on purpose.
class QuietDialogs final : public ui::DialogService {
public:
    void warn(const QString&) override { ++messages; }
    void error(const QString& t) override {
        std::fprintf(stderr, "unexpected error: %s\n", t.toUtf8().constData());
    }
    bool ask(const QString&) override { return true; }
    int messages = 0;
};

// The first change may wait for the copy only this long after the window shows: one frame on
// the ledgers most families keep, a tenth of a second on a lifetime's.
double firstChangeFloorMs(std::int64_t entries) {
    return entries <= 120000 ? 16.0 : 100.0;
}

struct Session {
    double loadMs = 0;   // the splash timer's tick until the main window is shown
    double waitMs = 0;   // how long the first change, made as the window shows, waits for the copy
    double changeMs = 0; // the change itself, written and shown, once the wait is over
};

// A session as the family starts it: the splash for its two seconds (or none, the tick at once,
// as though opening the ledger took them all), the load, as window_bench measures it, then at
// once the first change, a member registered through the name panel.
Session session(QuietDialogs& dialogs, const shell::Clock& clock, const fs::path& ledger, int round,
                bool splashTime) {
    shell::Startup startup(dialogs, clock, ledger);
    startup.showSplash();
    startup.splash()->Timer1->stop(); // ticked by hand, so the tick alone is timed
    if (splashTime) {
        const auto until = Steady::now() + std::chrono::milliseconds(startup.splash()->Timer1->interval());
        while (Steady::now() < until)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    Session s;
    s.loadMs = timeMs([&] {
        startup.timerTick();
        QApplication::processEvents();
    });
    shell::Form1& w = *startup.mainWindow();
    const std::size_t members = w.ledger()->members().size();
    s.waitMs = timeMs([&] { w.waitForBackupPages(); });
    s.changeMs = timeMs([&] {
        w.NameAdd->trigger();
        w.Frame3->Text2->setText(QStringLiteral("計測%1").arg(round));
        w.Frame3->Command4->click();
    });
    if (w.ledger()->members().size() != members + 1)
        std::fprintf(stderr, "the first change was not written\n");
    return s;
    // Leaving scope closes the window; the copy, which a change waited for, is finished first.
}

void benchSize(const fs::path& dataDir, std::int64_t entries) {
    QTemporaryDir dir;
    const fs::path folder = dir.path().toStdString();
    const fs::path ledger = bench::bigLedgerCopy(dataDir, entries, folder);
    const fs::path backups = folder / backup::kFolderName;
    QuietDialogs dialogs;
    shell::FixedClock clock(QDate(2010, 6, 15));

    // With the copy: it starts once the ledger is open. Without: a file where the backups folder
    // belongs makes it fail at once, before it opens anything. Alternated, so all see the same
    // machine. A session closed after a change finishes its copy, check included: fewer rounds
    // on the largest.
    const int rounds = entries > 120000 ? 3 : 7;
    std::vector<double> loadWith, loadWithout, waits, waitsNoSplash, changeWith, changeWithout;
    int round = 0;
    for (int i = 0; i < rounds; ++i) {
        fs::remove_all(backups);
        const Session with = session(dialogs, clock, ledger, ++round, true);
        loadWith.push_back(with.loadMs);
        waits.push_back(with.waitMs);
        changeWith.push_back(with.changeMs);
        fs::remove_all(backups);
        waitsNoSplash.push_back(session(dialogs, clock, ledger, ++round, false).waitMs);
        fs::remove_all(backups);
        std::ofstream(backups) << "not a folder";
        const Session without = session(dialogs, clock, ledger, ++round, true);
        loadWithout.push_back(without.loadMs);
        changeWithout.push_back(without.changeMs);
        fs::remove(backups);
    }

    // The copy alone: the pages copied while the ledger is held still, then the copy's
    // integrity_check, fsync, rename and the rotation.
    std::vector<double> pages, copies;
    for (int i = 0; i < 3; ++i) {
        fs::remove_all(backups);
        const auto start = Steady::now();
        double pagesMs = 0;
        copies.push_back(timeMs([&] {
            backup::backUp(ledger, std::chrono::system_clock::now(), nullptr, [&] {
                pagesMs = std::chrono::duration<double, std::milli>(Steady::now() - start).count();
            });
        }));
        pages.push_back(pagesMs);
    }
    fs::remove_all(backups);

    std::vector<double> checks;
    for (int i = 0; i < 3; ++i)
        checks.push_back(timeMs([&] { (void)check::checkLedger(ledger); }));

    const double wait = median(waits), floor = firstChangeFloorMs(entries);
    std::printf(
        "%9lld entries (%6.1f MB): window load %8.2f ms with the copy, %8.2f ms without (+%.2f ms)\n"
        "                               the first change waits for the copy %8.2f ms   floor %6.1f ms  %s\n"
        "                               (%8.2f ms with no splash time, the tick at once)\n"
        "                               then takes %8.2f ms with the copy running, %8.2f ms without\n"
        "                               the copy holds the ledger %8.1f ms, the copy in all %8.1f ms; "
        "sorakado-ledger check %8.1f ms   (medians)\n",
        static_cast<long long>(entries), fs::file_size(ledger) / 1e6, median(loadWith), median(loadWithout),
        median(loadWith) - median(loadWithout), wait, floor, wait <= floor ? "within" : "OVER",
        median(waitsNoSplash), median(changeWith), median(changeWithout), median(pages), median(copies),
        median(checks));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    const auto args = bench::parseBenchArgs(argc, argv, {12000, 120000, 1200000}, SORAKADO_BENCH_DATA);
    const auto& sizes = args.sizes;
    const auto& dataDir = args.data;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    shell::initResources();
    fs::create_directories(dataDir);
    for (auto n : sizes)
        benchSize(dataDir, n);
    return 0;
}
