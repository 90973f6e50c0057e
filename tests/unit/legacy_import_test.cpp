// Importing old Access ledgers: every row and column of the three sample files arrives as it
// was stored, keys go on above the old ones, the month figures add up as before, and a file
// that cannot be read leaves nothing behind.

#include "ledgertool/decimal_text.h"
#include "ledgertool/import_plan.h"
#include "ledgertool/import_report.h"
#include "ledgertool/legacy_import.h"
#include "ledgertool/legacy_reader.h"
#include "store/ledger.h"
#include "store/ledger_import_writer.h"
#include "store/testing/ledger_seed.h"
#include "store/testing/stored_rows.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <sys/wait.h>

namespace sorakado {
inline void PrintTo(const Amount& a, std::ostream* os) {
    *os << a.text();
}
} // namespace sorakado

namespace sorakado::legacy {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const fs::path kFixtures = SORAKADO_LEGACY_FIXTURES;

// ---------------------------------------------------------------------------------------------
// Reading the new ledger back, independently of the importer's own check.

// A cell as the test compares it: Null, text, or an amount's text with its storage class.
using Cell = std::optional<std::string>;
using Row = std::vector<Cell>;

struct Table {
    std::vector<Row> rows;
    std::vector<std::string> amountClasses; // typeof() of the amount column, per row
};

// Reads the columns of every row in the given order; the amount column comes back as its Amount
// text, with its storage class kept apart.
Table readTable(Ledger& ledger, const std::string& table, const std::vector<std::string>& columns,
                const std::string& orderBy, int amountColumn = -1) {
    Table t;
    for (const auto& stored : testing::storedRows(ledger, table, columns, orderBy)) {
        Row row;
        for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
            if (c == amountColumn) {
                const auto& amount = stored[c].amount;
                row.push_back(amount ? std::optional(amount->text()) : std::nullopt);
                t.amountClasses.push_back(stored[c].type);
            } else {
                row.push_back(stored[c].text);
            }
        }
        t.rows.push_back(std::move(row));
    }
    return t;
}

// Each entry's description (内容) as stored, by entry key.
std::map<std::int64_t, testing::StoredValue> descriptionsByKey(Ledger& ledger) {
    std::map<std::int64_t, testing::StoredValue> out;
    for (const auto& row : testing::storedRows(ledger, "DATA", {"DATAID", "内容"}))
        out[std::stoll(*row[0].text)] = row[1];
    return out;
}

struct LedgerTables {
    Table members, incomes, categories, entries;
};

LedgerTables readAll(const fs::path& path) {
    Ledger ledger = Ledger::open(path);
    LedgerTables t;
    t.members = readTable(ledger, "名前", {"名前ID", "名前"}, "名前ID");
    t.incomes = readTable(ledger, "収入", {"名前ID", "年月", "収入"}, "rowid", 2);
    t.categories = readTable(ledger, "品目", {"品目ID", "品目"}, "品目ID");
    t.entries = readTable(ledger, "DATA", {"DATAID", "年月日", "品目ID", "内容", "金額"}, "DATAID", 4);
    return t;
}

// ---------------------------------------------------------------------------------------------
// The expected content, from the .expected.json beside each sample file.

QJsonObject loadExpected(const std::string& sample) {
    QFile file(QString::fromStdString((kFixtures / (sample + ".expected.json")).string()));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read the expected content of " + sample);
    return QJsonDocument::fromJson(file.readAll()).object();
}

Cell cell(const QJsonValue& v) {
    if (v.isNull())
        return std::nullopt;
    if (v.isDouble())
        return std::to_string(static_cast<long long>(v.toDouble()));
    return v.toString().toStdString();
}

// The rows of one table as the JSON lists them (storage order), in the given columns.
std::vector<Row> expectedRows(const QJsonObject& expected, const char* table,
                              std::vector<const char*> columns) {
    std::vector<Row> rows;
    for (const auto& r : expected["tables"].toObject()[table].toArray()) {
        Row row;
        for (const char* c : columns)
            row.push_back(cell(r.toObject()[c]));
        rows.push_back(row);
    }
    return rows;
}

