#include "legacy_reader.h"

#include "import_texts.h"
#include "jet_pages.h"

#include "platform/platform.h"

#include <mdbtools.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>

#if !MDBTOOLS_H_HAVE_ICONV_H
#error "mdbtools without iconv cannot read Japanese text"
#endif

namespace sorakado::legacy {

namespace {

namespace texts = import_texts;

constexpr std::size_t kJetPageSize = 4096;
// The header of every Jet and ACE file: a page type of 0, then the engine's name.
constexpr char kJetMagic[] = "Standard Jet DB";
constexpr char kAceMagic[] = "Standard ACE DB";
constexpr std::size_t kMagicOffset = 4;
constexpr std::size_t kVersionOffset = 0x14;

// A row slot's flag for a deleted row (or the stub of a row moved to another page, which the
// scan meets again where it now lives).
constexpr int kDeletedRowFlag = 0x4000;
constexpr int kRowOffsetMask = 0x1fff;

enum class ColumnKind { Key, Text, Amount };

struct ColumnShape {
    const char* name;
    ColumnKind kind;
};

struct TableShape {
    const char* name;
    std::vector<ColumnShape> columns;
};

const std::array<TableShape, 4>& tableShapes() {
    static const std::array<TableShape, 4> shapes{{
        {"名前", {{"名前ID", ColumnKind::Key}, {"名前", ColumnKind::Text}}},
        {"収入", {{"名前ID", ColumnKind::Key}, {"年月", ColumnKind::Text}, {"収入", ColumnKind::Amount}}},
        {"品目", {{"品目ID", ColumnKind::Key}, {"品目", ColumnKind::Text}}},
        {"DATA",
         {{"DATAID", ColumnKind::Key},
          {"年月日", ColumnKind::Text},
          {"品目ID", ColumnKind::Key},
          {"内容", ColumnKind::Text},
          {"金額", ColumnKind::Amount}}},
    }};
    return shapes;
}

const char* typeName(int type) {
    switch (type) {
    case MDB_BOOL:
        return "Yes/No";
    case MDB_BYTE:
        return "Byte";
    case MDB_INT:
        return "Integer";
    case MDB_LONGINT:
        return "Long";
    case MDB_MONEY:
        return "Currency";
    case MDB_FLOAT:
        return "Single";
    case MDB_DOUBLE:
        return "Double";
    case MDB_DATETIME:
        return "Date/Time";
    case MDB_TEXT:
        return "Text";
    case MDB_MEMO:
        return "Memo";
    case MDB_NUMERIC:
        return "Decimal";
    default:
        return "other";
    }
}

bool typeFits(ColumnKind kind, int type) {
    switch (kind) {
    case ColumnKind::Key:
        return type == MDB_BYTE || type == MDB_INT || type == MDB_LONGINT;
    case ColumnKind::Text:
        return type == MDB_TEXT || type == MDB_MEMO;
    case ColumnKind::Amount:
        return type == MDB_BYTE || type == MDB_INT || type == MDB_LONGINT || type == MDB_MONEY ||
               type == MDB_FLOAT || type == MDB_DOUBLE || type == MDB_NUMERIC;
    }
    return false;
}

// Jet compares names without regard to ASCII case ("DataID" is DATAID).
bool sameName(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        char x = (*a >= 'A' && *a <= 'Z') ? char(*a - 'A' + 'a') : *a;
        char y = (*b >= 'A' && *b <= 'Z') ? char(*b - 'A' + 'a') : *b;
        if (x != y)
            return false;
    }
    return *a == *b;
}

// mdbtools formats Double and Single values with printf, which follows LC_NUMERIC: under a
// German or French locale 1234.5 would come out as "1234,5". Reading under the C locale on this
// thread alone keeps the digits plain without touching the rest of the program.
class CNumericLocale {
public:
    CNumericLocale() : c_(newlocale(LC_ALL_MASK, "C", locale_t(0))) {
        if (c_ == locale_t(0))
            throw LegacyReadError(texts::kLocaleFailed);
        previous_ = uselocale(c_);
    }
    ~CNumericLocale() {
        uselocale(previous_);
        freelocale(c_);
    }
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

private:
    locale_t c_;
    locale_t previous_;
};

struct MdbCloser {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
using MdbPtr = std::unique_ptr<MdbHandle, MdbCloser>;

struct TableCloser {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using TablePtr = std::unique_ptr<MdbTableDef, TableCloser>;

struct GFree {
    void operator()(char* p) const { g_free(p); }
};

// Jet 4.0 stores text as UTF-16. mdbtools converts it to whatever the MDBICONV environment
// variable names, so a user's setting meant for another tool could hand us Latin-1 question
// marks; the converters are replaced with fixed UTF-8 ones before anything is read. UTF-16
// rather than UCS-2 keeps characters outside the basic plane whole.
void forceUtf8(MdbHandle* mdb) {
    mdb_iconv_close(mdb);
    mdb->iconv_in = iconv_open("UTF-8", "UTF-16LE");
    mdb->iconv_out = iconv_open("UTF-16LE", "UTF-8");
    if (mdb->iconv_in == iconv_t(-1) || mdb->iconv_out == iconv_t(-1))
        throw LegacyReadError(texts::kIconvFailed);
}

// What can be told from the file before mdbtools sees it: that it is there, is a Jet 4.0
// database by its header, and is made of whole pages.
void checkFile(const std::filesystem::path& path) {
    std::error_code ec;
    auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status))
        throw LegacyReadError(texts::oldFileMissing(path));
    if (!std::filesystem::is_regular_file(status))
        throw LegacyReadError(texts::oldFileNotJet(path));
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw LegacyReadError(texts::oldFileUnreadable(path, std::strerror(errno)));
    std::array<char, 0x20> header{};
    in.read(header.data(), header.size());
    if (in.gcount() < std::streamsize(header.size()) || header[0] != 0)
        throw LegacyReadError(texts::oldFileNotJet(path));
    std::string magic(header.data() + kMagicOffset, sizeof(kJetMagic) - 1);
    if (magic == kAceMagic)
        throw LegacyReadError(texts::oldFileNotJet4(path));
    if (magic != kJetMagic)
        throw LegacyReadError(texts::oldFileNotJet(path));
    if (header[kVersionOffset] != MDB_VER_JET4)
        throw LegacyReadError(texts::oldFileNotJet4(path));
    auto size = std::filesystem::file_size(path, ec);
    if (ec || size % kJetPageSize != 0)
        throw LegacyReadError(texts::oldFileDamaged(path));
}

std::string renderValue(MdbHandle* mdb, MdbColumn* col, const MdbField& field) {
    std::unique_ptr<char, GFree> text(
        col->col_type == MDB_NUMERIC
            ? mdb_numeric_to_string(mdb, field.start, col->col_scale, col->col_prec)
            : mdb_col_to_string(mdb, mdb->pg_buf, field.start, col->col_type, field.siz));
    return text ? std::string(text.get()) : std::string();
}

// The catalogue entry mdb_read_table_by_name will take for the name: the first that matches.
const MdbCatalogEntry* catalogueEntry(MdbHandle* mdb, const char* name) {
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<const MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (g_ascii_strcasecmp(entry->object_name, name) == 0)
            return entry;
    }
    return nullptr;
}

