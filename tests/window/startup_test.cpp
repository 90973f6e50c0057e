// From the splash window to the main window showing the current month; a ledger that cannot be
// opened; closing the window; one running copy per installation.

#include "window_support.h"

#include "shell/single_instance.h"
#include "shell/startup.h"
#include "shell/top_frm.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace sorakado::testing {
namespace {

const QString kActionsHint = QStringLiteral("■下のﾘｽﾄ内を右ｸﾘｯｸでﾒﾆｭｰ表示\r\n■明細をｸﾘｯｸし右ｸﾘｯｸで編集");
const QString kCategoriesFirstHint = QStringLiteral("■明細を入力する前に品目を\r\n　を追加して下さい");

QStringList itemsOf(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

struct Today {
    QDate date;
    const char* year;
    const char* month;
};

class StartupOnDate : public ::testing::TestWithParam<Today> {};

TEST_P(StartupOnDate, SelectorsShowTheCurrentMonthAndTheEmptyLedgerAsksForAMember) {
    WindowFixture f(GetParam().date);
    // The splash is gone before the first rebuild asks for a member.
    f.dialogs.expect(MessageKind::Warn, kRegisterAMember, true, [&] { EXPECT_EQ(f.splashUnloads, 1); });
    f.window = std::make_unique<Form1>(f.dialogs, f.clock, f.file.path());
    ASSERT_TRUE(f.window->load([&] { ++f.splashUnloads; }));
    Form1& w = f.w();

    QStringList years;
    for (int y = 2000; y <= GetParam().date.year(); ++y)
        years << QString::number(y);
    EXPECT_EQ(itemsOf(w.Combo1), years);
    EXPECT_EQ(w.Combo1->currentText().toStdString(), GetParam().year);
    EXPECT_EQ(w.Combo2->currentText().toStdString(), GetParam().month);
    EXPECT_EQ(w.Combo2->count(), 12) << "start-up adds nothing to the month items";

    ASSERT_EQ(w.Frame4->Combo3->count(), 1);
    EXPECT_EQ(w.Frame4->Combo3->itemText(0).toStdString(), "追加==>");
    EXPECT_EQ(w.Frame4->Combo3->itemData(0).toLongLong(), 0);

    EXPECT_EQ(w.Label17->text().toStdString(), kActionsHint.toStdString());
    EXPECT_EQ(w.Label18->text().toStdString(), kCategoriesFirstHint.toStdString());
    EXPECT_EQ(w.ListView1->rowCount(), 0);
    EXPECT_EQ(w.ListView2->rowCount(), 0);
    EXPECT_TRUE(w.inBrowseMode());
    EXPECT_EQ(f.splashUnloads, 1);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Dates, StartupOnDate,
                         ::testing::Values(Today{QDate(2026, 1, 1), "2026", "01"},
                                           Today{QDate(2026, 12, 31), "2026", "12"},
                                           Today{QDate(2000, 4, 5), "2000", "04"}));
// clang-format on

TEST(Startup, WithAMemberTheFirstRebuildFillsTheListsWithoutAMessage) {
    WindowFixture f;
    seedFamily(f.file);
    f.load();
    ASSERT_TRUE(f.loaded);
    Form1& w = f.w();
    EXPECT_TRUE(f.dialogs.shown().empty());
    EXPECT_EQ(w.Label1->text().toStdString(), "2026年1月の収入表示");
    ASSERT_GT(w.ListView1->rowCount(), 0);
    EXPECT_EQ(w.ListView1->rowCells(0).join(u'|').toStdString(), "太郎|\\300000");
    ASSERT_GT(w.ListView2->rowCount(), 0);
    EXPECT_EQ(w.ListView2->rowCells(0).join(u'|').toStdString(), "2026/01/10(土)|食費|米|\\2000");
    EXPECT_GT(w.ListView3->rowCount(), 0);
    // The amount column is right-aligned in the rows as in the heading.
    EXPECT_EQ(Qt::Alignment(w.ListView1->model()->index(0, 1).data(Qt::TextAlignmentRole).toInt()) &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignRight);

    QStringList picker;
    for (int i = 0; i < w.Frame4->Combo3->count(); ++i)
        picker << w.Frame4->Combo3->itemText(i) +
                      (w.Frame4->Combo3->itemData(i).toLongLong() == 0 ? "=0" : "");
    EXPECT_EQ(picker.join(u',').toStdString(), "追加==>=0,光熱費,食費");
    EXPECT_EQ(w.Label20->text().toStdString(), "\\300000");
    EXPECT_EQ(w.Label22->text().toStdString(), "\\2000");
    EXPECT_TRUE(w.inBrowseMode());

    // The two-line hints still fit inside their headings.
    for (auto [hint, heading] :
         {std::pair{w.Label16, w.Label1}, {w.Label17, w.Label5}, {w.Label18, w.Label5}}) {
        SCOPED_TRACE(hint->objectName().toStdString());
        EXPECT_TRUE(heading->geometry().contains(hint->geometry()))
            << hint->geometry().bottom() << " below " << heading->geometry().bottom();
    }
}

TEST(Startup, MissingLedgerIsReportedWithItsPathAndLeavesTheWindowAsLaidOut) {
    WindowFixture f;
    const auto missing = f.file.folder() / "elsewhere" / Ledger::kFileName;
    f.dialogs.expectContaining(MessageKind::Error, QString::fromStdString(missing.string()));
    Form1 w(f.dialogs, f.clock, missing);
    int unloads = 0;
    EXPECT_FALSE(w.load([&] { ++unloads; }));
    EXPECT_EQ(unloads, 0) << "the steps after the failing one do not run";
    EXPECT_EQ(w.ledger(), nullptr);
    EXPECT_EQ(w.Combo1->count(), 0);
    EXPECT_EQ(w.Combo1->currentText(), QString());
    EXPECT_EQ(w.Combo2->currentText(), QString());
    EXPECT_EQ(w.Frame4->Combo3->count(), 0);
    EXPECT_EQ(w.Label17->text().toStdString(), "■下のﾘｽﾄ内を右ｸﾘｯｸでﾒﾆｭｰ表示");
    EXPECT_EQ(w.Label18->text().toStdString(), "■明細を入力する前に品目を");
    EXPECT_EQ(w.Label1->text().toStdString(), "収入表示");
    EXPECT_TRUE(w.inBrowseMode());
    f.dialogs.verifyAllShown();

    // The bare window keeps running: a refresh is refused or reported, never fatal.
    w.Command11_Click();
    w.Combo1->setEditText(QStringLiteral("2026"));
    w.Combo2->setEditText(QStringLiteral("01"));
    f.dialogs.expect(MessageKind::Error, QStringLiteral("台帳ファイルが開かれていません。"));
    w.Command1_Click();
    EXPECT_EQ(w.ListView1->rowCount(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(Startup, ClosingTheWindowReleasesTheLedger) {
    WindowFixture f;
    seedFamily(f.file);
    f.load();
    ASSERT_NE(f.w().ledger(), nullptr);
    f.w().show();
    EXPECT_TRUE(f.w().close());
    EXPECT_EQ(f.w().ledger(), nullptr);
}

TEST(Splash, IsABlackFixedWindowWithACutOffPictureAndATwoSecondTimer) {
    shell::TopForm splash;
    EXPECT_EQ(splash.objectName(), QStringLiteral("top_frm"));
    EXPECT_EQ(splash.size(), QSize(316, 101));
    EXPECT_EQ(splash.minimumSize(), splash.maximumSize());
    EXPECT_EQ(splash.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_TRUE(splash.autoFillBackground());
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(splash.windowTitle().isEmpty());
    EXPECT_EQ(splash.Image1->geometry(), QRect(0, 0, 336, 110));
    EXPECT_FALSE(splash.Image1->pixmap().isNull());
    EXPECT_EQ(splash.Timer1->interval(), 2000);
    EXPECT_FALSE(splash.Timer1->isActive()) << "enabled when the splash is shown";
}

TEST(Splash, TimerTickLoadsAndShowsTheMainWindowAndUnloadsTheSplash) {
    WindowFixture f(QDate(2026, 3, 1));
    seedFamily(f.file);
    shell::Startup startup(f.dialogs, f.clock, f.file.path());
    startup.showSplash();
    QPointer<shell::TopForm> splash = startup.splash();
    ASSERT_TRUE(splash);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_TRUE(splash->Timer1->isActive());
    EXPECT_EQ(splash->Timer1->interval(), 2000);
    EXPECT_EQ(startup.mainWindow(), nullptr) << "nothing is loaded before the first tick";

    startup.timerTick();
    Form1* w = startup.mainWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->Combo2->currentText(), QStringLiteral("03"));
    EXPECT_TRUE(w->inBrowseMode());
    ASSERT_TRUE(splash);
    EXPECT_FALSE(splash->isVisible());
    EXPECT_FALSE(splash->Timer1->isActive());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(splash) << "the splash is unloaded for good";

    // The main window comes up with the focus on the first control of the tab order.
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    EXPECT_TRUE(focusIn(w->Command11)) << focusName().toStdString();
}

TEST(Splash, FailedLoadClosesTheSplashAndLeavesTheBareWindow) {
    WindowFixture f;
    const auto missing = f.file.folder() / "missing" / Ledger::kFileName;
    f.dialogs.expectContaining(MessageKind::Error, QString::fromStdString(missing.string()));
    shell::Startup startup(f.dialogs, f.clock, missing);
    startup.showSplash();
    QPointer<shell::TopForm> splash = startup.splash();
    startup.timerTick();
    ASSERT_NE(startup.mainWindow(), nullptr);
    EXPECT_TRUE(startup.mainWindow()->isVisible());
    EXPECT_EQ(startup.mainWindow()->Combo1->count(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(splash) << "no retry every two seconds";
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        program = dir.filePath(QStringLiteral("sorakado"));
        QFile file(program);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QTemporaryDir dir;
    QString program;
};

TEST_F(SingleInstanceTest, SecondCopyIsRefusedWhileTheFirstRuns) {
    auto first = std::make_unique<shell::SingleInstance>(program);
    ASSERT_TRUE(first->acquire());
    shell::SingleInstance second(program);
    EXPECT_FALSE(second.acquire());

    // A link to the same program is the same installation.
    const QString link = dir.filePath(QStringLiteral("link-to-sorakado"));
    ASSERT_TRUE(QFile::link(program, link));
    shell::SingleInstance viaLink(link);
    EXPECT_FALSE(viaLink.acquire());

    first.reset();
    shell::SingleInstance third(program);
    EXPECT_TRUE(third.acquire()) << "the lock goes with the first copy";
}

TEST_F(SingleInstanceTest, AnotherProgramFileInTheSameFolderSharesItsLedgerAndIsRefused) {
    shell::SingleInstance first(program);
    ASSERT_TRUE(first.acquire());
    const QString other = dir.filePath(QStringLiteral("other-sorakado"));
    QFile file(other);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    shell::SingleInstance second(other);
    EXPECT_FALSE(second.acquire());
}

TEST_F(SingleInstanceTest, AnotherInstallationInItsOwnFolderRunsBesideIt) {
    shell::SingleInstance first(program);
    ASSERT_TRUE(first.acquire());
    QTemporaryDir otherDir;
    const QString other = otherDir.filePath(QStringLiteral("sorakado"));
    QFile file(other);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    shell::SingleInstance second(other);
    EXPECT_TRUE(second.acquire());
}

// A second program folder whose ledger is a link to the first folder's opens the same file: it
// is refused at start, with a message that names where the ledger really is.
TEST_F(SingleInstanceTest, ASecondFolderLinkedToTheSameLedgerIsRefusedAndToldWhere) {
    QFile ledger(dir.filePath(QStringLiteral("Sorakado.mdb")));
    ASSERT_TRUE(ledger.open(QIODevice::WriteOnly));
    ledger.close();
    QTemporaryDir otherDir;
    const QString other = otherDir.filePath(QStringLiteral("sorakado"));
    QFile otherProgram(other);
    ASSERT_TRUE(otherProgram.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(ledger.fileName(), otherDir.filePath(QStringLiteral("Sorakado.mdb"))));

    auto first = std::make_unique<shell::SingleInstance>(program);
    ASSERT_TRUE(first->acquire());
    shell::SingleInstance second(other);
    EXPECT_FALSE(second.acquire());
    EXPECT_EQ(second.refusalText(), shell::kLedgerOpenElsewhere.arg(QDir(dir.path()).canonicalPath()));
    EXPECT_EQ(first->refusalText(), shell::kAlreadyRunning) << "nothing refused the first";

    first.reset();
    ASSERT_TRUE(second.acquire()) << "once the first is gone";
    shell::SingleInstance third(program);
    EXPECT_FALSE(third.acquire()) << "the first folder while the linked one runs";
    EXPECT_EQ(third.refusalText(), shell::kAlreadyRunning);
}

TEST_F(SingleInstanceTest, ADifferentOrMissingTemporaryFolderDoesNotLetASecondCopyIn) {
    const QByteArray oldTmp = qgetenv("TMPDIR");
    QTemporaryDir tmpA, tmpB;
    qputenv("TMPDIR", tmpA.path().toUtf8());
    shell::SingleInstance first(program);
    ASSERT_TRUE(first.acquire());
    qputenv("TMPDIR", tmpB.path().toUtf8());
    shell::SingleInstance second(program);
    EXPECT_FALSE(second.acquire());
    qputenv("TMPDIR", QByteArrayLiteral("/nonexistent/sorakado-tmp"));
    shell::SingleInstance third(program);
    EXPECT_FALSE(third.acquire());
    EXPECT_TRUE(QDir(tmpB.path()).isEmpty());
    oldTmp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", oldTmp);
}

} // namespace
} // namespace sorakado::testing
