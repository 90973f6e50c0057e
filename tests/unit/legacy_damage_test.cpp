// Damaged old files: a changed byte in a page pointer or a map is refused with a message
// naming the damage, the import writes nothing, and neither the importer nor the command
// crashes, whatever mdbtools would have done with the file.

#include "ledgertool/legacy_import.h"
#include "ledgertool/legacy_reader.h"

#include <QTemporaryDir>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace sorakado::legacy {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const fs::path kFixtures = SORAKADO_LEGACY_FIXTURES;
const fs::path kCurrency = kFixtures / "small-currency.mdb";
// small-currency.mdb with the row byte of DATA's usage-map pointer (page 32, byte 55) changed
// from 0x00 to 0xff: the map then lies in an empty row, and mdbtools reads through a null map.
const fs::path kDamagedUsageMap = kFixtures / "damaged-usage-map.mdb";
const fs::path kHostile = SORAKADO_HOSTILE_FIXTURES;

class Folder {
public:
    fs::path path() const { return dir_.path().toStdString(); }
    fs::path operator/(const std::string& name) const { return path() / name; }
    std::set<std::string> files() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(path()))
            names.insert(e.path().filename().string());
        return names;
    }

private:
    QTemporaryDir dir_;
};

// A copy of the Currency sample with one byte xored.
fs::path mutatedCopy(const Folder& folder, std::size_t page, std::size_t offset, unsigned char mask) {
    std::ifstream in(kCurrency, std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    data.at(page * 4096 + offset) = char(static_cast<unsigned char>(data[page * 4096 + offset]) ^ mask);
    fs::path out = folder / "old.mdb";
    std::ofstream(out, std::ios::binary).write(data.data(), std::streamsize(data.size()));
    return out;
}

TEST(DamagedOldFile, TheReproducerDiffersFromTheSampleInOneByte) {
    std::ifstream a(kCurrency, std::ios::binary), b(kDamagedUsageMap, std::ios::binary);
    std::string x((std::istreambuf_iterator<char>(a)), {}), y((std::istreambuf_iterator<char>(b)), {});
    ASSERT_EQ(x.size(), y.size());
    std::vector<std::size_t> differ;
    for (std::size_t i = 0; i < x.size(); ++i)
        if (x[i] != y[i])
            differ.push_back(i);
    EXPECT_EQ(differ, std::vector<std::size_t>{32 * 4096 + 55});
}

TEST(DamagedOldFile, ABadUsageMapPointerIsFoundBeforeMdbtoolsFollowsIt) {
    // In this process: were the map followed, the test itself would crash.
    try {
        readLegacyFileInProcess(kDamagedUsageMap);
        FAIL() << "read";
    } catch (const LegacyReadError& e) {
        EXPECT_THAT(e.what(),
                    AllOf(HasSubstr("壊れています"), HasSubstr("表「DATA」"), HasSubstr("ページ 32")));
    }
}

TEST(DamagedOldFile, TheImportRefusesItAndWritesNothing) {
    Folder folder;
    try {
        importLegacyLedger(kDamagedUsageMap, folder / "Sorakado.mdb");
        FAIL() << "imported";
    } catch (const ImportError& e) {
        EXPECT_THAT(e.what(), HasSubstr("壊れています"));
    }
    EXPECT_THAT(folder.files(), IsEmpty());
}

TEST(DamagedOldFile, TheCommandExitsOneWithTheMessage) {
    Folder folder;
    const char* bin = std::getenv("SORAKADO_BIN");
    fs::path tool =
        (bin ? fs::path(bin) : fs::read_symlink("/proc/self/exe").parent_path()) / "sorakado-ledger";
    fs::path target = folder / "new" / "Sorakado.mdb";
    fs::create_directory(target.parent_path());
    fs::path err = folder / "err.txt";
    std::string command = "'" + tool.string() + "' import '" + kDamagedUsageMap.string() + "' '" +
                          target.string() + "' >/dev/null 2>'" + err.string() + "'";
    int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw)) << "ended by a signal";
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    std::ifstream in(err);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_THAT(text, HasSubstr("壊れています"));
    EXPECT_TRUE(fs::is_empty(target.parent_path()));
}

