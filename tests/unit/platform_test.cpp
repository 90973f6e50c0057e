// The platform's calls on a real folder: private files and folders, publishing that never
// replaces (also where the file system has no such rename), atomic replacing, durable writes,
// temporary names that say whose they are, locks and child processes.

#include "platform/platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sorakado::platform {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

unsigned modeOf(const fs::path& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/sorakado-platform-test-XXXXXX";
        folder_ = ::mkdtemp(name);
        oldMask_ = ::umask(0); // the modes must not come from the umask
    }
    void TearDown() override {
        ::umask(oldMask_);
        refuseNoReplaceRenameForTesting(false);
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    fs::path folder_;
    mode_t oldMask_ = 0;
};

TEST_F(PlatformTest, PrivateFilesAndFoldersAreTheUsersAloneAndNeverMadeTwice) {
    const fs::path file = folder_ / "ledger.mdb", sub = folder_ / "backups";
    ASSERT_TRUE(createPrivateFile(file));
    EXPECT_EQ(modeOf(file), 0600u);
    EXPECT_EQ(createPrivateFile(file).failure, Failure::Exists);
    ASSERT_TRUE(createPrivateFolder(sub));
    EXPECT_EQ(modeOf(sub), 0700u);
    EXPECT_EQ(createPrivateFolder(sub).failure, Failure::Exists);
    EXPECT_EQ(createPrivateFile(folder_ / "none" / "x").failure, Failure::Missing);

    ASSERT_TRUE(writeDurably(file, "abc\r\n"));
    EXPECT_EQ(bytesOf(file), "abc\r\n");
    ASSERT_TRUE(writeDurably(file, "x"));
    EXPECT_EQ(bytesOf(file), "x") << "the whole file, not its start";
    EXPECT_TRUE(syncFile(file));
    EXPECT_TRUE(syncFolder(folder_));
    EXPECT_EQ(writeDurably(folder_ / "gone", "x").failure, Failure::Missing);

    const FileFacts facts = fileFacts(file);
    EXPECT_TRUE(facts.found);
    EXPECT_TRUE(facts.regular);
    EXPECT_FALSE(facts.folder);
    EXPECT_EQ(facts.size, 1u);
    EXPECT_EQ(facts.mode, 0600u);
    EXPECT_FALSE(facts.markedReadOnly);
    EXPECT_TRUE(fileFacts(sub).folder);
    EXPECT_EQ(fileFacts(folder_ / "gone").found.failure, Failure::Missing);
    EXPECT_EQ(fileFacts(file / "below").found.failure, Failure::BrokenPath);
    ::chmod(file.c_str(), 0444);
    EXPECT_TRUE(fileFacts(file).markedReadOnly);
}

// Publishing with and without the no-replace rename: the same answers either way.
class PublishTest : public PlatformTest, public ::testing::WithParamInterface<bool> {};

TEST_P(PublishTest, PublishingNeverReplacesAFileAndLeavesNoSecondName) {
    refuseNoReplaceRenameForTesting(GetParam());
    const fs::path temp = folder_ / ".out.csv.export-1", final = folder_ / "out.csv";
    put(temp, "new");
    put(final, "theirs");
    EXPECT_EQ(publishNew(temp, final).failure, Failure::Exists);
    EXPECT_EQ(bytesOf(final), "theirs");
    EXPECT_EQ(bytesOf(temp), "new") << "the refused file stays for its writer to remove";

    fs::remove(final);
    ASSERT_TRUE(publishNew(temp, final));
    EXPECT_EQ(bytesOf(final), "new");
    EXPECT_FALSE(fs::exists(temp));
    EXPECT_EQ(fs::hard_link_count(final), 1u);
    EXPECT_EQ(publishNew(temp, folder_ / "other").failure, Failure::Missing);

    put(temp, "newer");
    ASSERT_TRUE(replaceAtomically(temp, final));
    EXPECT_EQ(bytesOf(final), "newer");
    EXPECT_FALSE(fs::exists(temp));
}

INSTANTIATE_TEST_SUITE_P(Rename, PublishTest, ::testing::Values(false, true), [](const auto& param) {
    return param.param ? "fallback_link" : "no_replace_rename";
});

TEST_F(PlatformTest, TemporaryNamesSayWhoseTheyAreAndNeverMeet) {
    Outcome refused;
    const auto one = createTemporaryBeside(folder_ / "Sorakado.mdb", "part", &refused);
    const auto two = createTemporaryBeside(folder_ / "Sorakado.mdb", "part", &refused);
    ASSERT_TRUE(one && two);
    EXPECT_NE(*one, *two);
    const std::string name = one->filename().string();
    const std::string prefix = ".Sorakado.mdb.part-" + std::to_string(processId()) + "-";
    EXPECT_EQ(name.rfind(prefix, 0), 0u) << name;
    EXPECT_EQ(name.size(), prefix.size() + 16) << name;
    EXPECT_EQ(one->parent_path(), folder_);
    EXPECT_EQ(modeOf(*one), 0600u);
    EXPECT_FALSE(createTemporaryBeside(folder_ / "none" / "x.csv", "export", &refused));
    EXPECT_EQ(refused.failure, Failure::Missing);
}

