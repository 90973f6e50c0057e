// Rows one at a time: a row whose amount the ledger cannot keep stays behind on its own, and
// the rest of the import goes ahead.

#include "ledgertool/import_plan.h"
#include "ledgertool/legacy_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace sorakado::legacy {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::HasSubstr;

LegacyTable table(const char* name, std::vector<std::vector<LegacyValue>> rows) {
    LegacyTable t;
    t.name = name;
    t.rows = std::move(rows);
    return t;
}

std::vector<std::int64_t> entryKeys(const ImportPlan& plan) {
    std::vector<std::int64_t> keys;
    for (const auto& e : plan.rows.entries)
        keys.push_back(e.key);
    return keys;
}

// Decimal amounts with more digits than a REAL holds: whether they need rounding to four
// decimals or not, the ledger would store another number, so the row is not imported.
TEST(LegacyImportAmounts, AFractionTooLongForARealIsNotImportedAndTheRestIs) {
    LegacyFile f;
    f.members = table("名前", {{"1", "太郎"}});
    f.incomes = table("収入", {{"1", "2006/04", "12345678901234.123456"}, {"1", "2006/05", "300000"}});
    f.categories = table("品目", {{"1", "食費"}});
    f.entries = table("DATA", {{"1", "2006/04/01", "1", "a", "100"},
                               {"2", "2006/04/02", "1", "rounded", "12345678901234.123456"},
                               {"3", "2006/04/03", "1", "exact", "12345678901234.1234"},
                               {"4", "2006/04/04", "1", "fits", "1234.56789"}});
    ImportPlan plan = planImport(f);

    EXPECT_THAT(entryKeys(plan), ElementsAre(1, 4));
    ASSERT_EQ(plan.rows.incomes.size(), 1u);
    EXPECT_EQ(plan.rows.incomes[0].monthKey, "2006/05");
    EXPECT_THAT(plan.notImported,
                ElementsAre(AllOf(Field(&RowNote::table, "収入"),
                                  Field(&RowNote::reason, HasSubstr("12345678901234.123456"))),
                            Field(&RowNote::row, HasSubstr("DATAID 2")),
                            Field(&RowNote::row, HasSubstr("DATAID 3"))));
    // Only a row that is written is reported as rounded.
    EXPECT_THAT(plan.changed, ElementsAre(AllOf(Field(&RowNote::row, HasSubstr("DATAID 4")),
                                                Field(&RowNote::reason, HasSubstr("1234.5679")))));
    EXPECT_FALSE(plan.complete());
}

} // namespace
} // namespace sorakado::legacy