// Two files made by hand from the Currency sample: one whose column-property chain and one whose
// memo page chain loops back on itself. mdbtools follows either for ever; the reading child's
// time limit ends it, and the command says the file is damaged, exits 1 and leaves nothing: no
// ledger, no lock, no temporary file.
TEST(DamagedOldFile, AChainThatLoopsBackEndsInTheDamagedMessageAndLeavesNothing) {
    for (const char* name : {"lvprop-chain-loop.mdb", "memo-chain-loop.mdb"}) {
        SCOPED_TRACE(name);
        Folder folder;
        const char* bin = std::getenv("SORAKADO_BIN");
        fs::path tool =
            (bin ? fs::path(bin) : fs::read_symlink("/proc/self/exe").parent_path()) / "sorakado-ledger";
        fs::path target = folder / "new" / "Sorakado.mdb";
        fs::create_directory(target.parent_path());
        fs::path err = folder / "err.txt";
        std::string command = "'" + tool.string() + "' import '" + (kHostile / name).string() + "' '" +
                              target.string() + "' >/dev/null 2>'" + err.string() + "'";
        int raw = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(raw)) << "ended by a signal";
        EXPECT_EQ(WEXITSTATUS(raw), 1);
        std::ifstream in(err);
        std::string text((std::istreambuf_iterator<char>(in)), {});
        EXPECT_THAT(text, AllOf(HasSubstr("壊れている"), HasSubstr("何も書き込んでいません")));
        EXPECT_TRUE(fs::is_empty(target.parent_path()));
    }
}

fs::path ledgerTool() {
    const char* bin = std::getenv("SORAKADO_BIN");
    return (bin ? fs::path(bin) : fs::read_symlink("/proc/self/exe").parent_path()) / "sorakado-ledger";
}

// The first child of a process, 0 while it has none.
pid_t firstChildOf(pid_t parent) {
    const std::string id = std::to_string(parent);
    std::ifstream in("/proc/" + id + "/task/" + id + "/children");
    long child = 0;
    return in >> child ? pid_t(child) : 0;
}

// Whether a process still runs: gone, or dead and waiting to be reaped, counts as ended.
bool stillRuns(pid_t id) {
    std::ifstream in("/proc/" + std::to_string(id) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), {});
    const auto close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z' &&
           stat[close + 2] != 'X';
}

// The tool killed while its reading child is caught in a looping chain: the child ends with it
// instead of reading on at full speed, and the next import into the same place goes ahead and
// leaves only the ledger (no lock file of the killed one).
TEST(DamagedOldFile, KillingTheImportEndsItsReadingChildAndTheNextImportLeavesNoLock) {
    for (const char* name : {"lvprop-chain-loop.mdb", "memo-chain-loop.mdb"}) {
        SCOPED_TRACE(name);
        Folder folder;
        const fs::path target = folder / "Sorakado.mdb";
        const std::string tool = ledgerTool().string(), old = (kHostile / name).string();
        const pid_t importer = ::fork();
        if (importer == 0) {
            std::freopen("/dev/null", "w", stdout);
            std::freopen("/dev/null", "w", stderr);
            ::execl(tool.c_str(), tool.c_str(), "import", old.c_str(), target.c_str(), nullptr);
            ::_exit(127);
        }
        pid_t reader = 0;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (reader = firstChildOf(importer)) > 0; }, 20000));
        ::kill(importer, SIGKILL);
        ::waitpid(importer, nullptr, 0);
        // The reading child's own limit is five seconds of processor time: well after this.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !stillRuns(reader); }, 2000))
            << "the reading child reads on";

        importLegacyLedger(kCurrency, target);
        EXPECT_EQ(folder.files(), std::set<std::string>{"Sorakado.mdb"});
    }
}

TEST(DamagedOldFile, TheChildHandsBackExactlyWhatItRead) {
    LegacyFile here = readLegacyFileInProcess(kCurrency);
    LegacyFile there = readLegacyFile(kCurrency);
    for (auto [a, b] :
         {std::pair{&here.members, &there.members}, std::pair{&here.incomes, &there.incomes},
          std::pair{&here.categories, &there.categories}, std::pair{&here.entries, &there.entries}}) {
        EXPECT_EQ(a->name, b->name);
        EXPECT_EQ(a->columns, b->columns);
        EXPECT_EQ(a->columnTypes, b->columnTypes);
        EXPECT_EQ(a->rows, b->rows);
        EXPECT_EQ(a->unreadableRows, b->unreadableRows);
    }
    // The sample holds a Null description, which must not come back as empty text.
    bool anyNull = false;
    for (const auto& row : there.entries.rows)
        anyNull = anyNull || !row[3].has_value();
    EXPECT_TRUE(anyNull);
}