std::vector<Row> byFirstColumnAsNumber(std::vector<Row> rows) {
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return std::stoll(*a[0]) < std::stoll(*b[0]); });
    return rows;
}

// ---------------------------------------------------------------------------------------------
// Files and folders.

void copyFile(const fs::path& from, const fs::path& to, std::optional<std::size_t> bytes = std::nullopt) {
    std::ifstream in(from, std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes)
        data.resize(*bytes);
    std::ofstream(to, std::ios::binary).write(data.data(), std::streamsize(data.size()));
    fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write);
}

std::set<std::string> filesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

class Folder {
public:
    fs::path path() const { return dir_.path().toStdString(); }
    fs::path operator/(const std::string& name) const { return path() / name; }

private:
    QTemporaryDir dir_;
};

// ---------------------------------------------------------------------------------------------
// The three sample files: Currency, Long and Double amounts.

class SampleImport : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        expected_ = loadExpected(GetParam());
        plan_ = importLegacyLedger(oldFile(), target());
    }
    fs::path oldFile() const { return kFixtures / (std::string(GetParam()) + ".mdb"); }
    fs::path target() const { return folder_ / "Sorakado.mdb"; }

    Folder folder_;
    QJsonObject expected_;
    ImportPlan plan_;
};

TEST_P(SampleImport, CarriesEveryRowAndColumnAsStored) {
    LedgerTables got = readAll(target());

    EXPECT_EQ(got.members.rows, byFirstColumnAsNumber(expectedRows(expected_, "名前", {"名前ID", "名前"})));
    EXPECT_EQ(got.categories.rows,
              byFirstColumnAsNumber(expectedRows(expected_, "品目", {"品目ID", "品目"})));
    EXPECT_EQ(got.entries.rows, byFirstColumnAsNumber(expectedRows(
                                    expected_, "DATA", {"DATAID", "年月日", "品目ID", "内容", "金額"})));

    // Incomes keep their order; the one row written with a one-digit month is the only change.
    auto incomes = expectedRows(expected_, "収入", {"名前ID", "年月", "収入"});
    ASSERT_EQ(incomes[0], (Row{"1", "2006/4", "300000"}));
    incomes[0][1] = "2006/04";
    EXPECT_EQ(got.incomes.rows, incomes);
}

TEST_P(SampleImport, StoresWholeAmountsAsIntegersAndFractionsAsReals) {
    LedgerTables got = readAll(target());
    auto check = [](const Table& t, int amountColumn) {
        for (std::size_t i = 0; i < t.rows.size(); ++i) {
            const auto& amount = t.rows[i][amountColumn];
            ASSERT_TRUE(amount.has_value());
            EXPECT_EQ(t.amountClasses[i], amount->find('.') == std::string::npos ? "integer" : "real")
                << "amount " << *amount;
        }
    };
    check(got.incomes, 2);
    check(got.entries, 4);
}

TEST_P(SampleImport, KeepsNullAndEmptyDescriptionsApart) {
    Ledger ledger = Ledger::open(target());
    auto descriptions = descriptionsByKey(ledger);
    ASSERT_TRUE(descriptions.contains(7) && descriptions.contains(8));
    EXPECT_EQ(descriptions[7].type, "text");
    EXPECT_EQ(descriptions[7].text, "");
    EXPECT_EQ(descriptions[8].type, "null");
}

TEST_P(SampleImport, NewRowsContinueAboveTheHighestOldKey) {
    Ledger ledger = Ledger::open(target());
    EXPECT_EQ(autoincrementCounter(ledger, "名前"), 5);
    EXPECT_EQ(autoincrementCounter(ledger, "品目"), 6);
    EXPECT_EQ(autoincrementCounter(ledger, "DATA"), 41);

    EXPECT_EQ(testing::addMember(ledger, "新"), 6);
    EXPECT_EQ(testing::addCategory(ledger, "新"), 7);
    EXPECT_EQ(testing::addEntry(ledger, "2008/01/01", 1, "新", Amount::fromYen(1)), 42);
}

