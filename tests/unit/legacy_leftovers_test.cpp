// What a killed import leaves behind is removed by the next import into the same ledger, and
// said in its report; the files of an import still running, and everything else in the
// folder, are left alone.

#include "ledgertool/import_leftovers.h"
#include "ledgertool/import_report.h"
#include "ledgertool/legacy_import.h"
#include "store/ledger.h"

#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace sorakado::legacy {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const fs::path kCurrency = fs::path(SORAKADO_LEGACY_FIXTURES) / "small-currency.mdb";
const char* const kTemporary = ".Sorakado.mdb.import-0123456789abcdef";

std::set<std::string> filesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

// An import killed while writing: it held the lock, had made its temporary ledger and journal,
// and died by SIGKILL.
void killedImport(const fs::path& target) {
    pid_t child = ::fork();
    if (child == 0) {
        auto lock = ImportLock::tryTake(target);
        Ledger::create(target.parent_path() / kTemporary);
        std::ofstream(target.parent_path() / (std::string(kTemporary) + "-journal")) << "journal";
        ::raise(SIGKILL);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
}

TEST(ImportLeftovers, TheNextImportRemovesThemAndSaysSo) {
    QTemporaryDir dir;
    const fs::path folder = dir.path().toStdString();
    const fs::path target = folder / "Sorakado.mdb";
    killedImport(target);
    // Not of this import's naming: another target's, a name without the 16 digits, the user's.
    for (const char* name : {".Other.mdb.import-0123456789abcdef", ".Sorakado.mdb.import-12", "メモ.txt"})
        std::ofstream(folder / name) << "keep";
    ASSERT_TRUE(filesIn(folder).count(kTemporary));

    ImportPlan plan = importLegacyLedger(kCurrency, target);
    EXPECT_THAT(plan.leftoversRemoved, ElementsAre(kTemporary, std::string(kTemporary) + "-journal"));
    EXPECT_EQ(filesIn(folder), (std::set<std::string>{"Sorakado.mdb", ".Other.mdb.import-0123456789abcdef",
                                                      ".Sorakado.mdb.import-12", "メモ.txt"}));
    EXPECT_THAT(formatReport(plan, kCurrency, target),
                HasSubstr("取り込みが残したファイルを削除しました:\n  " + std::string(kTemporary) + "\n"));
}

TEST(ImportLeftovers, TheFilesOfARunningImportAreNotLeftovers) {
    QTemporaryDir dir;
    const fs::path folder = dir.path().toStdString();
    const fs::path target = folder / "Sorakado.mdb";
    auto running = ImportLock::tryTake(target);
    ASSERT_TRUE(running);
    std::ofstream(folder / kTemporary) << "being written";

    EXPECT_EQ(cleanImportLeftovers(target), std::nullopt);
    try {
        importLegacyLedger(kCurrency, target);
        FAIL() << "imported beside a running import";
    } catch (const ImportError& e) {
        EXPECT_THAT(e.what(), HasSubstr("実行中"));
    }
    EXPECT_TRUE(fs::exists(folder / kTemporary));
    EXPECT_FALSE(fs::exists(target));

    running.reset();
    EXPECT_EQ(cleanImportLeftovers(target), std::vector<std::string>{kTemporary});
    EXPECT_TRUE(filesIn(folder).empty()) << "the lock file goes with the lock";
}

TEST(ImportLeftovers, OnlyItsOwnNamesCount) {
    EXPECT_TRUE(isImportTemporaryName(".a.mdb.import-00000000deadbeef", "a.mdb"));
    EXPECT_TRUE(isImportTemporaryName(".a.mdb.import-00000000deadbeef-journal", "a.mdb"));
    EXPECT_FALSE(isImportTemporaryName(".a.mdb.import-00000000DEADBEEF", "a.mdb"));
    EXPECT_FALSE(isImportTemporaryName(".a.mdb.import-00000000deadbeef0", "a.mdb"));
    EXPECT_FALSE(isImportTemporaryName(".a.mdb.import-00000000deadbeef-wal", "a.mdb"));
    EXPECT_FALSE(isImportTemporaryName(".b.mdb.import-00000000deadbeef", "a.mdb"));
    EXPECT_FALSE(isImportTemporaryName("a.mdb", "a.mdb"));
}

} // namespace
} // namespace sorakado::legacy
