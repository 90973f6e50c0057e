#include "legacy_jet_file.h"

#include <mdbtools.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace sorakado::bench {

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Value = std::optional<Bytes>; // nullopt for Null

// Jet 4.0 layout.
constexpr std::size_t kPageSize = 4096;
constexpr std::size_t kRowCountOffset = 12;       // data page: number of row slots
constexpr std::size_t kTdefRowsOffset = 16;       // table definition: number of rows
constexpr std::size_t kTdefAutoNumberOffset = 20; // table definition: last AutoNumber given
constexpr std::size_t kMapBitsOffset = 4;         // usage map page: bitmap of pages, bit n = page n

void put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = std::uint8_t(v);
    b[at + 1] = std::uint8_t(v >> 8);
}
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = std::uint8_t(v >> (8 * i));
}
void append16(Bytes& b, std::uint32_t v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}

Value longValue(std::int32_t v) {
    Bytes b(4);
    put32(b, 0, std::uint32_t(v));
    return b;
}

// Currency: a 64-bit count of ten-thousandths.
Value moneyValue(std::int64_t tenThousandths) {
    Bytes b(8);
    for (int i = 0; i < 8; ++i)
        b[i] = std::uint8_t(std::uint64_t(tenThousandths) >> (8 * i));
    return b;
}

// Text as uncompressed UTF-16LE; only characters of the basic plane are used here.
Value textValue(const std::string& utf8) {
    Bytes b;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char c = utf8[i];
        std::uint32_t cp;
        int len = c < 0x80 ? 1 : c < 0xE0 ? 2 : 3;
        cp = len == 1 ? c : len == 2 ? (c & 0x1F) : (c & 0x0F);
        for (int k = 1; k < len; ++k)
            cp = (cp << 6) | (utf8[i + k] & 0x3F);
        i += len;
        append16(b, cp);
    }
    return b;
}

struct Column {
    int colNum;
    bool fixed;
    int fixedOffset;
    unsigned varColNum;
    int size;
};

struct TableLayout {
    std::uint32_t tdefPage = 0;
    std::uint32_t mapPage = 0; // the usage map's first bitmap page
    std::vector<Column> columns;
    unsigned varColumns = 0;
};

TableLayout layoutOf(MdbHandle* mdb, const char* name) {
    MdbTableDef* t = mdb_read_table_by_name(mdb, const_cast<gchar*>(name), MDB_TABLE);
    if (!t || !mdb_read_columns(t))
        throw std::runtime_error(std::string("sample file lacks table ") + name);
    TableLayout layout;
    layout.tdefPage = std::uint32_t(t->entry->table_pg);
    if (t->map_sz < 5 || t->usage_map[0] != 1)
        throw std::runtime_error(std::string("sample table ") + name + " has an inline usage map");
    layout.mapPage = std::uint32_t(mdb_get_int32(t->usage_map, 1));
    for (unsigned i = 0; i < t->num_cols; ++i) {
        auto* c = static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i));
        layout.columns.push_back(
            {c->col_num, c->is_fixed != 0, c->fixed_offset, c->var_col_num, c->col_size});
    }
    layout.varColumns = t->num_var_cols;
    mdb_free_tabledef(t);
    return layout;
}