TEST_P(SampleImport, MonthTotalsReadThroughTheStoreMatchTheOldFile) {
    Ledger ledger = Ledger::open(target());
    const auto summary = expected_["summary"].toObject();
    for (const char* year : {"2006", "2007"}) {
        Amount incomes, expenses;
        for (const auto& m : ledger.yearIncomeSums(year))
            incomes += m.value_or(Amount());
        for (const auto& m : ledger.yearExpenseSums(year))
            expenses += m.value_or(Amount());
        EXPECT_EQ(incomes.text(), summary["収入"]["per_year"][year]["sum"].toString().toStdString()) << year;
        EXPECT_EQ(expenses.text(), summary["DATA"]["per_year"][year]["sum"].toString().toStdString()) << year;
    }
    EXPECT_THAT(ledger.monthSumDifferences(), IsEmpty()); // the import kept the stored sums
    // The one-digit April row now shows in April, beside the other members' April incomes.
    std::vector<std::int64_t> aprilMembers;
    for (const auto& income : ledger.monthIncomes("2006/04"))
        aprilMembers.push_back(income.memberKey);
    EXPECT_THAT(aprilMembers, ElementsAre(1, 2, 5));
}

TEST_P(SampleImport, ReportsTheNormalisedMonthAndTheEntryWithoutCategory) {
    EXPECT_TRUE(plan_.complete());
    EXPECT_THAT(plan_.notImported, IsEmpty());
    EXPECT_THAT(plan_.decisions, IsEmpty());
    ASSERT_EQ(plan_.changed.size(), 1u);
    EXPECT_EQ(plan_.changed[0].table, "収入");
    EXPECT_THAT(plan_.changed[0].reason, HasSubstr("2006/04"));
    ASSERT_EQ(plan_.hidden.size(), 1u);
    EXPECT_THAT(plan_.hidden[0].row, HasSubstr("DATAID 9"));

    std::string report = formatReport(plan_, oldFile(), target());
    for (const char* line : {"名前: 読み込み 4 行、書き込み 4 行", "収入: 読み込み 13 行、書き込み 13 行",
                             "品目: 読み込み 5 行、書き込み 5 行", "DATA: 読み込み 40 行、書き込み 40 行",
                             "すべての行を取り込みました。"})
        EXPECT_THAT(report, HasSubstr(line));
}

