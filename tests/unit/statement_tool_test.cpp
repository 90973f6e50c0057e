// sorakado-ledger statement, run as the user runs it on real encrypted ledgers: the rows it
// prints, what it writes, and its exit statuses.
#include "store/testing/reference_reads.h"
#include "support/ledger_tool_run.h"
#include "support/temp_ledger.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

namespace sorakado::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class StatementTool : public ::testing::Test {
protected:
    void SetUp() override {
        Ledger l = temp_.open();
        eating_ = addCategory(l, "外食");
        daily_ = addCategory(l, "日用品");
        addEntry(l, "2026/10/01", eating_, "ドトール", yen(280));
        addEntry(l, "2026/10/05", daily_, "ツルハドラッグ　札幌店", yen(1200));
    }
    fs::path write(const std::string& name, const std::string& bytes) {
        const fs::path path = temp_.folder() / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    ToolResult run(std::vector<std::string> args) {
        args.insert(args.begin(), {"statement", "--ledger", temp_.path().string()});
        return runTool(builtProgramFolder() / "sorakado-ledger", args, temp_.folder());
    }
    std::size_t entriesIn(const std::string& month) {
        Ledger ledger = temp_.open();
        return monthEntries(ledger, month).size();
    }

    TempLedger temp_;
    std::int64_t eating_ = 0, daily_ = 0;
};

const std::string kKnown = "利用日,利用店名,利用金額\r\n"
                           "2026/11/02,ﾄﾞﾄｰﾙ,300\r\n"
                           "2026/11/02,ﾄﾞﾄｰﾙ,300\r\n"
                           "2026/11/03,ﾂﾙﾊﾄﾞﾗｯｸﾞ 旭川店,\"1,500\"\r\n"
                           "小計,,\"2,100\"\r\n";

TEST_F(StatementTool, WritesWhatItKnowsOnceAndPrintsEveryRow) {
    const auto file = write("card.csv", kKnown);
    ToolResult r = run({"--dry-run", file.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2026/11/02\t外食\tﾄﾞﾄｰﾙ\t300\t新規\n"
                     "2026/11/02\t外食\tﾄﾞﾄｰﾙ\t300\t新規\n"
                     "2026/11/03\t日用品\tﾂﾙﾊﾄﾞﾗｯｸﾞ 旭川店\t1500\t新規\n");
    EXPECT_THAT(r.err, HasSubstr("--dry-run のため台帳には書き込んでいません"));
    EXPECT_EQ(entriesIn("2026/11"), 0u);

    r = run({file.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr("台帳に 3 件を書き込みました"));
    EXPECT_EQ(entriesIn("2026/11"), 3u);

    // The same file again adds nothing: every line is already there, which is done as well.
    r = run({file.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("1500\t登録済み\n"));
    EXPECT_THAT(r.err, HasSubstr("台帳に 0 件を書き込みました"));
    EXPECT_EQ(entriesIn("2026/11"), 3u);
}

TEST_F(StatementTool, RowsWaitingAndLinesUnreadableAskForAttention) {
    const auto known = write("card.csv", kKnown);
    const auto odd =
        write("odd.csv", "日付,摘要,金額\n2026/11/04,スターバックス,480\n2026/02/30,ドトール,300\n");
    const auto binary = write("picture.csv", std::string("\x89PNG\r\n\x1a\n\0\0", 10));
    ToolResult r = run({known.string(), odd.string(), binary.string()});
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_THAT(r.out, HasSubstr("2026/11/04\t\tスターバックス\t480\t品目未定\n"));
    EXPECT_THAT(r.err, HasSubstr("odd.csv」 3行目: 存在しない日付です: 2026/02/30"));
    EXPECT_THAT(r.err, HasSubstr("picture.csv」: 文字のファイルではありません"));
    EXPECT_THAT(r.err, HasSubstr("品目未定 1 件"));
    EXPECT_EQ(entriesIn("2026/11"), 3u); // the three known lines, in one change

    // Nothing left to write: the file's only line still waits.
    r = run({odd.string()});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(entriesIn("2026/11"), 3u);
    r = run({binary.string()});
    EXPECT_EQ(r.status, 1) << r.err;
    r = run({(temp_.folder() / "missing.csv").string()});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_THAT(r.err, HasSubstr("ファイルを開けません"));
}

TEST_F(StatementTool, WrongArgumentsAndAMissingLedger) {
    const auto file = write("card.csv", kKnown);
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"--dry-run"}, {"--unknown", file.string()}}) {
        const ToolResult r = run(args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_THAT(r.err, HasSubstr("使い方: sorakado-ledger statement"));
    }
    const ToolResult r = runTool(
        builtProgramFolder() / "sorakado-ledger",
        {"statement", "--ledger", (temp_.folder() / "none.mdb").string(), file.string()}, temp_.folder());
    EXPECT_EQ(r.status, 1) << r.err;
}

} // namespace
} // namespace sorakado::testing
