// The ledger's copy made when the window opens it: named for the window's clock, holding the
// ledger as it was before the session's first change, and a failure shown once without stopping
// the work.

#include "editing_support.h"

#include "shell/startup.h"
#include "shell/startup_backup.h"

#include <fstream>

namespace sorakado::testing {
namespace {

namespace fs = std::filesystem;

// Registers a member through the name panel, as the user does, right after the window opened.
void addMemberThroughThePanel(Form1& w, const QString& name) {
    rightClickBelowRows(w.ListView1);
    choose(w.SyuMenu, w.NameAdd);
    w.Frame3->Text2->setText(name);
    QTest::mouseClick(w.Frame3->Command4, Qt::LeftButton);
}

TEST(StartupBackup, TheCopyIsNamedForTheClockAndHoldsTheLedgerAsItWasBeforeTheFirstChange) {
    WindowFixture f;
    f.clock = FixedClock(QDateTime(QDate(2026, 1, 15), QTime(8, 30, 5)));
    seedFamily(f.file);
    // Loaded by hand: the fixture's load would wait for the copy itself.
    f.window = std::make_unique<Form1>(f.dialogs, f.clock, f.file.path());
    ASSERT_TRUE(f.window->load([] {}));
    ASSERT_TRUE(showActive(f.w()));
    addMemberThroughThePanel(f.w(), QStringLiteral("花子"));
    EXPECT_EQ(f.file.open().members().size(), 2u) << "the change is written before the copy is checked";

    // The change waited only for the ledger's pages; the copy's check and name follow.
    f.w().waitForBackup();
    const auto copy = f.file.folder() / "backups" / "Sorakado-20260115-083005.mdb";
    ASSERT_TRUE(fs::exists(copy));
    EXPECT_EQ(fs::status(copy).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Ledger::open(copy).members().size(), 1u);
    EXPECT_EQ(f.file.open().members().size(), 2u);
    EXPECT_TRUE(f.dialogs.shown().empty());
}

TEST(StartupBackup, AFailedCopyIsShownOnceAndTheChangeIsStillWritten) {
    WindowFixture f;
    seedFamily(f.file);
    std::ofstream(f.file.folder() / "backups") << "a file where the backup folder belongs";
    f.dialogs.expectContaining(MessageKind::Warn, shell::kBackupFailed);
    f.load();
    ASSERT_TRUE(f.loaded);
    ASSERT_TRUE(showActive(f.w()));
    addMemberThroughThePanel(f.w(), QStringLiteral("花子"));
    EXPECT_EQ(f.file.open().members().size(), 2u);

    QTRY_VERIFY(f.dialogs.allShown());
    addMemberThroughThePanel(f.w(), QStringLiteral("次郎"));
    QApplication::processEvents();
    EXPECT_EQ(f.dialogs.shown().size(), 1u) << "shown once";
    EXPECT_EQ(f.file.open().members().size(), 3u);
}

// Once the ledger's pages are in the copy, the ledger may change: the copy, checked and named
// afterwards, still holds it as it was. A window closed meanwhile finishes the copy rather than
// stopping it, as it is the only one of the ledger before the change.
TEST(StartupBackup, AChangeAfterThePagesAreInNeverReachesTheCopyWhichIsFinishedEvenOnClose) {
    TempLedger file;
    seedFamily(file);
    const auto before = file.open().members().size();
    {
        shell::StartupBackup copy(file.path(), std::chrono::system_clock::now());
        QStringList failures;
        QObject::connect(&copy, &shell::StartupBackup::failed,
                         [&](const QString& text) { failures << text; });
        copy.start();
        copy.waitForPages();
        auto ledger = file.open();
        writes::addMember(ledger, "花子");
        QApplication::processEvents();
        EXPECT_TRUE(failures.isEmpty()) << failures.join(u'\n').toStdString();
    } // closed at once, very likely while the copy is still being checked

    std::vector<fs::path> copies;
    for (const auto& item : fs::directory_iterator(file.folder() / "backups"))
        copies.push_back(item.path());
    ASSERT_EQ(copies.size(), 1u) << "one finished copy, no temporary left";
    EXPECT_EQ(copies.front().filename().string().front(), 'S') << copies.front();
    EXPECT_EQ(Ledger::open(copies.front()).members().size(), before);
    EXPECT_EQ(file.open().members().size(), before + 1);
}

// A copy that fails at once, before the window's event loop ever ran, still reaches whoever
// listens: the copy does not begin until start(), so the listener is connected by then however
// fast the failure comes (here it has certainly come before anything could be delivered).
TEST(StartupBackup, AFailureAtOnceReachesTheListenerConnectedBeforeStart) {
    TempLedger file;
    std::ofstream(file.folder() / "backups") << "a file where the backup folder belongs";
    shell::StartupBackup copy(file.path(), std::chrono::system_clock::now());
    copy.wait(); // nothing is running yet: a copy begun by the constructor would be over here
    QStringList failures;
    QObject::connect(&copy, &shell::StartupBackup::failed, [&](const QString& text) { failures << text; });
    copy.start();
    copy.wait();
    QTRY_COMPARE(failures.size(), 1);
    EXPECT_TRUE(failures.front().startsWith(shell::kBackupFailed)) << failures.front().toStdString();
    EXPECT_TRUE(fs::is_regular_file(file.folder() / "backups"))
        << "the file in the folder's place is left alone";
}

// The start-up begins the copy as soon as the ledger is open, behind the splash: the copy is made
// before the splash's tick ever loads the window.
TEST(StartupBackup, TheCopyIsMadeBehindTheSplashBeforeTheWindowLoads) {
    WindowFixture f(QDate(2026, 3, 1));
    seedFamily(f.file);
    shell::Startup startup(f.dialogs, f.clock, f.file.path());
    startup.showSplash();
    startup.splash()->Timer1->stop(); // the tick comes when the test says
    const auto backups = f.file.folder() / "backups";
    QTRY_VERIFY_WITH_TIMEOUT(fs::is_directory(backups) && !fs::is_empty(backups) &&
                                 fs::directory_iterator(backups)->path().filename().string().front() == 'S',
                             20000);
    EXPECT_EQ(startup.mainWindow(), nullptr);
    startup.timerTick();
    ASSERT_NE(startup.mainWindow(), nullptr);
    startup.mainWindow()->waitForBackup();
    QApplication::processEvents();
    EXPECT_TRUE(f.dialogs.shown().empty());
}

// A copy that failed before the window listened, as one begun behind the splash may, is shown
// once by the window that takes it.
TEST(StartupBackup, AFailureBeforeTheWindowListenedIsShownOnceByTheWindowThatTakesIt) {
    WindowFixture f;
    seedFamily(f.file);
    std::ofstream(f.file.folder() / "backups") << "a file where the backup folder belongs";
    auto copy = std::make_unique<shell::StartupBackup>(f.file.path(), std::chrono::system_clock::now());
    copy->start();
    copy->wait(); // failed, with nobody listening
    f.dialogs.expectContaining(MessageKind::Warn, shell::kBackupFailed);
    f.window = std::make_unique<Form1>(f.dialogs, f.clock, f.file.path());
    f.window->adoptBackup(std::move(copy));
    ASSERT_TRUE(f.window->load([] {}));
    ASSERT_TRUE(showActive(f.w()));
    QTRY_VERIFY(f.dialogs.allShown());
    addMemberThroughThePanel(f.w(), QStringLiteral("花子"));
    QApplication::processEvents();
    EXPECT_EQ(f.dialogs.shown().size(), 1u) << "shown once";
    EXPECT_EQ(f.file.open().members().size(), 2u);
}

} // namespace
} // namespace sorakado::testing
