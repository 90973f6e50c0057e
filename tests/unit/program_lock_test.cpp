// The lock that makes one program per folder: held while its holder lives, taken over when the
// holder dies however it ends, found the same way whatever the environment says, and visible to
// a second process (the ledger tool) that only asks.

#include "store/program_lock.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace sorakado {
namespace {

namespace fs = std::filesystem;

class Folder {
public:
    Folder() {
        char name[] = "/tmp/sorakado-lock-test-XXXXXX";
        path_ = ::mkdtemp(name);
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// Sets an environment variable for the life of the object.
class EnvironmentValue {
public:
    EnvironmentValue(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~EnvironmentValue() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(ProgramLock, OneHolderPerFolderAndTheNextAfterIt) {
    Folder folder, other;
    EXPECT_FALSE(ProgramLock::heldIn(folder.path()));
    auto first = ProgramLock::tryTakeIn(folder.path());
    ASSERT_TRUE(first);
    EXPECT_TRUE(ProgramLock::heldIn(folder.path()));
    EXPECT_FALSE(ProgramLock::tryTakeIn(folder.path())) << "a second program on the same folder";
    EXPECT_FALSE(ProgramLock::tryTakeIn(folder.path() / "." / "")) << "the same folder spelt otherwise";
    EXPECT_TRUE(ProgramLock::tryTakeIn(other.path())) << "another folder is another installation";

    first.reset();
    EXPECT_FALSE(ProgramLock::heldIn(folder.path()));
    EXPECT_TRUE(ProgramLock::tryTakeIn(folder.path()));
}

TEST(ProgramLock, TheEnvironmentDoesNotMoveIt) {
    Folder folder, tmpA, tmpB, cwd;
    const fs::path lockPath = ProgramLock::lockPathIn(folder.path());
    EXPECT_EQ(lockPath.parent_path(), fs::canonical(folder.path()));
    std::optional<ProgramLock> first;
    {
        EnvironmentValue tmp("TMPDIR", tmpA.path().string());
        first = ProgramLock::tryTakeIn(folder.path());
        ASSERT_TRUE(first);
    }
    const fs::path before = fs::current_path();
    fs::current_path(cwd.path());
    for (const std::string& tmpdir : {tmpB.path().string(), std::string("/nonexistent/sorakado-tmp")}) {
        EnvironmentValue tmp("TMPDIR", tmpdir);
        EnvironmentValue runtime("XDG_RUNTIME_DIR", tmpdir);
        EXPECT_EQ(ProgramLock::lockPathIn(folder.path()), lockPath) << tmpdir;
        EXPECT_FALSE(ProgramLock::tryTakeIn(folder.path())) << tmpdir;
        EXPECT_TRUE(ProgramLock::heldIn(folder.path())) << tmpdir;
    }
    fs::current_path(before);
    EXPECT_TRUE(fs::is_empty(cwd.path())) << "nothing lands in the current folder";
    EXPECT_TRUE(fs::is_empty(tmpA.path()));
    EXPECT_TRUE(fs::is_empty(tmpB.path()));
}

// A child process takes the lock and tells the parent through a pipe; then it ends as told.
pid_t childHoldingTheLock(const fs::path& folder, bool crash) {
    int ready[2];
    if (::pipe(ready) != 0)
        return -1;
    pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ready[0]);
        auto lock = ProgramLock::tryTakeIn(folder);
        char answer = lock ? 'y' : 'n';
        if (::write(ready[1], &answer, 1) != 1)
            ::_exit(3);
        if (crash)
            ::raise(SIGKILL);
        ::pause(); // until the parent ends it
        ::_exit(0);
    }
    ::close(ready[1]);
    char answer = 0;
    bool took = ::read(ready[0], &answer, 1) == 1 && answer == 'y';
    ::close(ready[0]);
    return took ? pid : -1;
}

TEST(ProgramLock, AnotherProcessHoldsItUntilItDiesEvenByKill) {
    Folder folder;
    pid_t child = childHoldingTheLock(folder.path(), false);
    ASSERT_GT(child, 0);
    EXPECT_TRUE(ProgramLock::heldIn(folder.path()));
    EXPECT_FALSE(ProgramLock::tryTakeIn(folder.path()));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(ProgramLock::heldIn(folder.path())) << "a killed holder leaves no lock";
    EXPECT_TRUE(ProgramLock::tryTakeIn(folder.path()));

    pid_t crashed = childHoldingTheLock(folder.path(), true);
    ASSERT_GT(crashed, 0);
    ::waitpid(crashed, nullptr, 0);
    EXPECT_TRUE(ProgramLock::tryTakeIn(folder.path()));
}

// A ledger linked into a second folder is the same ledger: whoever holds one name of it keeps
// the holder of the other out, in either order, and a tool that only asks sees it held. The lock
// file of the real folder is the one it has anyway; the linked folder gets no new file.
TEST(ProgramLock, ALedgerLinkedIntoAnotherFolderIsLockedThroughItsRealFile) {
    Folder real, linked, unrelated;
    const fs::path ledger = real.path() / "Sorakado.mdb", link = linked.path() / "Sorakado.mdb";
    {
        std::FILE* f = std::fopen(ledger.c_str(), "w");
        ASSERT_TRUE(f);
        std::fclose(f);
    }
    fs::create_symlink(ledger, link);
    EXPECT_EQ(ProgramLock::realFolderOf(link), fs::canonical(real.path()));
    EXPECT_EQ(ProgramLock::realFolderOf(ledger), fs::path()) << "a plain file is locked by its folder alone";

    {
        auto here = ProgramLock::tryTakeFor(ledger);
        ASSERT_TRUE(here);
        ProgramLock::HeldBy heldBy = ProgramLock::HeldBy::Nobody;
        EXPECT_FALSE(ProgramLock::tryTakeFor(link, &heldBy)) << "the second folder's program";
        EXPECT_EQ(heldBy, ProgramLock::HeldBy::ItsRealFolder);
        EXPECT_FALSE(ProgramLock::heldIn(linked.path())) << "the failed attempt keeps nothing";
    }
    {
        auto there = ProgramLock::tryTakeFor(link);
        ASSERT_TRUE(there);
        ProgramLock::HeldBy heldBy = ProgramLock::HeldBy::Nobody;
        EXPECT_FALSE(ProgramLock::tryTakeFor(ledger, &heldBy));
        EXPECT_EQ(heldBy, ProgramLock::HeldBy::ItsFolder);
        EXPECT_TRUE(ProgramLock::tryTakeFor(unrelated.path() / "Sorakado.mdb")) << "other ledgers are free";
    }
    pid_t child = childHoldingTheLock(real.path(), false);
    ASSERT_GT(child, 0);
    EXPECT_TRUE(ProgramLock::heldFor(link)) << "as a tool working through the link sees it";
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(ProgramLock::heldFor(link));
    EXPECT_TRUE(ProgramLock::tryTakeFor(link));
}

} // namespace
} // namespace sorakado
