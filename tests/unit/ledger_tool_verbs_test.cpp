// backup, restore, check and import into an empty ledger, run as the user runs them, on real
// encrypted ledgers beside a copy of the tool: what each does, and each refusal leaving the
// ledger exactly as it was.

#include "ledger_test_support.h"
#include "support/temp_ledger.h"
#include "support/tool_beside_ledger.h"

#include "store/history.h"
#include "store/ledger.h"
#include "store/ledger_writes.h"
#include "store/program_lock.h"
#include "store/testing/month_sums_cases.h"
#include "store/testing/odd_rows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

namespace sorakado::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::SizeIs;
using ::testing::StartsWith;

// The ledger holds one member.
class ToolVerbs : public ToolBesideLedger {
protected:
    void SetUp() override {
        ToolBesideLedger::SetUp();
        auto l = Ledger::open(ledger());
        addMember(l, "太郎");
    }
    std::size_t membersIn(const fs::path& file) { return Ledger::open(file).members().size(); }
};

void expectRefusal(const ToolResult& r, const std::string& fragment) {
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_THAT(r.err, AllOf(StartsWith("sorakado-ledger: "), HasSubstr(fragment)));
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

// ---------------------------------------------------------------------------------------------
// backup

TEST_F(ToolVerbs, BackupGoesIntoTheBackupsFolderOrWhereverItIsToldButNeverOverAFile) {
    ToolResult r = run({"backup"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("バックアップを作りました"));
    ASSERT_THAT(namesIn(backups()), SizeIs(1));
    const auto copy = backups() / *namesIn(backups()).begin();
    EXPECT_EQ(fs::status(copy).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(membersIn(copy), 1u);

    fs::create_directory(folder() / "stick");
    r = run({"backup", (folder() / "stick").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(namesIn(folder() / "stick"), SizeIs(1));

    std::ofstream(folder() / "taken.mdb") << "mine";
    expectRefusal(run({"backup", (folder() / "taken.mdb").string()}), "すでにある");
    EXPECT_EQ(fileBytes(folder() / "taken.mdb"), "mine");
}

TEST_F(ToolVerbs, BackupOfAMissingLedgerSaysHowToMakeOne) {
    fs::remove(ledger());
    expectRefusal(run({"backup"}), "sorakado-ledger create");
    EXPECT_FALSE(fs::exists(backups()));
}

// ---------------------------------------------------------------------------------------------
// check

TEST_F(ToolVerbs, CheckOfASoundLedgerExitsZero) {
    ToolResult r = run({"check"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("台帳に問題はありません"));
    EXPECT_THAT(r.err, IsEmpty());
}

TEST_F(ToolVerbs, CheckListsEveryRowTheWindowNeverShowsAndExitsThree) {
    {
        auto l = Ledger::open(ledger());
        auto food = addCategory(l, "食費");
        addIncome(l, 1, "2026/01", yen(300000)); // shown
        addIncome(l, 1, "2006/4", yen(1000));    // one-digit month
        addIncome(l, 9, "2026/01", yen(2000));   // member gone
        addIncomeWithoutMember(l, "2026/01", yen(3000));
        addIncome(l, 1, "1899/12", yen(4000));            // before the window's first year
        addIncome(l, 1, "1999/12", yen(5000));            // shown: the window lists 1900 to 3000
        addIncome(l, 1, "3001/01", yen(6000));            // after its last
        addEntry(l, "2026/01/10", food, "米", yen(2000)); // shown
        addEntry(l, "2026/01/11", 7, "パン", yen(150));
        addEntry(l, "2026/13/01", food, "謎", yen(1));
        addEntryWithoutDate(l, food, yen(1));
    }
    ToolResult r = run({"check", ledger().string()});
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_THAT(r.out, AllOf(HasSubstr("表示されない行があります（8 行）"), HasSubstr("年月 2006/4"),
                             HasSubstr("名前ID 9, 年月 2026/01, 収入 2000: その名前はもうありません"),
                             HasSubstr("名前ID Null"), HasSubstr("年月 1899/12"), HasSubstr("年月 3001/01"),
                             HasSubstr("DATAID 2 (2026/01/11, 品目ID 7, 150): その品目はもうありません"),
                             HasSubstr("DATAID 3 (2026/13/01"), HasSubstr("DATAID 4 (Null")));
    EXPECT_THAT(r.out, Not(HasSubstr("300000")));
    EXPECT_THAT(r.out, Not(HasSubstr("1999/12")));
}

TEST_F(ToolVerbs, CheckCallsADamagedOrForeignFileDamagedAndExitsOne) {
    {
        auto l = Ledger::open(ledger());
        addIncome(l, 1, "2026/01", yen(300000));
    }
    breakAnIndex(ledger());
    ToolResult damaged = run({"check"});
    expectRefusal(damaged, "台帳が壊れています");
    EXPECT_THAT(damaged.out, HasSubstr("台帳の壊れているところ"));

    const auto other = folder() / "other.mdb";
    OtherProgram(other, "another password", true).createTables({{"t", {"x"}}});
    expectRefusal(run({"check", other.string()}), "パスワードが違うか");

    const auto shapeless = folder() / "shapeless.mdb";
    OtherProgram(shapeless, ledgerKey(), true).createTables({{"名前", {"名前ID", "名前"}}});
    expectRefusal(run({"check", shapeless.string()}), "収入");

    expectRefusal(run({"check", (folder() / "nothing.mdb").string()}), "sorakado-ledger create");
}

// A stored month figure that is not what its rows add up to would show a wrong year summary: the
// check names it, and --recount mends it.
TEST_F(ToolVerbs, CheckReportsMonthSumsThatDifferFromTheRowsAndRecountMendsThem) {
    {
        auto l = Ledger::open(ledger());
        auto food = addCategory(l, "食費");
        addEntry(l, "2026/01/10", food, "米", yen(2000));
        addEntry(l, "2026/01/11", food, "パン", yen(150));
        storeMonthFigure(l, "出費月計", "2026/01", 9999, 1);
        storeMonthFigure(l, "収入月計", "2026/02", 5, 1); // no income at all that month
    }
    ToolResult r = run({"check"});
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_THAT(r.out, AllOf(HasSubstr("行から数え直した値と違います（2 か月）"),
                             HasSubstr("出費月計 2026/01: 記録 9999 円（1 件）、数え直し 2150 円（2 件）"),
                             HasSubstr("収入月計 2026/02: 記録 5 円（1 件）、数え直し なし（0 件）"),
                             HasSubstr("check --recount")));

    r = run({"check", "--recount", ledger().string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("2 か月を直しました"));
    EXPECT_TRUE(Ledger::open(ledger()).monthSumDifferences().empty());
    EXPECT_THAT(run({"check"}).out, HasSubstr("台帳に問題はありません"));

    EXPECT_EQ(run({"check", "a.mdb", "b.mdb"}).status, 2);
    const auto program = ProgramLock::tryTakeFor(ledger());
    ASSERT_TRUE(program);
    expectRefusal(run({"check", "--recount"}), "Sorakado がこの台帳を開いているため");
}

// ---------------------------------------------------------------------------------------------
// restore

TEST_F(ToolVerbs, RestorePutsTheBackupBackAndKeepsTheLedgerItReplaced) {
    ASSERT_EQ(run({"backup", (folder() / "saved.mdb").string()}).status, 0);
    {
        auto l = Ledger::open(ledger());
        addMember(l, "花子");
    }
    ToolResult r = run({"restore", (folder() / "saved.mdb").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, AllOf(HasSubstr("を復元しました"), HasSubstr("バックアップとして残しました")));
    EXPECT_EQ(membersIn(ledger()), 1u);
    EXPECT_EQ(fs::status(ledger()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_THAT(namesIn(backups()), SizeIs(1));
    EXPECT_EQ(membersIn(backups() / *namesIn(backups()).begin()), 2u) << "the replaced ledger, kept";
    EXPECT_EQ(namesIn(folder()),
              (std::set<std::string>{"Sorakado.mdb", "backups", "saved.mdb", "sorakado-ledger"}));
}

TEST_F(ToolVerbs, RestoreOverADamagedLedgerKeepsItsBytes) {
    ASSERT_EQ(run({"backup", (folder() / "saved.mdb").string()}).status, 0);
    std::ofstream(ledger(), std::ios::trunc) << "garbage where the ledger was";
    ToolResult r = run({"restore", (folder() / "saved.mdb").string(), ledger().string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(membersIn(ledger()), 1u);
    ASSERT_THAT(namesIn(backups()), SizeIs(1));
    EXPECT_THAT(*namesIn(backups()).begin(), HasSubstr("-damaged.mdb"));
    EXPECT_EQ(fileBytes(backups() / *namesIn(backups()).begin()), "garbage where the ledger was");
}

TEST_F(ToolVerbs, RestoreRefusesWhateverCannotStandInForTheLedgerAndChangesNothing) {
    const auto damaged = folder() / "damaged.mdb";
    ASSERT_EQ(run({"backup", damaged.string()}).status, 0);
    {
        auto l = Ledger::open(damaged);
        addIncome(l, 1, "2026/01", yen(300000));
    }
    breakAnIndex(damaged);
    const auto otherPassword = folder() / "other-password.mdb";
    OtherProgram(otherPassword, "another password", true).createTables({{"名前", {"名前ID", "名前"}}});
    const auto foreign = folder() / "notes.txt";
    std::ofstream(foreign) << "買い物メモ";
    const auto shapeless = folder() / "shapeless.mdb";
    OtherProgram(shapeless, ledgerKey(), true).createTables({{"名前", {"名前ID", "名前"}}});

    const auto before = fileBytes(ledger());
    const auto files = namesIn(folder());
    for (const auto& [backupFile, fragment] :
         std::vector<std::pair<fs::path, std::string>>{{damaged, "壊れている"},
                                                       {otherPassword, "パスワードが違うか"},
                                                       {foreign, "パスワードが違うか"},
                                                       {shapeless, "収入"},
                                                       {folder() / "missing.mdb", "見つかりません"},
                                                       {folder(), "ファイルではありません"},
                                                       {ledger(), "同じファイル"}}) {
        SCOPED_TRACE(backupFile.filename().string());
        expectRefusal(run({"restore", backupFile.string()}), fragment);
        EXPECT_EQ(fileBytes(ledger()), before);
        EXPECT_EQ(namesIn(folder()), files) << "nothing left behind";
    }
}

TEST_F(ToolVerbs, RestoreAndImportRefuseWhileTheProgramHasTheLedgerOpen) {
    ASSERT_EQ(run({"backup", (folder() / "saved.mdb").string()}).status, 0);
    const auto before = fileBytes(ledger());
    {
        const auto program = ProgramLock::tryTakeFor(ledger());
        ASSERT_TRUE(program);
        EXPECT_TRUE(ProgramLock::heldFor(ledger())) << "as the tool sees it";
        expectRefusal(run({"restore", (folder() / "saved.mdb").string()}), "Sorakado がこの台帳を開いている");
        fs::remove(ledger());
        Ledger::create(ledger()); // an empty one, which import would otherwise replace
        const auto empty = fileBytes(ledger());
        expectRefusal(run({"import", SORAKADO_LEGACY_FIXTURES "/small-currency.mdb"}),
                      "Sorakado がこの台帳を開いている");
        EXPECT_EQ(fileBytes(ledger()), empty);
    }
    EXPECT_FALSE(ProgramLock::heldFor(ledger()));
}

// ---------------------------------------------------------------------------------------------
// import over the empty ledger scripts/run made

TEST_F(ToolVerbs, ImportReplacesAnEmptyLedgerButNeverOneWithRows) {
    const std::string old = SORAKADO_LEGACY_FIXTURES "/small-currency.mdb";
    const auto withRows = fileBytes(ledger());
    expectRefusal(run({"import", old}), "行の入った台帳");
    EXPECT_EQ(fileBytes(ledger()), withRows);

    fs::remove(ledger());
    Ledger::create(ledger());
    ToolResult r = run({"import", old});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, AllOf(HasSubstr("空の台帳"), HasSubstr("すべての行を取り込みました。")));
    EXPECT_EQ(membersIn(ledger()), 4u);
    EXPECT_EQ(namesIn(folder()), (std::set<std::string>{"Sorakado.mdb", "sorakado-ledger"}));

    expectRefusal(run({"import", old}), "行の入った台帳"); // now it has rows
}

// ---------------------------------------------------------------------------------------------
// history

TEST_F(ToolVerbs, HistoryListsTheStepsNewestFirstMarkingThoseUndone) {
    ToolResult r = run({"history"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "変更の履歴はありません。\n") << "seeded rows are no step";
    {
        auto l = Ledger::open(ledger());
        for (int i = 0; i < 22; ++i)
            writes::addCategory(l, "品目" + std::to_string(i));
        const auto food = writes::addCategory(l, "食費");
        writes::addEntry(l, {"2026/12/05", food, "昼", Amount::fromYen(1200)});
        writes::deleteCategory(l, food);
        history::undo(l);
    }
    r = run({"history"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> lines;
    for (std::size_t at = 0, next; (next = r.out.find('\n', at)) != std::string::npos; at = next + 1)
        lines.push_back(r.out.substr(at, next - at));
    ASSERT_EQ(lines.size(), 21u) << r.out;
    EXPECT_THAT(lines[0], AllOf(HasSubstr("  品目削除 (食費、明細1件)  2 行  取消済"), StartsWith("20")));
    EXPECT_THAT(lines[1], AllOf(HasSubstr("明細入力 (12/05 食費 \\1200)  1 行"), Not(HasSubstr("取消済"))));
    EXPECT_THAT(lines[20], HasSubstr("--all"));

    r = run({"history", "--all", ledger().string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 25);
    EXPECT_EQ(run({"history", "a", "b"}).status, 2);
    fs::remove(ledger());
    expectRefusal(run({"history"}), "sorakado-ledger create");
}

// ---------------------------------------------------------------------------------------------
// export and report from a backup copy marked read-only, in a folder nobody may write to

TEST_F(ToolVerbs, ExportAndReportReadACopyMarkedReadOnlyInAReadOnlyFolder) {
    {
        auto l = Ledger::open(ledger());
        addIncome(l, 1, "2006/04", yen(300000));
    }
    const fs::path shelf = folder() / "shelf", copy = shelf / "Sorakado-old.mdb", out = folder() / "out";
    fs::create_directory(shelf);
    fs::create_directory(out);
    ASSERT_EQ(run({"backup", copy.string()}).status, 0);
    fs::permissions(copy, fs::perms::owner_read);
    fs::permissions(shelf, fs::perms::owner_read | fs::perms::owner_exec);
    const auto before = fileBytes(copy);

    ToolResult exported = run({"export", "--ledger", copy.string(), "--year", "2006", out.string()});
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_THAT(fileBytes(out / "incomes-2006.csv"), HasSubstr("300000"));
    ToolResult report = run({"report", "--ledger", copy.string(), "2006", out.string()});
    EXPECT_EQ(report.status, 0) << report.err;
    EXPECT_TRUE(fs::exists(out / "sorakado-2006.pdf"));

    EXPECT_EQ(fileBytes(copy), before);
    std::size_t inShelf = 0;
    for ([[maybe_unused]] const auto& item : fs::directory_iterator(shelf))
        ++inShelf;
    EXPECT_EQ(inShelf, 1u) << "nothing made beside the copy";
    fs::permissions(shelf, fs::perms::owner_all);
}

} // namespace
} // namespace sorakado::testing
