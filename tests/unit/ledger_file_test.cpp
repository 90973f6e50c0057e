// Creating and opening ledger files: the shape of a new ledger, and every way a file can be
// refused at open without being touched.

#include "ledger_test_support.h"
#include "support/temp_ledger.h"

#include "store/ledger.h"
#include "store/ledger_error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <memory>
#include <random>

namespace sorakado::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;
using Kind = LedgerError::Kind;

// The tables and columns other tools read, as the ledger's design lists them.
const TableShape kLedgerShape = {
    {"名前", {"名前ID", "名前"}},
    {"収入", {"名前ID", "年月", "収入"}},
    {"品目", {"品目ID", "品目"}},
    {"DATA", {"DATAID", "年月日", "品目ID", "内容", "金額"}},
};

// The ledger's tables, less one table ("DATA") or one column ("DATA.金額").
TableShape shapeWithout(const std::string& omit) {
    TableShape shape;
    for (const auto& [table, columns] : kLedgerShape) {
        if (table == omit)
            continue;
        std::vector<std::string> kept;
        for (const auto& c : columns)
            if (table + "." + c != omit)
                kept.push_back(c);
        shape.emplace_back(table, kept);
    }
    return shape;
}

// Everything under a folder: names, modes and contents, to prove nothing was written or left behind.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        auto mode = std::to_string(static_cast<int>(e.status().permissions()));
        out[fs::relative(e.path(), folder).string()] =
            mode + (e.is_directory() ? " <dir>" : " " + fileBytes(e.path()));
    }
    return out;
}

class LedgerFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir_;
    fs::path folder_ = dir_.path().toStdString();
    fs::path path_ = folder_ / Ledger::kFileName;
};

TEST_F(LedgerFileTest, CreateMakesTheFourTablesWithTheirColumns) {
    Ledger::create(path_);
    OtherProgram db(path_);
    for (const auto& [table, columns] : kLedgerShape)
        EXPECT_EQ(db.columnsOf(table), columns) << table;

    auto ledger = Ledger::open(path_);
    EXPECT_TRUE(ledger.members().empty());
    EXPECT_TRUE(ledger.categories().empty());
}