// One row in Jet 4.0 form: column count, fixed columns at their offsets, variable columns,
// their offsets from last to first behind the end-of-data offset, their count, null mask.
Bytes packRow(const TableLayout& t, const std::vector<Value>& values) {
    Bytes row(2);
    put16(row, 0, std::uint32_t(t.columns.size()));
    std::size_t fixedEnd = 0;
    for (const auto& c : t.columns)
        if (c.fixed)
            fixedEnd = std::max(fixedEnd, std::size_t(c.fixedOffset + c.size));
    row.resize(2 + fixedEnd);
    for (std::size_t i = 0; i < t.columns.size(); ++i)
        if (t.columns[i].fixed && values[i])
            std::copy(values[i]->begin(), values[i]->end(), row.begin() + 2 + t.columns[i].fixedOffset);

    std::vector<std::uint32_t> offsets(t.varColumns + 1);
    for (unsigned v = 0; v < t.varColumns; ++v) {
        offsets[v] = std::uint32_t(row.size());
        for (std::size_t i = 0; i < t.columns.size(); ++i)
            if (!t.columns[i].fixed && t.columns[i].varColNum == v && values[i])
                row.insert(row.end(), values[i]->begin(), values[i]->end());
    }
    offsets[t.varColumns] = std::uint32_t(row.size());
    for (int v = int(t.varColumns); v >= 0; --v)
        append16(row, offsets[v]);
    append16(row, t.varColumns);

    Bytes mask((t.columns.size() + 7) / 8);
    for (std::size_t i = 0; i < t.columns.size(); ++i)
        if (values[i])
            mask[t.columns[i].colNum / 8] |= std::uint8_t(1 << (t.columns[i].colNum % 8));
    row.insert(row.end(), mask.begin(), mask.end());
    return row;
}

// Lays rows onto new data pages at the end of the file and points the table's usage map at
// exactly those pages.
void replaceRows(Bytes& file, const TableLayout& t, const std::vector<std::vector<Value>>& rows,
                 std::int32_t lastAutoNumber) {
    std::vector<std::uint32_t> pages;
    Bytes page;
    std::size_t slots = 0, freeEnd = 0;
    auto flush = [&] {
        if (page.empty())
            return;
        put16(page, kRowCountOffset, std::uint32_t(slots));
        put16(page, 2, std::uint32_t(freeEnd - (kRowCountOffset + 2 + 2 * slots)));
        pages.push_back(std::uint32_t(file.size() / kPageSize));
        file.insert(file.end(), page.begin(), page.end());
        page.clear();
    };
    for (const auto& values : rows) {
        Bytes row = packRow(t, values);
        if (!page.empty() && kRowCountOffset + 2 + 2 * (slots + 1) + row.size() > freeEnd)
            flush();
        if (page.empty()) {
            page.assign(kPageSize, 0);
            page[0] = 0x01;
            page[1] = 0x01;
            put32(page, 4, t.tdefPage);
            slots = 0;
            freeEnd = kPageSize;
        }
        freeEnd -= row.size();
        std::copy(row.begin(), row.end(), page.begin() + std::ptrdiff_t(freeEnd));
        put16(page, kRowCountOffset + 2 + 2 * slots, std::uint32_t(freeEnd));
        ++slots;
    }
    flush();

    std::size_t map = std::size_t(t.mapPage) * kPageSize;
    std::fill(file.begin() + std::ptrdiff_t(map + kMapBitsOffset),
              file.begin() + std::ptrdiff_t(map + kPageSize), 0);
    for (std::uint32_t p : pages) {
        if (p >= (kPageSize - kMapBitsOffset) * 8)
            throw std::runtime_error("generated file outgrows one usage map page");
        file[map + kMapBitsOffset + p / 8] |= std::uint8_t(1 << (p % 8));
    }
    std::size_t tdef = std::size_t(t.tdefPage) * kPageSize;
    put32(file, tdef + kTdefRowsOffset, std::uint32_t(rows.size()));
    if (lastAutoNumber > 0)
        put32(file, tdef + kTdefAutoNumberOffset, std::uint32_t(lastAutoNumber));
}

const char* const kDescriptions[] = {
    "スーパーで食料品", "電気代",       "ガス代",           "水道料金",
    "定期券",           "ｶﾞｿﾘﾝ代",      "外食「ラーメン」", "ノート, ペン \"特価\"",
    "① 町内会費",       "9/1～9/3 旅行"};
const char* const kCategories[] = {"食費", "光熱費", "交通費", "雑費",   "医療費", "教育費",
                                   "衣服", "通信費", "住居費", "交際費", "保険",   "趣味"};