TEST_P(SampleImport, LeavesOnlyTheNewLedgerInItsFolder) {
    EXPECT_EQ(filesIn(folder_.path()), std::set<std::string>{"Sorakado.mdb"});
    EXPECT_EQ(fs::status(target()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleImport,
                         ::testing::Values("small-currency", "small-long", "small-double"),
                         [](const auto& test) {
                             std::string name = test.param;
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });

// ---------------------------------------------------------------------------------------------
// The user's environment cannot bend what is read.

// Sets an environment variable for one test and puts back what was there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

Cell description(const fs::path& ledger, std::int64_t key) {
    Ledger l = Ledger::open(ledger);
    auto descriptions = descriptionsByKey(l);
    return descriptions.contains(key) ? descriptions[key].text : std::nullopt;
}

TEST(LegacyImportEnvironment, TextStaysUtf8WhateverMdbiconvSays) {
    Folder folder;
    ScopedEnv latin1("MDBICONV", "ISO-8859-1");
    importLegacyLedger(kFixtures / "small-currency.mdb", folder / "new.mdb");
    EXPECT_EQ(description(folder / "new.mdb", 16), "ｶﾞｿﾘﾝ代");
    EXPECT_EQ(description(folder / "new.mdb", 35), "9/1～9/3 旅行 お土産");
    EXPECT_EQ(description(folder / "new.mdb", 37), "① 町内会費");
}

// A locale whose decimal separator is a comma, built into folder when the system lacks one.
bool useCommaLocale(const fs::path& folder) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
        if (std::setlocale(LC_ALL, name) && std::string(std::localeconv()->decimal_point) == ",")
            return true;
    std::string command =
        "localedef -i de_DE -f UTF-8 '" + (folder / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return false;
    ::setenv("LOCPATH", folder.c_str(), 1);
    bool ok = std::setlocale(LC_ALL, "de_DE.UTF-8") && std::string(std::localeconv()->decimal_point) == ",";
    return ok;
}

TEST(LegacyImportEnvironment, DoubleAmountsReadTheSameUnderADecimalCommaLocale) {
    Folder folder;
    if (!useCommaLocale(folder.path())) {
        std::setlocale(LC_ALL, "C");
        ::unsetenv("LOCPATH");
        GTEST_SKIP() << "no locale with a decimal comma can be had here";
    }
    ImportPlan plan;
    try {
        plan = importLegacyLedger(kFixtures / "small-double.mdb", folder / "new.mdb");
    } catch (...) {
        std::setlocale(LC_ALL, "C");
        ::unsetenv("LOCPATH");
        throw;
    }
    std::setlocale(LC_ALL, "C");
    ::unsetenv("LOCPATH");

    EXPECT_TRUE(plan.complete());
    Ledger ledger = Ledger::open(folder / "new.mdb");
    std::vector<std::string> amounts;
    for (const auto& row : testing::storedRows(ledger, "DATA", {"DATAID", "金額"}, "DATAID"))
        if (row[0].text == "5" || row[0].text == "11" || row[0].text == "17")
            amounts.push_back(row[1].amount->text());
    EXPECT_THAT(amounts, ElementsAre("1234.5", "-500", "987654321"));
}

// ---------------------------------------------------------------------------------------------
// Files that cannot be imported: a clear message, and no file left behind.

// Renames a table in the old file's catalogue, so the file lacks it.
void renameTableInCatalogue(const fs::path& file, const std::string& from, const std::string& to) {
    auto utf16 = [](const std::string& ascii) {
        std::string out;
        for (char c : ascii)
            out += std::string{c, '\0'};
        return out;
    };
    std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    std::size_t at = data.find(utf16(from));
    ASSERT_NE(at, std::string::npos);
    f.seekp(std::streamoff(at));
    f.write(utf16(to).data(), std::streamsize(utf16(to).size()));
}

struct BadOldFile {
    const char* name;
    std::function<void(const fs::path&)> make;
    const char* message;
};

void PrintTo(const BadOldFile& f, std::ostream* os) {
    *os << f.name;
}

class UnreadableOldFile : public ::testing::TestWithParam<BadOldFile> {};

TEST_P(UnreadableOldFile, GivesAMessageAndWritesNothing) {
    Folder source, folder;
    fs::path old = source / "old.mdb";
    GetParam().make(old);
    try {
        importLegacyLedger(old, folder / "Sorakado.mdb");
        FAIL() << "imported";
    } catch (const ImportError& e) {
        EXPECT_THAT(e.what(), HasSubstr(GetParam().message));
    }
    EXPECT_THAT(filesIn(folder.path()), IsEmpty());
}

const fs::path kCurrency = kFixtures / "small-currency.mdb";

INSTANTIATE_TEST_SUITE_P(
    Files, UnreadableOldFile,
    ::testing::Values(
        BadOldFile{"Missing", [](const fs::path&) {}, "見つかりません"},
        BadOldFile{"Folder", [](const fs::path& p) { fs::create_directory(p); },
                   "Microsoft Access（Jet）のデータベースではありません"},
        BadOldFile{"TextFile", [](const fs::path& p) { std::ofstream(p) << "名前,収入\n太郎,300000\n"; },
                   "Microsoft Access（Jet）のデータベースではありません"},
        BadOldFile{"EmptyFile", [](const fs::path& p) { std::ofstream{p}; },
                   "Microsoft Access（Jet）のデータベースではありません"},
        BadOldFile{"NewLedger", [](const fs::path& p) { Ledger::create(p); },
                   "Microsoft Access（Jet）のデータベースではありません"},
        // Cut inside a page, at a page boundary before the catalogue, and at the boundary just
        // before the last data page, where mdbtools alone would quietly return an empty table.
        BadOldFile{"CutInsideAPage", [](const fs::path& p) { copyFile(kCurrency, p, 100000); },
                   "途中で切れているか壊れています"},
        BadOldFile{"CutBeforeTheCatalogue", [](const fs::path& p) { copyFile(kCurrency, p, 8192); },
                   "途中で切れているか壊れています"},
        BadOldFile{"CutBeforeTheLastPage", [](const fs::path& p) { copyFile(kCurrency, p, 42 * 4096); },
                   "表「DATA」は 40 行のはずですが、0 行しか"},
        BadOldFile{"WithoutDataTable",
                   [](const fs::path& p) {
                       copyFile(kCurrency, p);
                       renameTableInCatalogue(p, "DATA", "DATB");
                   },
                   "表「DATA」がありません"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(LegacyImportTarget, RefusesAnExistingFileAndLeavesItAsItWas) {
    Folder folder;
    fs::path target = folder / "Sorakado.mdb";
    std::ofstream(target) << "keep me";
    try {
        importLegacyLedger(kCurrency, target);
        FAIL() << "overwrote";
    } catch (const ImportError& e) {
        EXPECT_THAT(e.what(), HasSubstr("はすでにあり"));
    }
    std::ifstream in(target);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep me");
    EXPECT_EQ(filesIn(folder.path()), std::set<std::string>{"Sorakado.mdb"});
}

TEST(LegacyImportTarget, RefusesAFolderThatDoesNotExist) {
    Folder folder;
    EXPECT_THROW(importLegacyLedger(kCurrency, folder / "missing" / "Sorakado.mdb"), ImportError);
    EXPECT_THAT(filesIn(folder.path()), IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// The command itself: its report and its exit status.

struct ToolRun {
    int status;
    std::string out, err;
};

ToolRun runLedgerTool(const std::string& args, const fs::path& folder) {
    // CTest names the folder; run by hand, the tool sits beside this test.
    const char* bin = std::getenv("SORAKADO_BIN");
    fs::path folderOfTool = bin ? fs::path(bin) : fs::read_symlink("/proc/self/exe").parent_path();
    std::string command = "'" + (folderOfTool / "sorakado-ledger").string() + "' " + args + " >'" +
                          (folder / "out.txt").string() + "' 2>'" + (folder / "err.txt").string() + "'";
    int raw = std::system(command.c_str());
    auto slurp = [](const fs::path& p) {
        std::ifstream in(p);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    ToolRun r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(folder / "out.txt"), slurp(folder / "err.txt")};
    fs::remove(folder / "out.txt");
    fs::remove(folder / "err.txt");
    return r;
}

TEST(LedgerToolImport, PrintsTheReportAndExitsZeroWhenEveryRowArrived) {
    Folder folder;
    fs::path target = folder / "new.mdb";
    ToolRun r = runLedgerTool("import '" + kCurrency.string() + "' '" + target.string() + "'", folder.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, AllOf(HasSubstr("DATA: 読み込み 40 行、書き込み 40 行"),
                             HasSubstr("月が1桁のため、次のように書き直しました: 2006/04"),
                             HasSubstr("DATAID 9"), HasSubstr("すべての行を取り込みました。")));

    ToolRun again =
        runLedgerTool("import '" + kCurrency.string() + "' '" + target.string() + "'", folder.path());
    EXPECT_EQ(again.status, 1);
    EXPECT_THAT(again.err, AllOf(HasSubstr("はすでにあり"), HasSubstr("何も書き込んでいません。")));
}

// ---------------------------------------------------------------------------------------------
// Row by row: what happens to rows the old program kept but could never show, or that cannot
// be placed at all.

LegacyTable table(const char* name, std::vector<std::vector<LegacyValue>> rows) {
    LegacyTable t;
    t.name = name;
    t.rows = std::move(rows);
    return t;
}

LegacyFile fileWithIncomes(std::vector<std::vector<LegacyValue>> incomes) {
    LegacyFile f;
    f.members = table("名前", {{"1", "太郎"}, {"2", "花子"}});
    f.incomes = table("収入", std::move(incomes));
    f.categories = table("品目", {{"1", "食費"}});
    f.entries = table("DATA", {});
    return f;
}

std::vector<std::optional<std::string>> monthKeys(const ImportPlan& plan) {
    std::vector<std::optional<std::string>> keys;
    for (const auto& i : plan.rows.incomes)
        keys.push_back(i.monthKey);
    return keys;
}

TEST(LegacyImportIncomes, OneDigitMonthIsWrittenWithTwoDigitsWhenTheMonthIsFree) {
    // 花子's 2006/04 is another member's month: no collision.
    auto plan = planImport(fileWithIncomes({{"1", "2006/4", "300000"}, {"2", "2006/04", "80000"}}));
    EXPECT_THAT(monthKeys(plan), ElementsAre("2006/04", "2006/04"));
    EXPECT_TRUE(plan.complete());
    EXPECT_EQ(plan.changed.size(), 1u);
}

TEST(LegacyImportIncomes, CollidingMonthsAreAllKeptAsTheyWereAndLeftToTheUser) {
    auto plan = planImport(fileWithIncomes({{"1", "2006/4", "300000"}, {"1", "2006/04", "310000"}}));
    EXPECT_THAT(monthKeys(plan), ElementsAre("2006/4", "2006/04"));
    EXPECT_EQ(plan.rows.incomes[0].amount, Amount::fromYen(300000));
    EXPECT_EQ(plan.rows.incomes[1].amount, Amount::fromYen(310000));
    EXPECT_FALSE(plan.complete());
    EXPECT_THAT(plan.changed, IsEmpty());
    ASSERT_EQ(plan.decisions.size(), 2u);
    EXPECT_THAT(plan.decisions[0].row, HasSubstr("\"2006/4\""));
    EXPECT_THAT(plan.decisions[1].row, HasSubstr("\"2006/04\""));

    std::string report = formatReport(plan, "old.mdb", "new.mdb");
    EXPECT_THAT(report, AllOf(HasSubstr("判断が必要な行（2 行）:"), HasSubstr("何も合算していません"),
                              HasSubstr("取り込めなかった行、または判断が必要な行があります")));
}

TEST(LegacyImportIncomes, TwoOneDigitRowsOfOneMonthAlsoCollide) {
    auto plan = planImport(fileWithIncomes({{"1", "2006/4", "1"}, {"1", "2006/4", "2"}}));
    EXPECT_THAT(monthKeys(plan), ElementsAre("2006/4", "2006/4"));
    EXPECT_EQ(plan.decisions.size(), 2u);
}

TEST(LegacyImportIncomes, RowsTheProgramNeverListedAreCarriedOverAndNamed) {
    auto plan = planImport(fileWithIncomes({{"7", "2006/04", "1"}, // member gone
                                            {std::nullopt, "2006/04", "2"},
                                            {"1", "2006/13", "3"},
                                            {"1", std::nullopt, std::nullopt},
                                            {"2", "2006/05", "4"},    // listed twice, as before,
                                            {"2", "2006/05", "5"}})); // so nothing to report
    EXPECT_EQ(plan.rows.incomes.size(), 6u);
    EXPECT_TRUE(plan.complete());
    EXPECT_THAT(plan.changed, IsEmpty());
    EXPECT_EQ(plan.hidden.size(), 4u);
    EXPECT_FALSE(plan.rows.incomes[1].memberKey.has_value());
    EXPECT_FALSE(plan.rows.incomes[3].amount.has_value());
}

// The window lists the years 1900 to 3000: a month key of another year is carried over out of
// view, whether it had two digits or one.
TEST(LegacyImportIncomes, MonthsOfYearsTheWindowCannotListAreNamedAsOutOfView) {
    auto plan = planImport(fileWithIncomes({{"1", "1899/12", "1"},
                                            {"1", "1900/01", "2"},
                                            {"1", "1999/12", "3"},
                                            {"1", "3000/12", "4"},
                                            {"1", "3001/01", "5"},
                                            {"1", "1850/4", "6"}}));
    EXPECT_THAT(monthKeys(plan),
                ElementsAre("1899/12", "1900/01", "1999/12", "3000/12", "3001/01", "1850/04"));
    ASSERT_EQ(plan.hidden.size(), 3u);
    EXPECT_THAT(plan.hidden[0].row, HasSubstr("1899/12"));
    EXPECT_THAT(plan.hidden[1].row, HasSubstr("3001/01"));
    EXPECT_THAT(plan.hidden[2].row, HasSubstr("1850/4"));
}

TEST(LegacyImportEntries, RowsThatCannotBePlacedAreReportedAndTheRestWritten) {
    LegacyFile f = fileWithIncomes({});
    f.entries = table("DATA", {{"1", "2006/04/01", "1", "a", "100"},
                               {std::nullopt, "2006/04/02", "1", "no key", "1"},
                               {"1", "2006/04/03", "1", "same key", "1"},
                               {"3", "2006/04/04", "1", "nan", "nan"},
                               {"4", "2006/04/05", "1", "huge", "1e+30"},
                               {"5", "2006/04/06", "9", "category gone", "9.87654321e+08"},
                               {"6", "2006/04/07", "1", "fine fraction", "0.12345"}});
    f.entries.unreadableRows = {"page 41, slot 3"};
    auto plan = planImport(f);

    std::vector<std::int64_t> keys;
    for (const auto& e : plan.rows.entries)
        keys.push_back(e.key);
    EXPECT_THAT(keys, ElementsAre(1, 5, 6));
    EXPECT_EQ(plan.rows.entries[1].amount, Amount::fromYen(987654321));
    EXPECT_EQ(plan.rows.entries[2].amount->text(), "0.1235");

    EXPECT_FALSE(plan.complete());
    EXPECT_EQ(plan.notImported.size(), 5u);
    EXPECT_THAT(plan.changed, ElementsAre(Field(&RowNote::reason, HasSubstr("丸めました: 0.1235"))));
    EXPECT_THAT(plan.hidden, ElementsAre(Field(&RowNote::row, HasSubstr("DATAID 5"))));
    EXPECT_EQ(plan.counts[3].read, 8u);
    EXPECT_EQ(plan.counts[3].written, 3u);
}

// ---------------------------------------------------------------------------------------------
// Amount text as mdbtools renders it (Long, Currency with four decimals, Double with %.16g).

struct DecimalCase {
    const char* text;
    DecimalStatus status;
    const char* amount; // Amount::text() when read
};

class DecimalTextCase : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(DecimalTextCase, ReadsByDigits) {
    auto r = readDecimal(GetParam().text);
    EXPECT_EQ(r.status, GetParam().status);
    if (r.status == DecimalStatus::Exact || r.status == DecimalStatus::Rounded) {
        EXPECT_EQ(r.amount.text(), GetParam().amount);
    }
}

INSTANTIATE_TEST_SUITE_P(
    MdbtoolsText, DecimalTextCase,
    ::testing::Values(
        DecimalCase{"300000", DecimalStatus::Exact, "300000"},
        DecimalCase{"-500", DecimalStatus::Exact, "-500"},
        DecimalCase{"300000.0000", DecimalStatus::Exact, "300000"},
        DecimalCase{"1234.5000", DecimalStatus::Exact, "1234.5"},
        DecimalCase{"-0.5000", DecimalStatus::Exact, "-0.5"},
        DecimalCase{"922337203685477.5807", DecimalStatus::Exact, "922337203685477.5807"},
        DecimalCase{"1234.5", DecimalStatus::Exact, "1234.5"},
        DecimalCase{"9.87654321e+08", DecimalStatus::Exact, "987654321"},
        DecimalCase{"1.5E-3", DecimalStatus::Exact, "0.0015"},
        DecimalCase{"1e+18", DecimalStatus::Exact, "1000000000000000000"},
        DecimalCase{"-0", DecimalStatus::Exact, "0"},
        DecimalCase{"0.12345", DecimalStatus::Rounded, "0.1235"},
        DecimalCase{"-0.12345", DecimalStatus::Rounded, "-0.1235"},
        DecimalCase{"0.12344", DecimalStatus::Rounded, "0.1234"},
        DecimalCase{"1.5e-05", DecimalStatus::Rounded, "0"},
        DecimalCase{"0.3000000000000000444", DecimalStatus::Rounded, "0.3"},
        DecimalCase{"1e+20", DecimalStatus::OutOfRange, ""},
        DecimalCase{"1234,5", DecimalStatus::NotANumber, ""},
        DecimalCase{"nan", DecimalStatus::NotANumber, ""}, DecimalCase{"-inf", DecimalStatus::NotANumber, ""},
        DecimalCase{"", DecimalStatus::NotANumber, ""}, DecimalCase{" 1", DecimalStatus::NotANumber, ""},
        DecimalCase{"1e", DecimalStatus::NotANumber, ""}, DecimalCase{".", DecimalStatus::NotANumber, ""}));

} // namespace
} // namespace sorakado::legacy