// Whatever the reading library does in the child, the caller gets a LegacyReadError.
TEST(DamagedOldFile, AChildThatDiesOrEndsTheProcessIsReportedAsDamage) {
    const LegacyFileReader endings[] = {
        [](const fs::path&) -> LegacyFile {
            std::raise(SIGSEGV);
            return {};
        },
        [](const fs::path&) -> LegacyFile {
            std::fputs("Oops! didn't get a full page\n", stderr);
            std::exit(1);
        },
        [](const fs::path&) -> LegacyFile { std::abort(); },
        [](const fs::path&) -> LegacyFile { std::exit(0); }, // ends before answering
    };
    for (auto ending : endings) {
        try {
            readInChildProcess(kCurrency, ending);
            ADD_FAILURE() << "read";
        } catch (const LegacyReadError& e) {
            EXPECT_THAT(e.what(), AllOf(HasSubstr("壊れて"), HasSubstr(kCurrency.string())));
        }
    }
    try {
        readInChildProcess(kCurrency,
                           [](const fs::path&) -> LegacyFile { throw LegacyReadError("理由の全文"); });
        ADD_FAILURE() << "read";
    } catch (const LegacyReadError& e) {
        EXPECT_STREQ(e.what(), "理由の全文");
    }
}

TEST(DamagedOldFile, TheChildsAnswerKeepsNullEmptyAndEveryByte) {
    LegacyFile read = readInChildProcess(kCurrency, [](const fs::path&) {
        LegacyFile f;
        f.members.name = "名前";
        f.members.columns = {"名前ID", "名前"};
        f.members.rows = {{"1", std::nullopt}, {"2", ""}, {std::nullopt, std::string("a\0b\xff", 4)}};
        f.entries.unreadableRows = {"page 41, slot 3"};
        return f;
    });
    EXPECT_EQ(read.members.name, "名前");
    EXPECT_EQ(read.members.columns, (std::vector<std::string>{"名前ID", "名前"}));
    ASSERT_EQ(read.members.rows.size(), 3u);
    EXPECT_EQ(read.members.rows[0][1], std::nullopt);
    EXPECT_EQ(read.members.rows[1][1], "");
    EXPECT_EQ(read.members.rows[2][0], std::nullopt);
    EXPECT_EQ(read.members.rows[2][1], std::string("a\0b\xff", 4));
    EXPECT_EQ(read.entries.unreadableRows, std::vector<std::string>{"page 41, slot 3"});
    EXPECT_TRUE(read.incomes.rows.empty());
}

// One changed byte in a pointer mdbtools follows.
struct Mutation {
    const char* name;
    std::size_t page, offset;
    unsigned char mask;
};

void PrintTo(const Mutation& m, std::ostream* os) {
    *os << m.name;
}

class MutatedPointer : public ::testing::TestWithParam<Mutation> {};

TEST_P(MutatedPointer, IsRefusedInProcessAndByTheImport) {
    Folder source, folder;
    fs::path old = mutatedCopy(source, GetParam().page, GetParam().offset, GetParam().mask);
    EXPECT_THROW(readLegacyFileInProcess(old), LegacyReadError);
    try {
        importLegacyLedger(old, folder / "Sorakado.mdb");
        FAIL() << "imported";
    } catch (const ImportError& e) {
        EXPECT_THAT(e.what(), HasSubstr("壊れています"));
    }
    EXPECT_THAT(folder.files(), IsEmpty());
}

// Pages of small-currency.mdb: 2 the catalogue's definition, 24 名前's, 32 DATA's; 25 and 33
// hold their maps.
INSTANTIATE_TEST_SUITE_P(Pointers, MutatedPointer,
                         ::testing::Values(Mutation{"UsageMapRowOfMembers", 24, 55, 0xff},
                                           Mutation{"UsageMapRowOfEntries", 32, 55, 0x80},
                                           Mutation{"UsageMapPageOfEntries", 32, 57, 0x01},
                                           Mutation{"FreeMapPageOfEntries", 32, 61, 0x40},
                                           Mutation{"UsageMapRowOfTheCatalogue", 2, 55, 0xff},
                                           Mutation{"UsageMapTypeOfEntries", 33, 4027, 0x02},
                                           Mutation{"ContinuationPageOfEntries", 32, 6, 0x10}),
                         [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace sorakado::legacy
