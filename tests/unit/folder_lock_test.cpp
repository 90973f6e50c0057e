// The lock that makes one program per folder: held while its holder lives, taken over when the
// holder dies however it ends, found the same way whatever the environment says, and visible to
// a second process (the ledger tool) that only asks.

#include "instance/folder_lock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace sorakado::instance {
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

TEST(FolderLock, OneHolderPerFolderAndTheNextAfterIt) {
    Folder folder, other;
    EXPECT_FALSE(programRunsIn(folder.path()));
    auto first = FolderLock::tryTake(folder.path());
    ASSERT_TRUE(first);
    EXPECT_TRUE(programRunsIn(folder.path()));
    EXPECT_FALSE(FolderLock::tryTake(folder.path())) << "a second program on the same folder";
    EXPECT_FALSE(FolderLock::tryTake(folder.path() / "." / "")) << "the same folder spelt otherwise";
    EXPECT_TRUE(FolderLock::tryTake(other.path())) << "another folder is another installation";

    first.reset();
    EXPECT_FALSE(programRunsIn(folder.path()));
    EXPECT_TRUE(FolderLock::tryTake(folder.path()));
}

TEST(FolderLock, TheEnvironmentDoesNotMoveIt) {
    Folder folder, tmpA, tmpB, cwd;
    const fs::path lockPath = FolderLock::lockPathFor(folder.path());
    EXPECT_EQ(lockPath.parent_path(), fs::canonical(folder.path()));
    std::optional<FolderLock> first;
    {
        EnvironmentValue tmp("TMPDIR", tmpA.path().string());
        first = FolderLock::tryTake(folder.path());
        ASSERT_TRUE(first);
    }
    const fs::path before = fs::current_path();
    fs::current_path(cwd.path());
    for (const std::string& tmpdir : {tmpB.path().string(), std::string("/nonexistent/sorakado-tmp")}) {
        EnvironmentValue tmp("TMPDIR", tmpdir);
        EnvironmentValue runtime("XDG_RUNTIME_DIR", tmpdir);
        EXPECT_EQ(FolderLock::lockPathFor(folder.path()), lockPath) << tmpdir;
        EXPECT_FALSE(FolderLock::tryTake(folder.path())) << tmpdir;
        EXPECT_TRUE(programRunsIn(folder.path())) << tmpdir;
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
        auto lock = FolderLock::tryTake(folder);
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

TEST(FolderLock, AnotherProcessHoldsItUntilItDiesEvenByKill) {
    Folder folder;
    pid_t child = childHoldingTheLock(folder.path(), false);
    ASSERT_GT(child, 0);
    EXPECT_TRUE(programRunsIn(folder.path()));
    EXPECT_FALSE(FolderLock::tryTake(folder.path()));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(programRunsIn(folder.path())) << "a killed holder leaves no lock";
    EXPECT_TRUE(FolderLock::tryTake(folder.path()));

    pid_t crashed = childHoldingTheLock(folder.path(), true);
    ASSERT_GT(crashed, 0);
    ::waitpid(crashed, nullptr, 0);
    EXPECT_TRUE(FolderLock::tryTake(folder.path()));
}

} // namespace
} // namespace sorakado::instance