Bytes buildFile(const fs::path& sample, std::int64_t entries) {
    std::ifstream in(sample, std::ios::binary);
    Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (file.empty() || file.size() % kPageSize != 0)
        throw std::runtime_error("cannot read the sample file " + sample.string());

    std::unique_ptr<MdbHandle, void (*)(MdbHandle*)> mdb(mdb_open(sample.c_str(), MDB_NOFLAGS), mdb_close);
    if (!mdb || !mdb_read_catalog(mdb.get(), MDB_TABLE))
        throw std::runtime_error("cannot open the sample file " + sample.string());
    TableLayout members = layoutOf(mdb.get(), "名前");
    TableLayout incomes = layoutOf(mdb.get(), "収入");
    TableLayout categories = layoutOf(mdb.get(), "品目");
    TableLayout data = layoutOf(mdb.get(), "DATA");

    // Three members (key 3 was deleted long ago), twelve categories (key 7 too).
    std::vector<std::vector<Value>> memberRows = {{longValue(1), textValue("太郎")},
                                                  {longValue(2), textValue("花子")},
                                                  {longValue(4), textValue("ケン")}};
    std::vector<std::vector<Value>> categoryRows;
    for (int i = 0; i < 12; ++i)
        categoryRows.push_back({longValue(i < 6 ? i + 1 : i + 2), textValue(kCategories[i])});

    // Two salaries every month for twenty years; the first year's one-digit month keys are the
    // kind of row the import writes with two digits.
    std::vector<std::vector<Value>> incomeRows;
    for (int year = 2001; year <= 2020; ++year)
        for (int month = 1; month <= 12; ++month) {
            std::string key = std::to_string(year) +
                              (year == 2001 ? "/"
                               : month < 10 ? "/0"
                                            : "/") +
                              std::to_string(month);
            incomeRows.push_back(
                {longValue(1), textValue(key), moneyValue(std::int64_t(300000 + year) * 10000)});
            incomeRows.push_back(
                {longValue(2), textValue(key), moneyValue(std::int64_t(80000 + month) * 10000)});
        }

    // Entries spread evenly over the 240 months, with a key skipped every thousand.
    std::vector<std::vector<Value>> entryRows;
    std::int32_t key = 0;
    for (std::int64_t i = 0; i < entries; ++i) {
        key += (i % 1000 == 999) ? 2 : 1;
        std::int64_t monthIndex = i * 240 / entries;
        int year = 2001 + int(monthIndex / 12), month = 1 + int(monthIndex % 12), day = 1 + int(i % 28);
        char date[32];
        std::snprintf(date, sizeof date, "%04d/%02d/%02d", year, month, day);
        Value description = i % 97 == 0   ? std::nullopt
                            : i % 89 == 0 ? textValue("")
                                          : textValue(kDescriptions[i % 10]);
        std::int64_t yen = 100 + (i * 7919) % 50000;
        std::int64_t amount = yen * 10000 + (i % 10 == 0 ? 5000 : 0);
        int category = int(i % 12);
        entryRows.push_back({longValue(key), textValue(date),
                             longValue(category < 6 ? category + 1 : category + 2), description,
                             moneyValue(amount)});
    }

    replaceRows(file, members, memberRows, 4);
    replaceRows(file, incomes, incomeRows, 0);
    replaceRows(file, categories, categoryRows, 13);
    replaceRows(file, data, entryRows, key);
    return file;
}

} // namespace

fs::path bigLegacyLedger(const fs::path& sample, const fs::path& folder, std::int64_t entries) {
    fs::create_directories(folder);
    fs::path path = folder / ("legacy-" + std::to_string(entries) + ".mdb");
    if (fs::exists(path))
        return path;
    Bytes file = buildFile(sample, entries);
    fs::path partial = path.string() + ".partial";
    std::ofstream(partial, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    fs::rename(partial, path);
    return path;
}

} // namespace sorakado::bench
