// What the ledger's backup costs: how much later the window appears when the copy starts with
// the load, how long the copy itself takes (the longest the session's first change can wait),
// and the ledger tool's check, on the generated ledgers (offscreen). Prints medians.
//
//   sorakado_backup_bench [--sizes=12000,120000,1200000] [--data=DIR]

#include "big_ledger.h"

#include "shell/clock.h"
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

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

template <class Fn> double timeMs(Fn&& fn) {
    auto start = Steady::now();
    fn();
    return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

// The splash timer's tick until the main window is shown, as window_bench measures the load.
double loadMs(QuietDialogs& dialogs, const shell::Clock& clock, const fs::path& ledger) {
    shell::Startup startup(dialogs, clock, ledger);
    startup.showSplash();
    return timeMs([&] {
        startup.timerTick();
        QApplication::processEvents();
    });
    // Leaving scope closes the window, which stops a copy still running and removes it.
}

void benchSize(const fs::path& dataDir, std::int64_t entries) {
    const auto source = bench::bigLedger(dataDir, entries);
    QTemporaryDir dir;
    const fs::path folder = dir.path().toStdString();
    const fs::path ledger = folder / Ledger::kFileName;
    fs::copy_file(source, ledger);
    const fs::path backups = folder / backup::kFolderName;
    QuietDialogs dialogs;
    shell::FixedClock clock(QDate(2010, 6, 15));

    // With the copy: it starts with the load. Without: a file where the backups folder belongs
    // makes it fail at once, before it opens anything. Alternated, so both see the same machine.
    std::vector<double> with, without;
    for (int i = 0; i < 7; ++i) {
        fs::remove_all(backups);
        with.push_back(loadMs(dialogs, clock, ledger));
        fs::remove_all(backups);
        std::ofstream(backups) << "not a folder";
        without.push_back(loadMs(dialogs, clock, ledger));
        fs::remove(backups);
    }

    // The copy alone: online backup, integrity_check of the copy, fsync, rename, rotation.
    std::vector<double> copies;
    for (int i = 0; i < 3; ++i) {
        fs::remove_all(backups);
        copies.push_back(timeMs([&] { backup::backUp(ledger, std::chrono::system_clock::now()); }));
    }
    fs::remove_all(backups);

    std::vector<double> checks;
    for (int i = 0; i < 3; ++i)
        checks.push_back(timeMs([&] { (void)check::checkLedger(ledger); }));

    std::printf(
        "%9lld entries (%6.1f MB): window load %8.2f ms with the copy, %8.2f ms without (+%.2f ms)\n"
        "                               the copy alone %8.1f ms (the longest the first change waits); "
        "sorakado-ledger check %8.1f ms   (medians)\n",
        static_cast<long long>(entries), fs::file_size(ledger) / 1e6, median(with), median(without),
        median(with) - median(without), median(copies), median(checks));
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
