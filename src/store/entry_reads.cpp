// The reads that keep a copy of every expense entry (the search) in step with the ledger.
#include "entry_reader.h"

#include "keyed_file.h"
#include "statement.h"

#include <limits>

namespace sorakado {

namespace {

const char* const kColumns = "SELECT DATAID, 年月日, 品目ID, 内容, 金額 FROM DATA ";
const char* const kEntryByKey = "SELECT DATAID, 年月日, 品目ID, 内容, 金額 FROM DATA WHERE DATAID = ?1";
const char* const kDataVersion = "PRAGMA data_version";

StoredEntry entryRow(const Statement& s) {
    // A key stored as anything but an integer names no category, as in the month's list.
    return {s.int64(0), s.text(1), s.integer(2), s.text(3), s.amount(4)};
}

} // namespace

std::vector<StoredEntry> Ledger::entryRows(const std::vector<std::int64_t>& keys) {
    Snapshot snapshot(*this);
    std::vector<StoredEntry> out;
    out.reserve(keys.size());
    for (std::int64_t key : keys) {
        Statement s = cachedStatement(kEntryByKey, "明細の読み込み");
        s.bind(1, key);
        if (s.step())
            out.push_back(entryRow(s));
    }
    return out;
}

bool Ledger::entryKeysAreRowKeys() {
    Statement s(db_, "PRAGMA table_info(DATA)", "表の確認");
    int keyColumns = 0;
    bool dataIdIsKey = false;
    while (s.step()) {
        if (s.int64(5) == 0)
            continue;
        ++keyColumns;
        const std::string type = s.text(2).value_or("");
        dataIdIsKey = s.text(1) == std::optional<std::string>("DATAID") &&
                      (type == "INTEGER" || type == "integer" || type == "Integer");
    }
    return keyColumns == 1 && dataIdIsKey;
}

std::int64_t Ledger::othersChangeMark() {
    Statement s = cachedStatement(kDataVersion, "変更の確認");
    return s.step() ? s.int64(0) : 0;
}

EntryReader::EntryReader(const std::filesystem::path& path)
    : file_(std::make_unique<detail::KeyedFile>(path, detail::KeyedFile::Access::ReadOnly)) {
    file_->proveReadable();
}

EntryReader::~EntryReader() = default;

std::vector<StoredEntry> EntryReader::next(std::size_t limit) {
    std::vector<StoredEntry> out;
    if (done_ || limit == 0)
        return out;
    const auto most =
        static_cast<std::int64_t>(std::min<std::size_t>(limit, std::numeric_limits<int>::max()));
    Statement s =
        below_ ? file_->prepare(std::string(kColumns) + "WHERE DATAID < ?1 ORDER BY DATAID DESC LIMIT ?2",
                                "明細の読み込み")
               : file_->prepare(std::string(kColumns) + "ORDER BY DATAID DESC LIMIT ?2", "明細の読み込み");
    if (below_)
        s.bind(1, *below_);
    s.bind(2, most);
    out.reserve(static_cast<std::size_t>(most));
    while (s.step())
        out.push_back(entryRow(s));
    if (out.size() < static_cast<std::size_t>(most))
        done_ = true;
    if (!out.empty())
        below_ = out.back().key;
    return out;
}

} // namespace sorakado