LegacyTable readTable(MdbHandle* mdb, JetPages& pages, const TableShape& shape,
                      const std::filesystem::path& path) {
    const MdbCatalogEntry* entry = catalogueEntry(mdb, shape.name);
    if (!entry)
        throw LegacyReadError(texts::oldTableMissing(path, shape.name));
    if (!pages.tableDefinitionIsSound(entry->table_pg))
        throw LegacyReadError(texts::oldTableDamaged(path, shape.name, entry->table_pg));
    TablePtr table(mdb_read_table_by_name(mdb, const_cast<gchar*>(shape.name), MDB_TABLE));
    if (!table)
        throw LegacyReadError(texts::oldTableMissing(path, shape.name));
    if (!mdb_read_columns(table.get()))
        throw LegacyReadError(texts::oldFileDamaged(path));

    LegacyTable out;
    out.name = shape.name;
    std::vector<unsigned> positions;
    for (const auto& column : shape.columns) {
        MdbColumn* found = nullptr;
        for (unsigned i = 0; i < table->num_cols && !found; ++i) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
            if (sameName(col->name, column.name)) {
                found = col;
                positions.push_back(i);
            }
        }
        if (!found)
            throw LegacyReadError(texts::oldColumnMissing(path, shape.name, column.name));
        if (!typeFits(column.kind, found->col_type))
            throw LegacyReadError(
                texts::oldColumnType(path, shape.name, column.name, typeName(found->col_type)));
        if (found->col_type == MDB_MEMO && mdb_get_option(MDB_NO_MEMO))
            throw LegacyReadError(texts::kMemoDisabled);
        out.columns.push_back(column.name);
        out.columnTypes.push_back(typeName(found->col_type));
    }

    // The scan mdb_fetch_row does, done here because its bound values cannot tell a Null
    // text from an empty one: both arrive as "". Taking each row apart ourselves gives the
    // null flag of every field.
    std::vector<MdbField> fields(table->num_cols);
    mdb_rewind_table(table.get());
    while (mdb_read_next_dpg(table.get())) {
        int slots = mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
        for (int slot = 0; slot < slots; ++slot) {
            int start = 0;
            size_t size = 0;
            if (mdb_find_row(mdb, slot, &start, &size) != 0) {
                out.unreadableRows.push_back(texts::rowPlace(table->cur_phys_pg, slot));
                continue;
            }
            if (start & kDeletedRowFlag)
                continue;
            if (size == 0) {
                out.unreadableRows.push_back(texts::rowPlace(table->cur_phys_pg, slot));
                continue;
            }
            int found = mdb_crack_row(table.get(), start & kRowOffsetMask, size, fields.data());
            if (found < 0) {
                out.unreadableRows.push_back(texts::rowPlace(table->cur_phys_pg, slot));
                continue;
            }
            std::vector<LegacyValue> row;
            row.reserve(positions.size());
            for (unsigned position : positions) {
                const MdbField& field = fields[position];
                auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, field.colnum));
                if (field.is_null)
                    row.emplace_back(std::nullopt);
                else
                    row.emplace_back(renderValue(mdb, col, field));
            }
            out.rows.push_back(std::move(row));
        }
    }

    // A page that cannot be read ends mdbtools' scan as quietly as the last page does; the
    // table's own row count is what tells a truncated file from a complete one.
    std::size_t seen = out.rows.size() + out.unreadableRows.size();
    if (seen != table->num_rows)
        throw LegacyReadError(texts::oldRowsMissing(path, shape.name, table->num_rows, seen));
    return out;
}

} // namespace

