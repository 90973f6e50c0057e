// sorakado-ledger's shared conventions, run as the user runs it: help and version on standard
// output, one Japanese line on standard error for every refusal, and the documented statuses.

#include "support/ledger_tool_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>

namespace sorakado::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

class LedgerTool : public ::testing::Test {
protected:
    ToolResult run(const std::vector<std::string>& args) {
        return runTool(builtProgramFolder() / "sorakado-ledger", args, folder());
    }
    fs::path folder() const { return dir_.path().toStdString(); }

    QTemporaryDir dir_;
};

// One line, prefixed with the program's name, with Japanese in it.
void expectOneJapaneseLine(const std::string& err) {
    EXPECT_THAT(err, StartsWith("sorakado-ledger: "));
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_TRUE(std::any_of(err.begin(), err.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0xE3;
    })) << err;
}

TEST_F(LedgerTool, HelpGoesToStandardOutputAndListsEveryVerbAndStatus) {
    for (const char* flag : {"--help", "-h"}) {
        ToolResult r = run({flag});
        EXPECT_EQ(r.status, 0) << flag;
        EXPECT_THAT(r.err, IsEmpty());
        EXPECT_THAT(r.out, AllOf(HasSubstr("使い方: sorakado-ledger"), HasSubstr("  create [台帳]"),
                                 HasSubstr("  import 旧台帳.mdb [台帳]"), HasSubstr("--version"),
                                 HasSubstr("終了ステータス")));
    }
    // Asked of a verb, the same help.
    ToolResult r = run({"create", "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.out, HasSubstr("使い方: sorakado-ledger"));
    EXPECT_FALSE(fs::exists(folder() / "--help"));
}

TEST_F(LedgerTool, VersionIsTheProgramsVersion) {
    ToolResult r = run({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "sorakado-ledger 1.0.3\n");
}

TEST_F(LedgerTool, WrongArgumentsAreOneJapaneseLineAndStatusTwo) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"frob"}, {"create", "a.mdb", "b.mdb"}, {"import"}, {"import", "a", "b", "c"}}) {
        ToolResult r = run(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_THAT(r.out, IsEmpty());
        expectOneJapaneseLine(r.err);
    }
    EXPECT_FALSE(fs::exists(folder() / "a.mdb"));
}

TEST_F(LedgerTool, CreateMakesAPrivateLedgerOnceAndRefusesTheSecondTime) {
    const auto path = folder() / "new.mdb";
    ToolResult first = run({"create", path.string()});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_THAT(first.out, HasSubstr("台帳を作成しました"));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    ToolResult second = run({"create", path.string()});
    EXPECT_EQ(second.status, 1);
    expectOneJapaneseLine(second.err);
}

TEST_F(LedgerTool, CreateWithoutAPathMakesTheLedgerBesideTheProgram) {
    const auto tool = copyToolInto(folder());
    ToolResult r = runTool(tool, {"create"}, folder());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_regular_file(folder() / "Sorakado.mdb"));
}

} // namespace
} // namespace sorakado::testing
