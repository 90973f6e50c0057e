// Every writer killed at several points of its work (in a child process, by the platform's kill
// seam) leaves hidden files behind; the next writer in the same folder removes them, or finishes
// the set of files the killed one had begun to rename, so nothing piles up, a set of files is
// never found half there, and the tool says what it tidied in one line.

#include "support/ledger_tool_run.h"
#include "support/temp_ledger.h"

#include "export/output_files.h"
#include "ledgertool/import_plan.h"
#include "ledgertool/legacy_import.h"
#include "platform/platform.h"
#include "store/ledger.h"
#include "store/ledger_backup.h"
#include "store/ledger_restore.h"
#include "store/testing/ledger_seed.h"
#include "store/testing/stored_rows.h"

#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <set>

namespace sorakado::testing {
namespace {

namespace fs = std::filesystem;
using platform::Step;
using ::testing::HasSubstr;

struct KillPoint {
    const char* name;
    Step step;
    int nth;
};

std::string pointName(const ::testing::TestParamInfo<KillPoint>& info) {
    return info.param.name;
}

// The hidden files of writers in folder (the locks, which stay by design, are not theirs).
std::set<std::string> hiddenIn(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        const std::string name = e.path().filename().string();
        const bool lock = name == ".sorakado.lock" || name.ends_with(".import.lock");
        if (name[0] == '.' && !lock)
            names.insert(name);
    }
    return names;
}

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs work in a child that is killed right after the point's step.
void killedAt(const KillPoint& point, const std::function<void()>& work) {
    const auto run = platform::runInChildProcess([&] {
        platform::killAfterForTesting(point.step, point.nth);
        work();
        return std::string("finished");
    });
    ASSERT_TRUE(run.started);
    ASSERT_FALSE(run.finished) << "the kill point was never reached";
}

std::size_t rowsOf(const fs::path& ledger) {
    Ledger l = Ledger::open(ledger);
    return storedColumn(l, "DATA", "DATAID").size();
}

void addEntries(const fs::path& ledger, int count) {
    Ledger l = Ledger::open(ledger);
    l.inTransaction([&] {
        const std::int64_t category = addCategory(l, "食費");
        for (int i = 0; i < count; ++i)
            addEntry(l, "2026/12/08", category, "買い物", Amount::fromYen(100 + i));
    });
}

// ---- backup (and the program's start-up copy, which is the same backUp) ----

class KilledBackup : public ::testing::TestWithParam<KillPoint> {};

TEST_P(KilledBackup, TheNextBackupRemovesWhatItLeft) {
    TempLedger ledger;
    addEntries(ledger.path(), 200);
    const auto now = std::chrono::system_clock::now();
    killedAt(GetParam(), [&] { backup::backUp(ledger.path(), now); });
    const fs::path folder = backup::folderFor(ledger.path());
    const auto left = hiddenIn(folder);
    ASSERT_FALSE(left.empty()) << "nothing to tidy at this point";

    const auto made = backup::backUp(ledger.path(), now + std::chrono::seconds(1));
    EXPECT_EQ(std::set<std::string>(made.tidied.removed.begin(), made.tidied.removed.end()), left);
    EXPECT_TRUE(hiddenIn(folder).empty());
    EXPECT_EQ(rowsOf(made.file), 200u);
}

INSTANTIATE_TEST_SUITE_P(Points, KilledBackup,
                         ::testing::Values(KillPoint{"CopyStarted", Step::TemporaryMade, 1},
                                           KillPoint{"CopyCheckedAndWritten", Step::FileWritten, 1}),
                         pointName);

// ---- restore ----

class KilledRestore : public ::testing::TestWithParam<KillPoint> {};

TEST_P(KilledRestore, LeavesTheLedgerAsItWasAndTheNextRestoreRemovesWhatItLeft) {
    TempLedger ledger;
    addEntries(ledger.path(), 30);
    const auto now = std::chrono::system_clock::now();
    const fs::path saved = backup::backUp(ledger.path(), now).file;
    addEntries(ledger.path(), 5);
    killedAt(GetParam(),
             [&] { restore::restoreLedger(saved, ledger.path(), now + std::chrono::seconds(1)); });
    const fs::path backups = backup::folderFor(ledger.path());
    const auto leftBeside = hiddenIn(ledger.folder()), leftInBackups = hiddenIn(backups);
    ASSERT_FALSE(leftBeside.empty() && leftInBackups.empty()) << "nothing to tidy at this point";
    EXPECT_EQ(rowsOf(ledger.path()), 35u) << "the ledger is untouched until its one rename";

    const auto restored = restore::restoreLedger(saved, ledger.path(), now + std::chrono::seconds(2));
    EXPECT_EQ(std::set<std::string>(restored.tidied.removed.begin(), restored.tidied.removed.end()),
              leftBeside);
    EXPECT_EQ(
        std::set<std::string>(restored.tidiedBackups.removed.begin(), restored.tidiedBackups.removed.end()),
        leftInBackups);
    EXPECT_TRUE(hiddenIn(ledger.folder()).empty());
    EXPECT_TRUE(hiddenIn(backups).empty());
    EXPECT_EQ(rowsOf(ledger.path()), 30u);
}

INSTANTIATE_TEST_SUITE_P(Points, KilledRestore,
                         ::testing::Values(KillPoint{"BackupCopyStarted", Step::TemporaryMade, 1},
                                           KillPoint{"BackupCopyWritten", Step::FileWritten, 1},
                                           KillPoint{"CurrentLedgerCopyStarted", Step::TemporaryMade, 2},
                                           KillPoint{"CurrentLedgerKept", Step::Renamed, 1}),
                         pointName);

// The program's start-up copy comes by far more often than the next restore: it tidies the
// ledger's folder as well, where a killed restore leaves a whole copy of a ledger.
TEST(KilledRestoreThenStartUpCopy, TheCopyRemovesWhatTheRestoreLeftBesideTheLedger) {
    TempLedger ledger;
    addEntries(ledger.path(), 10);
    const auto now = std::chrono::system_clock::now();
    const fs::path saved = backup::backUp(ledger.path(), now).file;
    killedAt({"BackupCopyWritten", Step::FileWritten, 1},
             [&] { restore::restoreLedger(saved, ledger.path(), now + std::chrono::seconds(1)); });
    const auto left = hiddenIn(ledger.folder());
    ASSERT_FALSE(left.empty());

    const auto made = backup::backUp(ledger.path(), now + std::chrono::seconds(2));
    EXPECT_EQ(std::set<std::string>(made.tidiedBeside.removed.begin(), made.tidiedBeside.removed.end()),
              left);
    EXPECT_TRUE(hiddenIn(ledger.folder()).empty());
}

// ---- export and report: a set of files ----

class KilledExport : public ::testing::TestWithParam<KillPoint> {
protected:
    fs::path folder() const { return dir_.path().toStdString(); }
    std::set<std::string> names() const {
        std::set<std::string> out;
        for (const auto& e : fs::directory_iterator(folder()))
            out.insert(e.path().filename().string());
        return out;
    }
    const std::vector<exporting::OutputFile> files_ = {{"entries.csv", "date,amount\n2026/12/08,1\n"},
                                                       {"incomes.csv", "month,amount\n"},
                                                       {"members.csv", "name\n"},
                                                       {"categories.csv", "name\n"},
                                                       {"summary.csv", "month,total\n"}};
    QTemporaryDir dir_;
};

// Killed before its first rename nothing is published; killed among them the next writer
// finishes the set. Either way the folder then holds all five files whole, or none, and nothing
// hidden.
TEST_P(KilledExport, TheFolderHoldsEveryFileOrNoneOnceTheNextWriterStarts) {
    killedAt(GetParam(), [&] { exporting::writeAllOrNothing(folder(), files_, false); });
    ASSERT_FALSE(hiddenIn(folder()).empty()) << "nothing to tidy at this point";
    const bool amongRenames = GetParam().step == Step::Renamed;
    const platform::Tidied tidied = platform::tidyFolder(folder());
    EXPECT_EQ(tidied.finished.size(), amongRenames ? files_.size() - GetParam().nth : 0u);
    EXPECT_TRUE(hiddenIn(folder()).empty());
    if (amongRenames) {
        for (const auto& f : files_)
            EXPECT_EQ(bytesOf(folder() / f.name), f.bytes) << f.name;
        EXPECT_THROW(exporting::writeAllOrNothing(folder(), files_, false), exporting::OutputError)
            << "its files are all there now";
    } else {
        EXPECT_TRUE(names().empty());
        exporting::writeAllOrNothing(folder(), files_, false);
        EXPECT_EQ(names().size(), files_.size());
    }
    EXPECT_TRUE(hiddenIn(folder()).empty());
}

// The export itself starts by tidying: a killed export with --force is finished, replacing as it
// was asked, before the new one writes over it.
TEST_P(KilledExport, AForcedExportFinishesTheKilledOneBeforeItWrites) {
    for (const auto& f : files_)
        std::ofstream(folder() / f.name) << "older";
    killedAt(GetParam(), [&] { exporting::writeAllOrNothing(folder(), files_, true); });
    auto newer = files_;
    for (auto& f : newer)
        f.bytes = "newer " + f.name;
    exporting::writeAllOrNothing(folder(), newer, true);
    EXPECT_TRUE(hiddenIn(folder()).empty());
    for (const auto& f : newer)
        EXPECT_EQ(bytesOf(folder() / f.name), f.bytes);
}

INSTANTIATE_TEST_SUITE_P(Points, KilledExport,
                         ::testing::Values(KillPoint{"SecondFileStarted", Step::TemporaryMade, 2},
                                           KillPoint{"ThirdFileWritten", Step::FileWritten, 3},
                                           KillPoint{"FirstRenamed", Step::Renamed, 1},
                                           KillPoint{"FourthRenamed", Step::Renamed, 4}),
                         pointName);

// ---- import ----

TEST(KilledImport, TheNextImportRemovesEveryFileItLeftAndListsThem) {
    QTemporaryDir dir;
    const fs::path target = fs::path(dir.path().toStdString()) / Ledger::kFileName;
    const fs::path old = fs::path(SORAKADO_LEGACY_FIXTURES) / "small-currency.mdb";
    // Killed as the new ledger is opened for its rows: the ledger and the open's own probe stay.
    killedAt({"NewLedgerOpened", Step::TemporaryMade, 1}, [&] { legacy::importLegacyLedger(old, target); });
    const auto left = hiddenIn(target.parent_path());
    ASSERT_FALSE(left.empty());

    const legacy::ImportPlan plan = legacy::importLegacyLedger(old, target);
    EXPECT_EQ(std::set<std::string>(plan.leftoversRemoved.begin(), plan.leftoversRemoved.end()), left);
    EXPECT_TRUE(hiddenIn(target.parent_path()).empty());
}

// ---- what the tool says ----

TEST(KilledWriters, TheToolSaysInOneLineWhatItTidied) {
    QTemporaryDir dir;
    const fs::path folder = dir.path().toStdString();
    const fs::path tool = copyToolInto(folder);
    Ledger::create(folder / Ledger::kFileName);
    const auto now = std::chrono::system_clock::now();

    killedAt({"CopyStarted", Step::TemporaryMade, 1},
             [&] { backup::backUp(folder / Ledger::kFileName, now); });
    const auto left = hiddenIn(backup::folderFor(folder / Ledger::kFileName));
    ASSERT_EQ(left.size(), 1u);
    const ToolResult backedUp = runTool(tool, {"backup"}, folder);
    EXPECT_EQ(backedUp.status, 0) << backedUp.err;
    EXPECT_THAT(backedUp.out, HasSubstr("中断された書き込みが 「" + (folder / "backups").string() +
                                        "」 に残した一時ファイルを削除しました: " + *left.begin() + "\n"));

    const fs::path out = folder / "out";
    fs::create_directory(out);
    killedAt({"SecondRenamed", Step::Renamed, 2}, [&] {
        exporting::writeAllOrNothing(
            out, {{"entries.csv", "a\n"}, {"incomes.csv", "b\n"}, {"summary.csv", "c\n"}}, false);
    });
    const ToolResult exported = runTool(tool, {"export", out.string()}, folder);
    EXPECT_THAT(exported.out, HasSubstr("中断されていた書き出しを最後まで済ませました: 「" +
                                        (out / "summary.csv").string() + "」\n"));
    EXPECT_EQ(exported.status, 1)
        << "the finished export's files are there: this one refuses to replace them";
    EXPECT_THAT(exported.err, HasSubstr("entries.csv」はすでにあります"));
    EXPECT_TRUE(hiddenIn(out).empty());
}

} // namespace
} // namespace sorakado::testing