LegacyFile readLegacyFileInProcess(const std::filesystem::path& path) {
    checkFile(path);
    JetPages pages(path);
    if (!pages.isOpen())
        throw LegacyReadError(texts::oldFileDamaged(path));
    if (!pages.tableDefinitionIsSound(JetPages::kCatalogueDefinitionPage))
        throw LegacyReadError(texts::oldCatalogueDamaged(path));
    CNumericLocale cLocale;

    MdbPtr mdb(mdb_open(platform::utf8Path(path).c_str(), MDB_NOFLAGS));
    if (!mdb)
        throw LegacyReadError(texts::oldFileNotJet(path));
    if (mdb->f->jet_version != MDB_VER_JET4)
        throw LegacyReadError(texts::oldFileNotJet4(path));
    forceUtf8(mdb.get());
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE))
        throw LegacyReadError(texts::oldFileDamaged(path));

    const auto& shapes = tableShapes();
    LegacyFile file;
    file.members = readTable(mdb.get(), pages, shapes[0], path);
    file.incomes = readTable(mdb.get(), pages, shapes[1], path);
    file.categories = readTable(mdb.get(), pages, shapes[2], path);
    file.entries = readTable(mdb.get(), pages, shapes[3], path);
    return file;
}

} // namespace sorakado::legacy
