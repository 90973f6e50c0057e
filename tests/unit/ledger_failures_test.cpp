// Failures the user must be told about in words they can act on: an empty file, a folder that
// will not take the journal, a full disk. Each is said in Japanese, and none loses what was
// already saved.

#include "ledger_test_support.h"
#include "support/temp_ledger.h"

#include "store/ledger.h"
#include "store/ledger_error.h"
#include "store/testing/reference_reads.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sorakado::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
using Kind = LedgerError::Kind;

TEST(LedgerFailures, AnEmptyFileIsSaidToBeEmptyAndLeftEmpty) {
    TempLedger temp;
    fs::remove(temp.path());
    writeFile(temp.path(), "");
    try {
        (void)Ledger::open(temp.path());
        ADD_FAILURE() << "opened";
    } catch (const LedgerError& e) {
        EXPECT_EQ(e.kind(), Kind::NotLedger);
        EXPECT_THAT(e.description(), AllOf(HasSubstr("空"), Not(HasSubstr("表「"))));
    }
    EXPECT_EQ(fs::file_size(temp.path()), 0u);
    EXPECT_FALSE(fs::exists(temp.path().string() + "-journal"));
}

// Opens the ledger as a user who may write the file but not its folder: as another user when
// the tests run as root (root writes anywhere), else with the folder made read-only.
// Returns the open's error, or "" when it opened.
std::string openWithFolderReadOnly(const fs::path& ledger) {
    const fs::path folder = ledger.parent_path();
    if (::geteuid() != 0) {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        std::string why;
        try {
            (void)Ledger::open(ledger);
        } catch (const LedgerError& e) {
            why = e.description();
        }
        fs::permissions(folder, fs::perms::owner_all);
        return why;
    }
    const uid_t nobody = 65534;
    fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    if (::chown(ledger.c_str(), nobody, nobody) != 0)
        return "chown failed";
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return "pipe failed";
    pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        std::string why;
        if (::setgid(nobody) != 0 || ::setuid(nobody) != 0) {
            why = "setuid failed";
        } else {
            try {
                (void)Ledger::open(ledger);
            } catch (const LedgerError& e) {
                why = e.description();
            }
        }
        ssize_t written = ::write(pipeEnds[1], why.data(), why.size());
        ::_exit(written == ssize_t(why.size()) ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    std::string why;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        why.append(buffer, std::size_t(n));
    ::close(pipeEnds[0]);
    ::waitpid(child, nullptr, 0);
    return why;
}

TEST(LedgerFailures, AFolderThatCannotTakeTheJournalIsFoundAtOpen) {
    TempLedger temp;
    {
        Ledger l = temp.open();
        addMember(l, "太郎");
    }
    const std::string before = fileBytes(temp.path());
    std::string why = openWithFolderReadOnly(temp.path());
    EXPECT_THAT(why, AllOf(HasSubstr("フォルダーに書き込めない"), HasSubstr(temp.path().string())));
    EXPECT_EQ(fileBytes(temp.path()), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.folder()), fs::directory_iterator()), 1)
        << "no probe or journal left behind";
}

TEST(LedgerFailures, TheJournalIsAsPrivateAsTheLedger) {
    TempLedger temp;
    Ledger ledger = temp.open();
    mode_t journalMode = 0;
    ledger.inTransaction([&] {
        addMember(ledger, "太郎");
        struct stat st {};
        if (::stat((temp.path().string() + "-journal").c_str(), &st) == 0)
            journalMode = st.st_mode & 07777;
    });
    EXPECT_EQ(journalMode, 0600u);
    struct stat st {};
    ASSERT_EQ(::stat(temp.path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

// A full disk, simulated with SQLite's max_page_count (fillDisk): the file may not grow now.
TEST(LedgerFailures, AFullDiskIsSaidInJapaneseAndLosesNothingSaved) {
    TempLedger temp;
    Ledger ledger = temp.open();
    auto food = addCategory(ledger, "食費");
    addEntry(ledger, "2006/04/01", food, "米", yen(2000));
    fillDisk(ledger);
    try {
        ledger.inTransaction([&] {
            for (int i = 0; i < 200; ++i)
                addEntry(ledger, "2006/04/02", food, std::string(2000, 'x'), yen(i));
        });
        ADD_FAILURE() << "the disk never filled";
    } catch (const LedgerError& e) {
        EXPECT_THAT(e.description(), AllOf(HasSubstr("ディスクがいっぱい"), HasSubstr("保存されていません"),
                                           Not(HasSubstr("disk is full"))));
    }
    EXPECT_EQ(monthEntries(ledger, "2006/04").size(), 1u);
    EXPECT_EQ(
        [&] {
            Ledger reopened = Ledger::open(temp.path());
            return monthEntries(reopened, "2006/04");
        }()
            .size(),
        1u);
}

} // namespace
} // namespace sorakado::testing
