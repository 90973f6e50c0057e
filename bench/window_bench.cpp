// The window's side of a rebuild, the main window's load and the program's memory, on the
// generated ledgers (offscreen). Prints medians of repeated runs, each beside the floor of its
// ledger: the least a rebuild must read (the month's entries and one stored figure per month),
// measured here on the same file.
//
//   sorakado_window_bench [--sizes=12000,120000] [--data=DIR]

#include "big_ledger.h"
#include "timing.h"

#include "monthly/month_figures.h"
#include "shell/clock.h"
#include "shell/form1.h"
#include "shell/startup.h"
#include "store/ledger.h"
#include "store/testing/reference_reads.h"
#include "ui/dialog_service.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

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
using sorakado::testing::readFloor;
using Clock = std::chrono::steady_clock;

// Messages during a benchmark mean something went wrong; say so and carry on.
class CountingDialogs final : public ui::DialogService {
public:
    void warn(const QString& t) override { report("warn", t); }
    void error(const QString& t) override { report("error", t); }
    bool ask(const QString& t) override {
        report("ask", t);
        return true;
    }

private:
    static void report(const char* kind, const QString& t) {
        std::fprintf(stderr, "unexpected %s: %s\n", kind, t.toUtf8().constData());
    }
};

// A folder holding the program beside a copy of the ledger, as it is installed.
std::filesystem::path ledgerFolder(const QTemporaryDir& dir, const std::filesystem::path& ledger) {
    std::filesystem::path folder = dir.path().toStdString();
    std::filesystem::copy_file(ledger, folder / Ledger::kFileName);
    return folder;
}

// A figure of /proc/PID/status in kB: VmRSS (resident now) or VmHWM (the most it has been).
long statusKb(qint64 pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::stol(line.substr(field.size() + 1));
    return -1;
}

// The copy made at start-up has landed once backups/ holds a file of the ledger's name pattern.
bool copyLanded(const std::filesystem::path& folder) {
    std::error_code ec;
    for (const auto& file : std::filesystem::directory_iterator(folder / "backups", ec))
        if (file.path().extension() == ".mdb" && file.path().filename().string().rfind("Sorakado-", 0) == 0)
            return true;
    return false;
}

void benchSize(const std::filesystem::path& dataDir, std::int64_t entries) {
    const auto ledger = bench::bigLedger(dataDir, entries);
    QTemporaryDir dir;
    const auto folder = ledgerFolder(dir, ledger);
    CountingDialogs dialogs;
    shell::FixedClock today(QDate(2010, 6, 15)); // a month in the middle of the generated span

    // Load: the splash timer's tick until the main window is shown, after the splash's two
    // seconds (the ledger opens meanwhile).
    std::vector<double> loads;
    for (int i = 0; i < 7; ++i) {
        shell::Startup startup(dialogs, today, folder / Ledger::kFileName);
        startup.showSplash();
        startup.splash()->Timer1->stop(); // the tick below stands in for it
        QThread::msleep(2000);
        loads.push_back(timeMs([&] {
            startup.timerTick();
            QApplication::processEvents();
        }));
    }

    // Rebuild: the refresh button on a loaded window, reads and widgets together.
    shell::Form1 form(dialogs, today, folder / Ledger::kFileName);
    form.load([] {});
    form.show();
    QApplication::processEvents();
    std::vector<double> rebuilds;
    for (int i = 0; i < 21; ++i)
        rebuilds.push_back(timeMs([&] {
            form.Command1_Click();
            QApplication::processEvents();
        }));

    // The same, split: filling the widgets without painting, the reads and figures alone, the
    // window's construction and the ledger's opening.
    std::vector<double> fills, builds, floors, constructs, opens;
    for (int i = 0; i < 21; ++i)
        fills.push_back(timeMs([&] { form.Command1_Click(); }));
    {
        Ledger open = Ledger::open(folder / Ledger::kFileName);
        const QString year = QStringLiteral("2010"), month = QStringLiteral("06");
        for (int i = 0; i < 21; ++i) {
            builds.push_back(timeMs([&] { buildMonth(open, year, month); }));
            floors.push_back(timeMs([&] { readFloor(open, "2010/06", "2010"); }));
        }
    }
    for (int i = 0; i < 7; ++i) {
        constructs.push_back(timeMs([&] { shell::Form1 f(dialogs, today, folder / Ledger::kFileName); }));
        opens.push_back(timeMs([&] { Ledger::open(folder / Ledger::kFileName); }));
    }

    const double floor = median(floors);
    auto line = [floor](const char* what, double ms) {
        std::printf("  %-44s %9.2f %9.3f %9.1f\n", what, ms, floor, ms / floor);
    };
    std::printf("%9lld entries (medians)                      ms  floor ms   x floor\n",
                static_cast<long long>(entries));
    line("window load (splash tick until shown)", median(loads));
    line("opening the ledger (during the splash)", median(opens));
    line("  constructing the window (in the load)", median(constructs));
    line("whole rebuild including the repaint", median(rebuilds));
    line("rebuild without painting", median(fills));
    line("buildMonth alone (reads and figures)", median(builds));
    line("floor: the month's entries, 24 stored figures", floor);
    std::fflush(stdout);
}

void benchMemory(const std::filesystem::path& dataDir, std::int64_t entries, const QString& program) {
    const auto ledger = bench::bigLedger(dataDir, entries);
    QTemporaryDir dir;
    const auto folder = ledgerFolder(dir, ledger);
    const QString copy = QString::fromStdString((folder / "sorakado").string());
    QFile::copy(program, copy);
    QProcess p;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(copy, {});
    p.waitForStarted();
    // The splash's two seconds, the load, then the copy of the ledger made beside it: what the
    // program holds from then on is what it holds for the rest of the session.
    Clock::time_point started = Clock::now();
    QThread::msleep(2500);
    while (!copyLanded(folder) && Clock::now() - started < std::chrono::seconds(60))
        QThread::msleep(50);
    QThread::msleep(500);
    std::printf("%9lld entries: resident memory after start-up %.1f MB (peak %.1f MB, while the copy ran)\n",
                static_cast<long long>(entries), statusKb(p.processId(), "VmRSS") / 1024.0,
                statusKb(p.processId(), "VmHWM") / 1024.0);
    p.kill();
    p.waitForFinished();
}

} // namespace

int main(int argc, char** argv) {
    const auto args = bench::parseBenchArgs(argc, argv, {12000, 120000}, SORAKADO_BENCH_DATA);
    const auto& sizes = args.sizes;
    const auto& dataDir = args.data;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    shell::initResources();
    std::filesystem::create_directories(dataDir);
    for (auto n : sizes)
        benchSize(dataDir, n);
    const QString program = QApplication::applicationDirPath() + QStringLiteral("/sorakado");
    for (auto n : sizes)
        benchMemory(dataDir, n, program);
    return 0;
}