TEST(Platform, ATemporaryNameReadsBackAsWhoseItIs) {
    struct Case {
        const char* name;
        bool ours;
        const char* finalName;
        const char* writer;
        std::int64_t process;
    };
    const Case cases[] = {
        {".Sorakado.mdb.part-812-0123456789abcdef", true, "Sorakado.mdb", "part", 812},
        {".Sorakado.mdb.part-812-0123456789abcdef-journal", true, "Sorakado.mdb", "part", 812},
        {".Sorakado-20261208-093015.mdb.part-7-fedcba9876543210", true, "Sorakado-20261208-093015.mdb",
         "part", 7},
        {".entries.csv.export-4194304-00000000000000ff", true, "entries.csv", "export", 4194304},
        {".a.b.import-1-0123456789abcdef", true, "a.b", "import", 1},
        {".Sorakado.mdb.import-0123456789abcdef", false, "", "", 0}, // earlier imports: no process
        {".Sorakado.mdb.part-812-0123456789ABCDEF", false, "", "", 0},
        {".Sorakado.mdb.part-812-0123456789abcde", false, "", "", 0},
        {".Sorakado.mdb.Part-812-0123456789abcdef", false, "", "", 0},
        {".Sorakado.mdb.part--0123456789abcdef", false, "", "", 0},
        {".Sorakado.mdb.part-8x2-0123456789abcdef", false, "", "", 0},
        {"Sorakado.mdb.part-812-0123456789abcdef", false, "", "", 0}, // not hidden: the user's
        {"..part-812-0123456789abcdef", false, "", "", 0},
        {".sorakado.lock", false, "", "", 0},
        {".Sorakado.mdb.import.lock", false, "", "", 0},
        {"entries.csv", false, "", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto whose = readTemporaryName(c.name);
        ASSERT_EQ(whose.has_value(), c.ours);
        if (!whose)
            continue;
        EXPECT_EQ(whose->finalName, c.finalName);
        EXPECT_EQ(whose->writer, c.writer);
        EXPECT_EQ(whose->process, c.process);
    }
}

// A process number that is surely not running: a child that has ended.
std::int64_t endedProcess() {
    pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST_F(PlatformTest, TidyingRemovesOnlyTheTemporaryFilesOfWritersThatAreGone) {
    const std::string gone = std::to_string(endedProcess()), running = std::to_string(processId());
    const std::string left = ".Sorakado.mdb.part-" + gone + "-0123456789abcdef";
    const std::string leftCsv = ".entries.csv.export-" + gone + "-00000000000000aa";
    const std::string ours = ".Sorakado.mdb.part-" + running + "-0123456789abcdef";
    const std::string anotherProgram = ".notes.txt.autosave-" + gone + "-0123456789abcdef";
    for (const auto& name :
         {left, left + "-journal", leftCsv, ours, anotherProgram, std::string("Sorakado.mdb"),
          std::string(".sorakado.lock"), std::string(".Sorakado.mdb.import-0123456789abcdef")})
        put(folder_ / name, "x");
    put(folder_ / "elsewhere.txt", "not to be touched");
    const std::string link = ".x.csv.export-" + gone + "-00000000000000bb";
    fs::create_symlink(folder_ / "elsewhere.txt", folder_ / link);

    const Tidied tidied = tidyFolder(folder_);
    EXPECT_EQ(tidied.removed, (std::vector<std::string>{left, left + "-journal", leftCsv}));
    EXPECT_TRUE(tidied.finished.empty());
    for (const auto& kept : {ours, anotherProgram, std::string("Sorakado.mdb"), std::string(".sorakado.lock"),
                             std::string(".Sorakado.mdb.import-0123456789abcdef"), link})
        EXPECT_TRUE(fs::exists(fs::symlink_status(folder_ / kept))) << kept;
    EXPECT_EQ(bytesOf(folder_ / "elsewhere.txt"), "not to be touched");
    EXPECT_TRUE(tidyFolder(folder_).empty()) << "nothing the second time";
    EXPECT_TRUE(tidyFolder(folder_ / "missing").empty());
}

// Files of a set, each written under its temporary name; their final names.
std::vector<Move> stagedSet(const fs::path& folder, const std::vector<std::string>& names) {
    std::vector<Move> moves;
    for (const auto& name : names) {
        Outcome refused;
        const auto temp = createTemporaryBeside(folder / name, "export", &refused);
        EXPECT_TRUE(temp);
        EXPECT_TRUE(writeDurably(*temp, "bytes of " + name));
        moves.push_back({*temp, folder / name});
    }
    return moves;
}

// The writer is killed (in a child) after the record is on the disk and the first file renamed:
// the next tidying makes the other renames, so the set is whole, and leaves no hidden file.
TEST_F(PlatformTest, ASetKilledAmongItsRenamesIsFinishedByTheNextTidying) {
    const std::vector<std::string> names = {"entries.csv", "incomes.csv", "summary.csv"};
    const ChildRun killed = runInChildProcess([&] {
        const auto moves = stagedSet(folder_, names);
        Outcome failure;
        auto record = PublishRecord::write(folder_, moves, false, &failure);
        if (!record)
            return std::string("no record");
        killAfterForTesting(Step::Renamed, 1);
        for (const auto& m : moves)
            publishNew(m.from, m.to);
        return std::string("all renamed");
    });
    ASSERT_TRUE(killed.started);
    ASSERT_FALSE(killed.finished) << killed.output;
    ASSERT_TRUE(fs::exists(folder_ / "entries.csv"));
    ASSERT_FALSE(fs::exists(folder_ / "incomes.csv"));

    const Tidied tidied = tidyFolder(folder_);
    EXPECT_EQ(tidied.finished, (std::vector<fs::path>{folder_ / "incomes.csv", folder_ / "summary.csv"}));
    EXPECT_TRUE(tidied.removed.empty());
    std::vector<std::string> present;
    for (const auto& e : fs::directory_iterator(folder_))
        present.push_back(e.path().filename().string());
    std::sort(present.begin(), present.end());
    EXPECT_EQ(present, names) << "no hidden file";
    for (const auto& name : names)
        EXPECT_EQ(bytesOf(folder_ / name), "bytes of " + name);
}

// A record cut short was written before any rename: nothing of the set is published, and the
// files go. A set whose record its writer dropped is not touched either.
TEST_F(PlatformTest, ARecordCutShortPublishesNothingAndADroppedOneIsGone) {
    const ChildRun killed = runInChildProcess([&] {
        const auto moves = stagedSet(folder_, {"a.csv", "b.csv"});
        Outcome failure;
        auto record = PublishRecord::write(folder_, moves, false, &failure);
        for (const auto& e : fs::directory_iterator(folder_)) {
            const auto whose = readTemporaryName(e.path().filename().string());
            if (whose && whose->writer == "set") // the end of the record lost to the crash
                fs::resize_file(e.path(), fs::file_size(e.path()) - 4);
        }
        ::raise(SIGKILL);
        return std::string();
    });
    ASSERT_FALSE(killed.finished);
    const Tidied tidied = tidyFolder(folder_);
    EXPECT_TRUE(tidied.finished.empty());
    EXPECT_EQ(tidied.removed.size(), 2u);
    EXPECT_TRUE(fs::is_empty(folder_));

    {
        const auto moves = stagedSet(folder_, {"c.csv"});
        Outcome failure;
        auto record = PublishRecord::write(folder_, moves, true, &failure);
        ASSERT_TRUE(record);
        EXPECT_TRUE(replaceAtomically(moves[0].from, moves[0].to));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1)
        << "the record goes with its writer's end";
}

TEST_F(PlatformTest, AFileLockHasOneHolderAndGoesWithIt) {
    const fs::path path = folder_ / ".lock";
    EXPECT_FALSE(FileLock::heldElsewhere(path));
    auto first = FileLock::tryTake(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(modeOf(path), 0600u);
    EXPECT_TRUE(FileLock::heldElsewhere(path));
    Outcome why;
    EXPECT_FALSE(FileLock::tryTake(path, &why));
    EXPECT_TRUE(why) << "held by another is not a failure to report";
    first.reset();
    EXPECT_FALSE(FileLock::heldElsewhere(path));
    EXPECT_TRUE(FileLock::tryTake(path));
    EXPECT_FALSE(FileLock::tryTake(folder_ / "none" / ".lock", &why));
    EXPECT_EQ(why.failure, Failure::Missing);
}

TEST_F(PlatformTest, AChildProcessHandsBackItsWorkOrItsEnd) {
    const ChildRun done = runInChildProcess([] { return std::string("tables\0rows", 11); });
    EXPECT_TRUE(done.started);
    EXPECT_TRUE(done.finished);
    EXPECT_EQ(done.output, std::string("tables\0rows", 11));

    const ChildRun crashed = runInChildProcess([]() -> std::string { std::abort(); });
    EXPECT_TRUE(crashed.started);
    EXPECT_FALSE(crashed.finished);
    const ChildRun threw = runInChildProcess([]() -> std::string { throw 1; });
    EXPECT_FALSE(threw.finished);

    EXPECT_TRUE(processRuns(processId()));
    pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(processRuns(child)) << "a process that ended";
    EXPECT_FALSE(processRuns(0));
}

TEST(Platform, TheProgramKnowsItsOwnFile) {
    const fs::path self = programFile();
    EXPECT_EQ(self.filename(), "platform_test");
    EXPECT_TRUE(fs::exists(self));
}

} // namespace
} // namespace sorakado::platform
