// What the ledger tool finds after a crash, and what it is told of whatever stands in its way: a
// change killed half-way (a hot journal) is rolled back, a journal that holds nothing is removed,
// a journal planted as a link is refused, and every refusal names what is in the way.

#include "ledger_test_support.h"
#include "support/temp_ledger.h"
#include "support/tool_beside_ledger.h"

#include "platform/platform.h"
#include "store/ledger.h"
#include "store/ledger_error.h"
#include "store/ledger_writes.h"
#include "store/program_lock.h"
#include "store/testing/other_program.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>

namespace sorakado::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::SizeIs;

constexpr int kEntries = 3000;

// The ledger holds one category of many entries.
class ToolAfterCrash : public ToolBesideLedger {
protected:
    void SetUp() override {
        ToolBesideLedger::SetUp();
        auto l = Ledger::open(ledger());
        addMember(l, "太郎");
        l.inTransaction([&] {
            category_ = addCategory(l, "食費");
            for (int i = 0; i < kEntries; ++i)
                addEntry(l, "2026/11/" + std::to_string(10 + i % 20), category_, "買い物" + std::to_string(i),
                         yen(100 + i));
        });
    }
    std::int64_t entriesIn(const fs::path& file) { return OtherProgram(file).rowCount("DATA"); }

    // A process killed inside a large change, as a power cut or kill -9 ends it. Killed while
    // the change's pages are still being gathered, its journal holds nothing yet (the header is
    // written last, so all zeros); killed once pages have reached the file, the journal is hot
    // and must be played back.
    enum class Killed { BeforePagesReachTheFile, AfterPagesReachedTheFile };
    void killInsideALargeWrite(Killed when) {
        const auto child = platform::runInChildProcess([&] {
            if (when == Killed::AfterPagesReachedTheFile) {
                OtherProgram other(ledger());
                other.beginDeletingEntriesSpillingToTheFile();
                std::raise(SIGKILL);
            }
            auto l = Ledger::open(ledger());
            l.inTransaction([&] {
                writes::deleteCategory(l, category_);
                std::raise(SIGKILL);
            });
            return std::string();
        });
        ASSERT_TRUE(child.started);
        ASSERT_FALSE(child.finished);
        ASSERT_TRUE(fs::exists(journal())) << "the change left its journal";
        ASSERT_GT(fs::file_size(journal()), 0u);
        const bool hot = fileBytes(journal()).front() != '\0';
        ASSERT_EQ(hot, when == Killed::AfterPagesReachedTheFile);
    }

    std::int64_t category_ = 0;
};