TEST_F(LedgerFileTest, CreatedFileIsPrivateAndEncryptedWhateverTheUmask) {
    mode_t old = ::umask(0);
    Ledger::create(path_);
    ::umask(old);

    struct stat st {};
    ASSERT_EQ(::stat(path_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    std::string header = fileBytes(path_).substr(0, 16);
    EXPECT_NE(header, std::string("SQLite format 3\0", 16));
    // Neither a reader without the password nor one with another password sees the tables.
    EXPECT_ANY_THROW(OtherProgram(path_, std::nullopt).tableNames());
    EXPECT_ANY_THROW(OtherProgram(path_, "73921kqZ").tableNames());
    EXPECT_THAT(OtherProgram(path_).tableNames(), Contains("DATA"));
}

TEST_F(LedgerFileTest, CreateRefusesAnExistingPathAndLeavesItAlone) {
    const std::map<std::string, std::function<void(const fs::path&)>> existing = {
        {"some other file", [](const fs::path& p) { writeFile(p, "家計簿ではない\n"); }},
        {"a ledger", [](const fs::path& p) { Ledger::create(p); }},
        {"a folder", [](const fs::path& p) { fs::create_directory(p); }},
    };
    for (const auto& [what, make] : existing) {
        SCOPED_TRACE(what);
        fs::remove_all(path_);
        make(path_);
        auto before = snapshot(folder_);
        try {
            Ledger::create(path_);
            ADD_FAILURE() << "created over " << what;
        } catch (const LedgerError& e) {
            EXPECT_EQ(e.kind(), Kind::Exists);
            EXPECT_THAT(e.description(), HasSubstr(path_.string()));
        }
        EXPECT_EQ(snapshot(folder_), before);
    }
}

TEST_F(LedgerFileTest, KeysOfDeletedRowsAreNeverHandedOutAgain) {
    Ledger::create(path_);
    auto ledger = Ledger::open(path_);
    addMember(ledger, "太郎");
    auto gone = addMember(ledger, "花子");
    deleteMemberRow(ledger, gone);
    EXPECT_GT(addMember(ledger, "次郎"), gone);
}

// ---- Refusals at open --------------------------------------------------------------------

// A file the store must refuse. make() puts it at the path (omit names the table or column a
// shapeless ledger lacks) and may return a connection that must stay open during the attempt.
using Holder = std::unique_ptr<OtherProgram>;
struct OpenRefusal {
    const char* name;
    Holder (*make)(const fs::path&, const std::string& omit);
    Kind kind;
    std::string omit = "";
};

void PrintTo(const OpenRefusal& c, std::ostream* os) {
    *os << c.name;
}

Holder nothing(const fs::path&, const std::string&) {
    return nullptr;
}
Holder folder(const fs::path& p, const std::string&) {
    fs::create_directory(p);
    return nullptr;
}
Holder randomBytes(const fs::path& p, const std::string&) {
    std::mt19937 gen(7);
    std::string bytes(8192, '\0');
    for (auto& b : bytes)
        b = static_cast<char>(gen());
    writeFile(p, bytes);
    return nullptr;
}
Holder emptyFile(const fs::path& p, const std::string&) {
    writeFile(p, "");
    return nullptr;
}
Holder plainSqlite(const fs::path& p, const std::string&) {
    OtherProgram(p, std::nullopt, true).createTables(kLedgerShape);
    return nullptr;
}
Holder otherPassword(const fs::path& p, const std::string&) {
    OtherProgram(p, "73921kqZ", true).createTables(kLedgerShape);
    return nullptr;
}
Holder shapeless(const fs::path& p, const std::string& omit) {
    OtherProgram(p, ledgerKey(), true).createTables(shapeWithout(omit));
    return nullptr;
}
Holder readOnly(const fs::path& p, const std::string&) {
    Ledger::create(p);
    fs::permissions(p, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    return nullptr;
}
// Another program in the middle of a change, holding the file exclusively or not.
Holder lockedBy(const fs::path& p, const std::string& hold) {
    Ledger::create(p);
    auto holder = std::make_unique<OtherProgram>(p);
    hold == "exclusive" ? holder->beginExclusive() : holder->beginChange();
    holder->addCategory("書きかけ");
    return holder;
}

const OpenRefusal kOpenRefusals[] = {
    {"Missing", nothing, Kind::Missing},
    {"Folder", folder, Kind::NotLedger},
    {"RandomBytes", randomBytes, Kind::NotLedger},
    {"PlainSqlite", plainSqlite, Kind::NotLedger},
    {"OtherPassword", otherPassword, Kind::NotLedger},
    {"EmptyFile", emptyFile, Kind::NotLedger},
    {"NoMemberTable", shapeless, Kind::MissingTable, "名前"},
    {"NoIncomeTable", shapeless, Kind::MissingTable, "収入"},
    {"NoCategoryTable", shapeless, Kind::MissingTable, "品目"},
    {"NoEntryTable", shapeless, Kind::MissingTable, "DATA"},
    {"NoMemberName", shapeless, Kind::MissingTable, "名前.名前"},
    {"NoIncomeMonth", shapeless, Kind::MissingTable, "収入.年月"},
    {"NoCategoryKey", shapeless, Kind::MissingTable, "品目.品目ID"},
    {"NoEntryAmount", shapeless, Kind::MissingTable, "DATA.金額"},
    {"ReadOnly", readOnly, Kind::ReadOnly},
    {"LockedExclusive", lockedBy, Kind::Locked, "exclusive"},
    {"LockedImmediate", lockedBy, Kind::Locked, "change"},
};

class OpenRefusalTest : public LedgerFileTest, public ::testing::WithParamInterface<OpenRefusal> {};

TEST_P(OpenRefusalTest, FailsAtOpenNamingThePathAndLeavesTheFileUnchanged) {
    auto holder = GetParam().make(path_, GetParam().omit);
    auto before = snapshot(folder_);
    try {
        (void)Ledger::open(path_);
        ADD_FAILURE() << "the ledger opened";
    } catch (const LedgerError& e) {
        EXPECT_EQ(e.kind(), GetParam().kind) << e.description();
        EXPECT_THAT(e.description(), HasSubstr("台帳"));
        EXPECT_THAT(e.description(), HasSubstr(path_.string()));
        if (GetParam().kind == Kind::MissingTable) { // names what is missing: the table, or the column
            const auto& omit = GetParam().omit;
            EXPECT_THAT(e.description(), HasSubstr(omit.substr(omit.find('.') + 1)));
        }
    }
    EXPECT_EQ(snapshot(folder_), before);
}

INSTANTIATE_TEST_SUITE_P(Files, OpenRefusalTest, ::testing::ValuesIn(kOpenRefusals),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(LedgerFileTest, AMissingLedgerSaysHowToMakeOne) {
    try {
        (void)Ledger::open(path_);
        ADD_FAILURE() << "the ledger opened";
    } catch (const LedgerError& e) {
        EXPECT_EQ(e.kind(), Kind::Missing);
        EXPECT_THAT(e.description(),
                    AllOf(HasSubstr("sorakado-ledger create"), HasSubstr("sorakado-ledger import")));
    }
}

// Opens path as a user who neither owns the file nor is root (when the test runs as root), or as
// the owner with the read bit taken away; gives the error's kind and description.
std::pair<Kind, std::string> openAsOutsider(const fs::path& path) {
    if (::geteuid() != 0) {
        fs::permissions(path, fs::perms::owner_write);
        try {
            (void)Ledger::open(path);
        } catch (const LedgerError& e) {
            return {e.kind(), e.description()};
        }
        return {Kind::Failed, "opened"};
    }
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {Kind::Failed, "no pipe"};
    pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        std::string report = "opened";
        Kind kind = Kind::Failed;
        if (::setgid(65534) == 0 && ::setuid(65534) == 0) {
            try {
                (void)Ledger::open(path);
            } catch (const LedgerError& e) {
                kind = e.kind();
                report = e.description();
            }
        } else {
            report = "could not become another user";
        }
        report = std::to_string(static_cast<int>(kind)) + " " + report;
        [[maybe_unused]] auto written = ::write(pipeFds[1], report.data(), report.size());
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string got;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        got.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    ::waitpid(child, nullptr, 0);
    const auto space = got.find(' ');
    if (space == std::string::npos)
        return {Kind::Failed, got};
    return {static_cast<Kind>(std::stoi(got.substr(0, space))), got.substr(space + 1)};
}

TEST_F(LedgerFileTest, ALedgerThisUserMayNotUseIsDescribedAsAMatterOfPermissionNotAsReadOnly) {
    Ledger::create(path_);
    // The folder is the test's private one; another user must at least reach the file.
    fs::permissions(folder_, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    auto before = snapshot(folder_);
    auto [kind, description] = openAsOutsider(path_);
    EXPECT_EQ(kind, Kind::NoPermission) << description;
    EXPECT_THAT(description,
                AllOf(HasSubstr("権限"), Not(HasSubstr("読み取り専用")), HasSubstr(path_.string())));
    fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(snapshot(folder_), before);
}

TEST_F(LedgerFileTest, OpenedLedgerKeepsWorkingAfterTheOtherProgramLetsGo) {
    auto holder = lockedBy(path_, "change");
    EXPECT_THROW((void)Ledger::open(path_), LedgerError);
    holder->rollback();
    auto ledger = Ledger::open(path_);
    EXPECT_TRUE(ledger.categories().empty()); // the other program's unfinished change never arrived
}

} // namespace
} // namespace sorakado::testing
