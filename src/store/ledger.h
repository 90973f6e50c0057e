#pragma once

#include "amount.h"
#include "statement.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace sorakado {

struct Member {
    std::int64_t key = 0;            // 名前ID
    std::optional<std::string> name; // 名前, Null kept apart from empty

    bool operator==(const Member&) const = default;
};

struct Income {
    std::int64_t memberKey = 0;
    std::optional<Amount> amount;
};

struct Category {
    std::int64_t key = 0; // 品目ID
    std::optional<std::string> name;

    bool operator==(const Category&) const = default;
};

struct Entry {
    std::int64_t key = 0;            // DATAID
    std::optional<std::string> date; // 年月日, "yyyy/mm/dd"
    std::optional<std::string> categoryName;
    std::optional<std::string> description;
    std::optional<Amount> amount;
};

// A sum over the ledger: nullopt when no row was summed (the design shows that as "\0").
using MonthSums = std::array<std::optional<Amount>, 12>;

// The one open ledger file. Every read and write of the program goes through here; the
// statement texts live in ledger.cpp and nowhere else, and every value is a bound parameter.
class Ledger {
public:
    static constexpr const char* kFileName = "Sorakado.mdb";

    // Opens an existing ledger read-write. Never creates a file. Throws LedgerError with a
    // Japanese description naming the path when the file is missing, read-only, locked, not a
    // ledger (or the password does not fit), or lacks one of the four tables.
    static Ledger open(const std::filesystem::path& path);
    // Makes a new empty ledger (mode 0600) with the four tables and the indexes the monthly
    // view reads through. Refuses an existing path. Throws LedgerError.
    static void create(const std::filesystem::path& path);

    Ledger(Ledger&&) noexcept;
    Ledger& operator=(Ledger&&) noexcept;
    Ledger(const Ledger&) = delete;
    Ledger& operator=(const Ledger&) = delete;
    ~Ledger();

    const std::filesystem::path& path() const { return path_; }

    // Monthly reads. monthKey is "yyyy/mm"; an entry belongs to the month when its date text
    // starts with the key.
    std::vector<Member> members();                                 // ascending 名前ID
    std::vector<Income> monthIncomes(const std::string& monthKey); // members that exist, ascending 名前ID
    MonthSums yearIncomeSums(const std::string& yearText);         // keys yearText/01 .. yearText/12
    std::vector<Category> categories();                            // by name, then key
    std::vector<Entry> monthEntries(const std::string& monthKey);  // by date, then entry key
    std::map<std::int64_t, Amount> monthCategorySums(const std::string& monthKey);
    MonthSums yearExpenseSums(const std::string& yearText); // every entry, category or not

    // Runs fn inside one transaction: all of it is written, or none of it.
    template <class Fn> void inTransaction(Fn&& fn) {
        begin();
        try {
            fn();
            commit();
        } catch (...) {
            // Also when the commit itself fails (busy): SQLite then keeps the transaction open.
            rollback();
            throw;
        }
    }

    Statement prepare(std::string_view sql, std::string operation);
    sqlite3* handle() const { return db_; }
    // The key the last appended row received.
    std::int64_t lastInsertKey() const;

private:
    Ledger(sqlite3* db, std::filesystem::path path) : db_(db), path_(std::move(path)) {}
    void begin();
    void commit();
    void rollback() noexcept;
    MonthSums yearSums(std::string_view sql, const std::string& yearText, bool prefixMatch,
                       const char* operation);

    sqlite3* db_ = nullptr;
    std::filesystem::path path_;
};

// The first key after every text that starts with prefix: the prefix with its last character
// raised by one, so "2006/04" gives "2006/05" and "2006/0" gives "2006/1". Byte-wise, as SQLite
// compares text.
std::string prefixUpperBound(const std::string& prefix);

} // namespace sorakado