void expectRefusal(const ToolResult& r, const std::string& fragment) {
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_THAT(r.err, HasSubstr(fragment));
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

// ---------------------------------------------------------------------------------------------
// a change killed half-way

TEST_F(ToolAfterCrash, EveryVerbRollsBackAChangeKilledHalfWayAndFindsEveryRow) {
    ASSERT_EQ(run({"backup", (folder() / "saved.mdb").string()}).status, 0);
    for (const auto when : {Killed::AfterPagesReachedTheFile, Killed::BeforePagesReachTheFile}) {
        const bool hot = when == Killed::AfterPagesReachedTheFile;
        const fs::path copy = folder() / (hot ? "copy-hot.mdb" : "copy-zeroed.mdb");
        const std::vector<std::vector<std::string>> verbs{
            {"check"},
            {"check", "--recount"},
            {"backup"},
            {"backup", copy.string()},
            {"export", (folder() / (hot ? "csv-hot" : "csv-zeroed")).string()},
            {"report", "2026", (folder() / (hot ? "hot.pdf" : "zeroed.pdf")).string()},
            {"restore", (folder() / "saved.mdb").string()},
        };
        for (const auto& verb : verbs) {
            SCOPED_TRACE(verb[0] + (verb.size() > 1 ? " " + verb[1] : std::string()) +
                         (hot ? ", hot journal" : ", zeroed journal"));
            killInsideALargeWrite(when);
            const ToolResult r = run(verb);
            EXPECT_EQ(r.status, 0) << r.out << r.err;
            EXPECT_THAT(r.err, Not(HasSubstr("readonly")));
            EXPECT_FALSE(fs::exists(journal()));
            EXPECT_EQ(entriesIn(ledger()), kEntries) << "the half-done deletion is undone";
        }
        EXPECT_EQ(entriesIn(copy), kEntries);
    }
    ASSERT_THAT(namesIn(backups()), SizeIs(4)) << "backup's copies and the ones restore kept";
    for (const auto& name : namesIn(backups()))
        EXPECT_EQ(entriesIn(backups() / name), kEntries) << name;
}

TEST_F(ToolAfterCrash, TheReadOnlyDoorSaysAHalfDoneChangeIsWaitingNotThatTheLedgerIsDamaged) {
    killInsideALargeWrite(Killed::AfterPagesReachedTheFile);
    try {
        Ledger::openReadOnly(ledger());
        ADD_FAILURE() << "opened past a hot journal";
    } catch (const LedgerError& e) {
        EXPECT_EQ(e.kind(), LedgerError::Kind::ReadOnly);
        EXPECT_THAT(e.description(),
                    AllOf(HasSubstr("途中で終わった変更の記録"), HasSubstr("壊れているのではありません"),
                          Not(HasSubstr("readonly"))));
    }
    // While the program holds the ledger, the tool leaves the journal to it and says the same.
    {
        const auto program = ProgramLock::tryTakeFor(ledger());
        ASSERT_TRUE(program);
        const ToolResult r = run({"export", (folder() / "csv").string()});
        expectRefusal(r, "途中で終わった変更の記録");
        EXPECT_TRUE(fs::exists(journal()));
    }
    EXPECT_EQ(run({"check"}).status, 0);
}

TEST_F(ToolAfterCrash, RestoreRefusedByAChangeUnderWayKeepsNoCopyOfTheLedger) {
    ASSERT_EQ(run({"backup", (folder() / "saved.mdb").string()}).status, 0);
    OtherProgram other(ledger());
    other.beginChange();
    other.addCategory("日用品"); // its journal is on the disk now
    ASSERT_TRUE(fs::exists(journal()));
    const ToolResult r = run({"restore", (folder() / "saved.mdb").string()});
    expectRefusal(r, "別のプログラムが書き込んでいる");
    EXPECT_FALSE(fs::exists(backups()) && !namesIn(backups()).empty()) << "no copy for a refused restore";
    other.rollback();
}

// ---------------------------------------------------------------------------------------------
// a journal planted as a link

TEST_F(ToolAfterCrash, AJournalThatIsALinkIsNeverFollowed) {
    const fs::path elsewhere = folder() / "elsewhere";
    fs::create_directory(elsewhere);
    const fs::path victim = elsewhere / "empty.txt", dangling = elsewhere / "made-by-the-link";
    writeFile(victim, "");
    for (const fs::path& target : {victim, dangling}) {
        SCOPED_TRACE(target.filename().string());
        fs::create_symlink(target, journal());
        try {
            Ledger::open(ledger());
            ADD_FAILURE() << "opened with a linked journal";
        } catch (const LedgerError& e) {
            EXPECT_THAT(e.description(), HasSubstr("リンクになっているため"));
        }
        for (const std::vector<std::string>& verb :
             {std::vector<std::string>{"check"}, {"check", "--recount"}, {"backup"}, {"history"}})
            expectRefusal(run(verb), "リンクになっているため");
        fs::remove(journal());
    }
    EXPECT_EQ(fileBytes(victim), "");
    EXPECT_FALSE(fs::exists(dangling));

    // Planted while the ledger is open: refused at the next change, which is not made.
    auto l = Ledger::open(ledger());
    fs::create_symlink(victim, journal());
    EXPECT_THROW(writes::addCategory(l, "日用品"), LedgerError);
    fs::remove(journal());
    EXPECT_EQ(fileBytes(victim), "");
    EXPECT_EQ(l.categories().size(), 1u);
    EXPECT_NO_THROW(writes::addCategory(l, "日用品"));
}

// ---------------------------------------------------------------------------------------------
// what stands in the way, said as it is

TEST_F(ToolAfterCrash, AFolderInTheLedgersPlaceIsCalledAFolder) {
    ASSERT_EQ(run({"backup", (folder() / "saved.mdb").string()}).status, 0);
    fs::rename(ledger(), folder() / "moved.mdb");
    fs::create_directory(ledger());
    for (const std::vector<std::string>& verb : {std::vector<std::string>{"check"},
                                                 {"check", "--recount"},
                                                 {"backup"},
                                                 {"restore", (folder() / "saved.mdb").string()}}) {
        SCOPED_TRACE(verb[0]);
        const ToolResult r = run(verb);
        expectRefusal(r, "フォルダー");
        EXPECT_THAT(r.err, AllOf(Not(HasSubstr("disk I/O")), Not(HasSubstr("Success"))));
    }
    EXPECT_TRUE(fs::is_directory(ledger()));
}

TEST_F(ToolAfterCrash, RestoreThatCannotKeepTheLedgerSaysWhereTheCopyCouldNotGo) {
    ASSERT_EQ(run({"backup", (folder() / "saved.mdb").string()}).status, 0);
    writeFile(backups(), "not a folder");
    const auto before = fileBytes(ledger());
    const ToolResult r = run({"restore", (folder() / "saved.mdb").string()});
    expectRefusal(r, "今の台帳をバックアップとして残せないため、復元しません。");
    EXPECT_THAT(r.err, AllOf(HasSubstr("フォルダーではない"), Not(HasSubstr("Success"))));
    EXPECT_EQ(fileBytes(ledger()), before);
}

TEST_F(ToolAfterCrash, AToolIsToldWhetherTheProgramAnotherCommandOrABrokenLockStandsInTheWay) {
    ASSERT_EQ(run({"backup", (folder() / "saved.mdb").string()}).status, 0);
    const std::vector<std::string> restore{"restore", (folder() / "saved.mdb").string()};
    {
        const auto other = ProgramLock::tryTakeFor(ledger(), nullptr, "sorakado-ledger restore");
        ASSERT_TRUE(other);
        const ToolResult r = run(restore);
        expectRefusal(r, "別のコマンド（sorakado-ledger restore）がこの台帳で作業中");
        EXPECT_THAT(r.err, Not(HasSubstr("Sorakado がこの台帳を開いている")));
        expectRefusal(run({"check", "--recount"}), "別のコマンド（sorakado-ledger restore）");
    }
    {
        const auto program = ProgramLock::tryTakeFor(ledger());
        ASSERT_TRUE(program);
        expectRefusal(run(restore), "Sorakado がこの台帳を開いているため");
    }
    const fs::path lock = ProgramLock::lockPathIn(folder());
    fs::remove(lock);
    fs::create_symlink(folder() / "elsewhere.lock", lock);
    const ToolResult r = run(restore);
    expectRefusal(r, "リンクになっています");
    EXPECT_THAT(r.err,
                AllOf(HasSubstr(".sorakado.lock"), Not(HasSubstr("Sorakado がこの台帳を開いているため"))));
    EXPECT_FALSE(fs::exists(folder() / "elsewhere.lock"));
}

TEST_F(ToolAfterCrash, RecountThatCannotWriteItsJournalFailsWithStatusOne) {
    fs::create_directory(journal()); // no journal can be made, so no change can be
    const ToolResult r = run({"check", "--recount"});
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_THAT(r.out, Not(HasSubstr("数え直しました")));
}

// ---------------------------------------------------------------------------------------------
// --ledger

TEST_F(ToolAfterCrash, EveryVerbTakesTheLedgerFromLedgerOption) {
    const fs::path other = folder() / "other" / "家計.mdb";
    fs::create_directory(other.parent_path());
    ASSERT_EQ(run({"create", "--ledger", other.string()}).status, 0);
    EXPECT_TRUE(fs::exists(other));
    ToolResult r = run({"backup", "--ledger=" + other.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(namesIn(other.parent_path() / "backups"), SizeIs(1));
    EXPECT_FALSE(fs::exists(backups()));
    ASSERT_EQ(run({"backup", "--ledger", other.string(), (folder() / "other-copy.mdb").string()}).status, 0);
    EXPECT_EQ(entriesIn(folder() / "other-copy.mdb"), 0);
    EXPECT_EQ(run({"check", "--ledger", other.string()}).status, 0);
    EXPECT_EQ(run({"check", "--recount", "--ledger", other.string()}).status, 0);
    EXPECT_EQ(run({"history", "--ledger", other.string()}).status, 0);
    r = run({"restore", (folder() / "other-copy.mdb").string(), "--ledger", ledger().string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(entriesIn(ledger()), 0) << "the copy of the other ledger is in this one's place";

    // One ledger, named once.
    EXPECT_EQ(run({"check", "--ledger", other.string(), ledger().string()}).status, 2);
    EXPECT_EQ(run({"backup", "--ledger"}).status, 2);
    EXPECT_EQ(run({"backup", "--ledger", other.string(), "--ledger", other.string()}).status, 2);
}

} // namespace
} // namespace sorakado::testing
