// Backups of real encrypted ledgers: the copy made with a set clock, what makes it count, the
// rotation over simulated months, and copies that fail and never count.

#include "ledger_test_support.h"
#include "support/temp_ledger.h"

#include "store/ledger.h"
#include "store/ledger_backup.h"
#include "store/ledger_error.h"
#include "store/ledger_restore.h"
#include "store/testing/odd_rows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "store/testing/reference_reads.h"

#include <sys/stat.h>

#include <ctime>
#include <set>

namespace sorakado::testing {
namespace {

namespace fs = std::filesystem;
using backup::TimePoint;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// A local date and time, as the backup's name shows it.
TimePoint at(int year, int month, int day, int hour = 12, int minute = 0, int second = 0) {
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    parts.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&parts));
}

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& item : fs::directory_iterator(folder, ec))
        names.insert(item.path().filename().string());
    return names;
}

unsigned modeOf(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

class LedgerBackup : public ::testing::Test {
protected:
    void SetUp() override {
        auto ledger = ledger_.open();
        auto member = addMember(ledger, "太郎");
        addIncome(ledger, member, "2026/12", yen(300000));
        auto food = addCategory(ledger, "食費");
        addEntry(ledger, "2026/12/08", food, "お米", yen(2480));
    }
    fs::path backups() const { return ledger_.folder() / "backups"; }

    TempLedger ledger_;
};

TEST_F(LedgerBackup, CopyIsNamedForTheClockPrivateEncryptedAndHoldsEveryRow) {
    auto made = backup::backUp(ledger_.path(), at(2026, 12, 8, 9, 30, 15));
    EXPECT_EQ(made.file, backups() / "Sorakado-20261208-093015.mdb");
    EXPECT_THAT(made.removed, IsEmpty());
    EXPECT_EQ(namesIn(backups()), std::set<std::string>{"Sorakado-20261208-093015.mdb"});
    EXPECT_EQ(modeOf(made.file), 0600u);
    EXPECT_EQ(modeOf(backups()), 0700u);

    // Encrypted with the ledger's password: unreadable without it, the same rows with it.
    OtherProgram withoutKey(made.file, std::nullopt);
    EXPECT_THROW(withoutKey.tableNames(), std::runtime_error);
    auto copy = Ledger::open(made.file);
    EXPECT_EQ(copy.members().size(), 1u);
    EXPECT_EQ(monthEntries(copy, "2026/12").size(), 1u);
    EXPECT_EQ(copy.monthIncomes("2026/12").at(0).amount, yen(300000));
}

TEST_F(LedgerBackup, CopiesWhileTheProgramHasTheLedgerOpenAndAgainInTheSameSecond) {
    auto open = ledger_.open();
    auto first = backup::backUp(ledger_.path(), at(2026, 12, 8));
    auto second = backup::backUp(ledger_.path(), at(2026, 12, 8));
    EXPECT_EQ(first.file.filename(), "Sorakado-20261208-120000.mdb");
    EXPECT_EQ(second.file.filename(), "Sorakado-20261208-120000-2.mdb");
    addMember(open, "花子"); // the program's connection writes on afterwards
    EXPECT_EQ(open.members().size(), 2u);
    EXPECT_EQ(Ledger::open(second.file).members().size(), 1u);
}

// The copy takes the ledger as committed when its pages are read: a change still open on the
// program's connection is not in it, and a change made once the pages are in (while the copy is
// still to be checked) never reaches it.
TEST_F(LedgerBackup, TheCopyHoldsWhatWasCommittedWhenItsPagesWereTakenAndNothingLater) {
    auto open = ledger_.open();
    int pagesCopied = 0;
    backup::BackupMade duringChange;
    open.inTransaction([&] {
        addMember(open, "花子");
        duringChange = backup::backUp(ledger_.path(), at(2026, 12, 8), nullptr, [&] { ++pagesCopied; });
    });
    EXPECT_EQ(Ledger::open(duringChange.file).members().size(), 1u);

    auto beforeChange = backup::backUp(ledger_.path(), at(2026, 12, 9), nullptr, [&] {
        ++pagesCopied;
        addMember(open, "次郎");
    });
    EXPECT_EQ(pagesCopied, 2);
    EXPECT_EQ(Ledger::open(beforeChange.file).members().size(), 2u);
    EXPECT_EQ(open.members().size(), 3u);
    EXPECT_EQ(namesIn(backups()),
              (std::set<std::string>{"Sorakado-20261208-120000.mdb", "Sorakado-20261209-120000.mdb"}));
}

// Where the file system has no no-replace rename, backup and restore alike fall back to a second
// link: restore used to fail there while backup worked.
TEST_F(LedgerBackup, BackupAndRestoreWorkWithoutTheNoReplaceRename) {
    platform::refuseNoReplaceRenameForTesting(true);
    auto made = backup::backUp(ledger_.path(), at(2026, 12, 8));
    EXPECT_EQ(Ledger::open(made.file).members().size(), 1u);
    backup::copyLedger(ledger_.path(), ledger_.folder() / "usb.mdb");
    EXPECT_THROW(backup::copyLedger(ledger_.path(), ledger_.folder() / "usb.mdb"), LedgerError);

    {
        Ledger open = ledger_.open();
        addMember(open, "花子");
    }
    auto restored = restore::restoreLedger(made.file, ledger_.path(), at(2026, 12, 9));
    EXPECT_FALSE(restored.keptDamaged);
    EXPECT_EQ(Ledger::open(ledger_.path()).members().size(), 1u);
    EXPECT_EQ(Ledger::open(restored.keptAs).members().size(), 2u);

    const fs::path elsewhere = ledger_.folder() / "new" / "Sorakado.mdb";
    fs::create_directory(elsewhere.parent_path());
    restore::restoreLedger(made.file, elsewhere, at(2026, 12, 9));
    EXPECT_EQ(Ledger::open(elsewhere).members().size(), 1u);
    platform::refuseNoReplaceRenameForTesting(false);
    for (const fs::path& folder : {ledger_.folder(), backups(), elsewhere.parent_path()})
        for (const auto& name : namesIn(folder))
            EXPECT_NE(name[0], '.') << folder / name << " left behind";
}

// A second program folder may hold a link to the ledger: restoring through the link replaces the
// real file, so both folders see the restored ledger, and the link stays a link.
TEST_F(LedgerBackup, RestoreThroughALinkedLedgerReplacesTheRealFileAndKeepsTheLink) {
    auto made = backup::backUp(ledger_.path(), at(2026, 12, 8));
    {
        Ledger open = ledger_.open();
        addMember(open, "花子");
    }
    const fs::path second = ledger_.folder() / "second";
    fs::create_directory(second);
    const fs::path link = second / "Sorakado.mdb";
    fs::create_symlink(ledger_.path(), link);

    auto restored = restore::restoreLedger(made.file, link, at(2026, 12, 9));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(Ledger::open(ledger_.path()).members().size(), 1u);
    EXPECT_EQ(Ledger::open(link).members().size(), 1u);
    EXPECT_EQ(Ledger::open(restored.keptAs).members().size(), 2u);
}

TEST_F(LedgerBackup, NamesReadBackToTheirTimeAndOtherFilesAreNotCopies) {
    const auto t = at(2027, 1, 31, 23, 59, 58);
    EXPECT_EQ(backup::backupTime(backup::backupName("Sorakado", ".mdb", t), "Sorakado", ".mdb"), t);
    EXPECT_EQ(backup::backupTime(backup::backupName("Sorakado", ".mdb", t, 3), "Sorakado", ".mdb"), t);
    for (const char* other :
         {"Sorakado.mdb", "Sorakado-20270131-235958.mdb-journal", ".Sorakado-20270131-235958.mdb.part-1",
          "Other-20270131-235958.mdb", "Sorakado-20270231-120000.mdb", "Sorakado-2027013-1235958.mdb",
          "Sorakado-20270131-235958-.mdb", "Sorakado-20270131-235958-x.mdb", "メモ.txt"})
        EXPECT_EQ(backup::backupTime(other, "Sorakado", ".mdb"), std::nullopt) << other;
}

// One copy a day at noon, and on the first of each month a second one in the evening, for two
// and a half years; the rotation runs after each, as it does when the program opens the ledger.
TEST(BackupRotation, OverSimulatedMonthsKeepsTheDocumentedCopiesAndNeverTheNewestGoes) {
    std::vector<backup::BackupCopy> copies;
    int made = 0;
    TimePoint now;
    for (int d = 0; d < 905; ++d) {
        now = at(2025, 1, 1 + d); // mktime normalises the day
        std::vector<TimePoint> today{now};
        std::time_t t = std::chrono::system_clock::to_time_t(now);
        std::tm parts{};
        ::localtime_r(&t, &parts);
        if (parts.tm_mday == 1)
            today.push_back(now + std::chrono::hours(8));
        for (auto when : today) {
            copies.push_back({backup::backupName("Sorakado", ".mdb", when), when});
            ++made;
            auto gone = backup::copiesToRemove(copies, when);
            std::erase_if(copies,
                          [&](const auto& c) { return std::count(gone.begin(), gone.end(), c.name) > 0; });
            ASSERT_EQ(copies.back().name, backup::backupName("Sorakado", ".mdb", when)) << "the newest went";
        }
    }
    now = copies.back().made;
    auto age = [&](const backup::BackupCopy& c) {
        return std::chrono::duration_cast<std::chrono::hours>(now - c.made).count() / 24.0;
    };
    int lastWeek = 0;
    for (const auto& c : copies)
        lastWeek += age(c) < 7;
    EXPECT_EQ(lastWeek, 7) << "every copy of the last 7 days";
    // Then one copy a week back to 8 weeks and one a month back to 24 months, nothing older.
    std::set<long long> weeks, months;
    for (const auto& c : copies) {
        std::time_t t = std::chrono::system_clock::to_time_t(c.made);
        std::tm parts{};
        ::localtime_r(&t, &parts);
        months.insert((parts.tm_year + 1900LL) * 12 + parts.tm_mon);
        EXPECT_LT(age(c), 24 * 31 + 1) << c.name;
    }
    EXPECT_EQ(months.size(), 24u);
    for (int week = 1; week < 8; ++week) {
        bool found = false;
        for (const auto& c : copies)
            found = found || (age(c) >= 7.0 * week - 7 && age(c) < 7.0 * week + 7);
        EXPECT_TRUE(found) << "week " << week;
    }
    EXPECT_LE(copies.size(), 7u + 8u + 24u);
    EXPECT_GT(made, 900);
}

TEST(BackupRotation, AnOldCopyAloneIsTheNewestAndStays) {
    std::vector<backup::BackupCopy> copies{{"Sorakado-20200101-120000.mdb", at(2020, 1, 1)}};
    EXPECT_THAT(backup::copiesToRemove(copies, at(2026, 12, 8)), IsEmpty());
    copies.push_back({"Sorakado-20200102-120000.mdb", at(2020, 1, 2)});
    EXPECT_THAT(backup::copiesToRemove(copies, at(2026, 12, 8)), ElementsAre("Sorakado-20200101-120000.mdb"));
}

TEST_F(LedgerBackup, RotationOnRealFilesLeavesOtherFilesAlone) {
    fs::create_directory(backups());
    std::ofstream(backups() / "メモ.txt") << "keep";
    std::ofstream(backups() / "Other-20200101-120000.mdb") << "another ledger's";
    for (auto when : {at(2024, 1, 3), at(2024, 1, 20), at(2026, 10, 1), at(2026, 10, 2), at(2026, 12, 1),
                      at(2026, 12, 7)})
        backup::backUp(ledger_.path(), when);
    // On 8 December 2026: the last week's copies, the oldest of each of the last 8 weeks, the
    // oldest of each of the last 24 months. 2024 is more than two years back.
    EXPECT_EQ(namesIn(backups()),
              (std::set<std::string>{"メモ.txt", "Other-20200101-120000.mdb", "Sorakado-20261001-120000.mdb",
                                     "Sorakado-20261201-120000.mdb", "Sorakado-20261207-120000.mdb"}));
    auto made = backup::backUp(ledger_.path(), at(2026, 12, 8));
    EXPECT_THAT(made.removed, IsEmpty());
}

TEST_F(LedgerBackup, ADamagedCopyNeverCountsAndCostsNoOlderCopy) {
    auto good = backup::backUp(ledger_.path(), at(2026, 11, 1));
    auto before = fileBytes(good.file);
    breakAnIndex(ledger_.path());
    try {
        backup::backUp(ledger_.path(), at(2026, 12, 8));
        ADD_FAILURE() << "a damaged copy counted";
    } catch (const LedgerError& e) {
        EXPECT_THAT(e.description(), HasSubstr("壊れて"));
    }
    EXPECT_EQ(namesIn(backups()), std::set<std::string>{"Sorakado-20261101-120000.mdb"}); // nothing half-made
    EXPECT_EQ(fileBytes(good.file), before);
}

TEST_F(LedgerBackup, AnUnreadablePageStopsTheCopyAndLeavesNothing) {
    {
        auto ledger = ledger_.open();
        auto food = addCategory(ledger, "雑費");
        ledger.inTransaction([&] {
            for (int i = 0; i < 400; ++i)
                addEntry(ledger, "2026/12/08", food, std::string(200, 'x'), yen(i));
        });
    }
    auto bytes = fileBytes(ledger_.path());
    ASSERT_GT(bytes.size(), 40000u);
    bytes[30000] ^= 0x5A; // a page in the middle no longer decrypts
    std::ofstream(ledger_.path(), std::ios::binary | std::ios::trunc) << bytes;
    EXPECT_THROW(backup::backUp(ledger_.path(), at(2026, 12, 8)), LedgerError);
    EXPECT_THAT(namesIn(backups()), IsEmpty());
}

TEST_F(LedgerBackup, ABackupFolderThatCannotBeMadeIsReportedAndTheLedgerIsUntouched) {
    std::ofstream(backups()) << "a file where the folder belongs";
    auto before = fileBytes(ledger_.path());
    try {
        backup::backUp(ledger_.path(), at(2026, 12, 8));
        ADD_FAILURE() << "no error";
    } catch (const LedgerError& e) {
        EXPECT_THAT(e.description(), AllOf(HasSubstr("バックアップ"), HasSubstr(backups().string())));
    }
    EXPECT_EQ(fileBytes(ledger_.path()), before);
}

TEST_F(LedgerBackup, ACancelledCopyLeavesNothing) {
    std::atomic<bool> cancel{true};
    EXPECT_THROW(backup::backUp(ledger_.path(), at(2026, 12, 8), &cancel), backup::Cancelled);
    EXPECT_THAT(namesIn(backups()), IsEmpty());
}

// Copies stopped while being checked, or refused before a page is read, leave nothing and leave
// the ledger as it was.
TEST_F(LedgerBackup, ACopyStoppedDuringItsCheckOrRefusedLeavesNothing) {
    const auto before = fileBytes(ledger_.path());
    std::atomic<bool> cancel{false};
    EXPECT_THROW(backup::backUp(ledger_.path(), at(2026, 12, 8), &cancel, [&] { cancel = true; }),
                 backup::Cancelled);
    EXPECT_THAT(namesIn(backups()), IsEmpty());

    // A journal left by a writer that stopped halfway: the file is not whole until it is rolled back.
    std::ofstream(ledger_.path().string() + "-journal") << "a writer stopped here";
    try {
        backup::backUp(ledger_.path(), at(2026, 12, 8));
        ADD_FAILURE() << "a ledger in the middle of a change was copied";
    } catch (const LedgerError& e) {
        EXPECT_THAT(e.description(), HasSubstr("書きかけ"));
    }
    EXPECT_THAT(namesIn(backups()), IsEmpty());
    fs::remove(ledger_.path().string() + "-journal");
    EXPECT_EQ(fileBytes(ledger_.path()), before);

    // A leftover whose header was never written held nothing: no obstacle, and left alone.
    std::ofstream(ledger_.path().string() + "-journal", std::ios::binary) << std::string(512, '\0');
    EXPECT_EQ(Ledger::open(backup::backUp(ledger_.path(), at(2026, 12, 7)).file).members().size(), 1u);
    EXPECT_TRUE(fs::exists(ledger_.path().string() + "-journal"));
    fs::remove(ledger_.path().string() + "-journal");
    fs::remove_all(backups());

    // Not a ledger: the fault is the source's, named as such.
    const fs::path text = ledger_.folder() / "memo.mdb";
    std::ofstream(text) << std::string(8192, 'x');
    try {
        backup::backUp(text, at(2026, 12, 8));
        ADD_FAILURE() << "a file that is no ledger was copied";
    } catch (const LedgerError& e) {
        EXPECT_EQ(e.kind(), LedgerError::Kind::NotLedger);
        EXPECT_THAT(e.description(), HasSubstr(text.string()));
    }
    EXPECT_THAT(namesIn(backups()), IsEmpty());
}

} // namespace
} // namespace sorakado::testing
