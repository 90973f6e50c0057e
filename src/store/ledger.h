#pragma once

#include "amount.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace sorakado {

class Statement;
class StatementCache;

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

// An expense entry as the ledger holds it, whether its category is still there or not.
struct EntryRecord {
    std::int64_t key = 0; // DATAID
    std::optional<std::string> date;
    std::optional<std::int64_t> categoryKey;
    std::optional<std::string> categoryName; // nullopt when Null or when the category is gone
    std::optional<std::string> description;
    std::optional<Amount> amount;
};

// An income record as the ledger holds it, whether its member is still there or not.
struct IncomeRecord {
    std::optional<std::string> monthKey; // 年月
    std::optional<std::int64_t> memberKey;
    std::optional<std::string> memberName; // nullopt when Null or when the member is gone
    std::optional<Amount> amount;
};

// An expense entry as a copy of the whole ledger's entries keeps it (the search).
struct StoredEntry {
    std::int64_t key = 0; // DATAID
    std::optional<std::string> date;
    std::optional<std::int64_t> categoryKey; // nullopt for Null or a key that is not an integer
    std::optional<std::string> description;
    std::optional<Amount> amount;

    bool operator==(const StoredEntry&) const = default;
};

// What the program's own changes touched since they were last taken: the keys of the expense
// entries added, changed or deleted, and whether any category was.
struct EntryChanges {
    std::vector<std::int64_t> entryKeys; // ascending, each once
    bool categories = false;
    // Entries changed that cannot be named by their keys (a file made by another tool, whose
    // DATAID is not the table's row key): every entry is to be read again.
    bool entriesUnnamed = false;
};

// The month's entries and what they add up to per category, read in one pass.
struct MonthExpenses {
    std::vector<Entry> entries;                  // by date, then entry key
    std::map<std::int64_t, Amount> categorySums; // as monthCategorySums gives them
};

// A sum over the ledger: nullopt when no row was summed (the design shows that as "\0").
using MonthSums = std::array<std::optional<Amount>, 12>;

// One month's figure of the stored sums, or the same recounted from the rows.
struct MonthSumFigure {
    std::optional<Amount> sum; // nullopt when no amount is summed (count 0)
    std::int64_t count = 0;    // amounts summed
    bool exact = true;         // false: the whole-yen sum outgrew 64 bits

    bool operator==(const MonthSumFigure&) const = default;
};

// A month whose stored figure is not what its rows add up to.
struct MonthSumDifference {
    std::string table;    // 収入月計 or 出費月計
    std::string monthKey; // 2006/04
    MonthSumFigure stored, counted;
};

// The one open ledger file, and the one door into it: the rest of the program reads through
// these members and changes the ledger through the functions of ledger_writes.h (the importer
// through ledger_import_writer.h). No statement text crosses that door: every statement lives in
// a source file of src/store (reads here in ledger.cpp and ledger_month_sums.cpp, whole tables
// taken out in ledger_records.cpp, changes in ledger_writes.cpp, the importer's in
// ledger_import_writer.cpp, the file's shape in schema.cpp and month_sums_schema.cpp), reaches
// the connection through LedgerAccess (ledger_access.h, for src/store alone), and takes every
// value as a bound parameter.
class Ledger {
public:
    static constexpr const char* kFileName = "Sorakado.mdb";

    // Opens an existing ledger read-write. Never creates a file. Throws LedgerError with a
    // Japanese description naming the path when the file is missing, read-only, locked, not a
    // ledger (or the password does not fit), or lacks one of the four tables.
    static Ledger open(const std::filesystem::path& path);
    // Opens an existing ledger for reading only: no write lock is taken, the file's shape is not
    // brought up to date, and a file marked read-only or a copy in a folder nobody may write to
    // opens as well. Every change through it throws LedgerError (ReadOnly). For taking data out
    // (export, report), in a Snapshot. Throws LedgerError as open() does.
    static Ledger openReadOnly(const std::filesystem::path& path);
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
    std::map<std::int64_t, Amount> monthCategorySums(const std::string& monthKey);
    // The month's entries whose category is there (among categories, as categories() gives
    // them), by date, then entry key, and monthCategorySums from the same pass over the month: a
    // category's sum is that of its entries listed, each amount counted as monthCategorySums
    // counts it.
    MonthExpenses monthExpenses(const std::string& monthKey, const std::vector<Category>& categories);
    MonthSums yearExpenseSums(const std::string& yearText); // every entry, category or not

    // Whole-ledger reads for taking the data out. A prefix selects the rows whose date or month
    // key text starts with it ("2006/" is the year 2006); an empty prefix selects every row,
    // Null dates and keys included. Rows whose category or member is gone are read as well.
    std::vector<EntryRecord> entryRecords(const std::string& datePrefix);    // by date, then key
    std::vector<IncomeRecord> incomeRecords(const std::string& monthPrefix); // by month, then member

    // The per-month sums the year summaries read (kept by triggers in the file): every month
    // whose stored figure differs from a recount of its rows; empty when all agree.
    std::vector<MonthSumDifference> monthSumDifferences();
    // Rewrites every stored figure from the rows, in one transaction (or the caller's).
    void recountMonthSums();

    // For a copy of the entries kept beside the ledger (the search). From the first call on, every
    // change the program makes through this ledger notes the entries and categories it touches,
    // whatever function made it, rolled back or not; takeEntryChanges hands them over and starts
    // afresh. Changes made by other programs are not seen here: othersChangeMark tells of them.
    EntryChanges takeEntryChanges();
    // A number that changes when another connection (another program) has changed the file since
    // it was last asked; the program's own changes leave it alone.
    std::int64_t othersChangeMark();
    // The entries of these keys as they are now; keys no longer in the ledger are left out.
    std::vector<StoredEntry> entryRows(const std::vector<std::int64_t>& keys);

    // One transaction: all of its changes are written, or none of them. The guard begins the
    // transaction, or joins the one already running on this ledger, so a change made of other
    // changes is still one transaction. Without commit() the guard undoes: the outermost one
    // rolls back, an inner one condemns the whole transaction, whose commit then rolls back and
    // throws even when the caller went on after the inner failure.
    class Transaction {
    public:
        explicit Transaction(Ledger& ledger); // throws LedgerError (locked, read-only)
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        ~Transaction();
        // The outermost guard writes everything; an inner guard only declares its part done.
        void commit();

    private:
        Ledger& ledger_;
        bool outermost_;
        bool committed_ = false;
    };

    // Reads made while a snapshot lives see the ledger in one state, whatever another program
    // writes meanwhile, and share one lock on the file instead of taking and checking it for each
    // read. Nothing is changed while it lives: a Transaction begun inside it throws. Nests, and
    // inside a transaction it adds nothing.
    class Snapshot {
    public:
        explicit Snapshot(Ledger& ledger); // throws LedgerError (locked)
        Snapshot(const Snapshot&) = delete;
        Snapshot& operator=(const Snapshot&) = delete;
        ~Snapshot();

    private:
        Ledger& ledger_;
        bool began_;
    };

    // Runs fn inside one transaction (joining one already running).
    template <class Fn> void inTransaction(Fn&& fn) {
        Transaction transaction(*this);
        fn();
        transaction.commit();
    }

private:
    friend class LedgerAccess;

    Ledger(sqlite3* db, std::filesystem::path path);
    // A statement run often (every rebuild, every undo), prepared once and kept for the
    // connection's life (StatementCache).
    Statement cachedStatement(std::string_view sql, const char* operation);
    void begin();
    void commit();
    void rollback() noexcept;
    // Throws std::logic_error while a snapshot is read: nothing is changed then.
    void refuseChangeDuringSnapshot() const;
    // Brings a ledger made by an earlier version to today's shape (the per-month sums and the
    // month index), or restores what another tool dropped, in one transaction; nothing when all
    // is in place.
    void upgradeSchema();
    // Whether the file is in today's shape: its stored sums can be read as they are.
    bool schemaIsCurrent();
    // A month's sum read from the rows themselves: the incomes stored under key exactly, or the
    // entries whose date starts with key. For figures the stored sums cannot give exactly.
    std::optional<Amount> incomeSumFromRows(const std::string& key);
    std::optional<Amount> expenseSumFromRows(const std::string& key);

    struct ChangeNotes;
    // DATAID is the row key SQLite reports changes by (INTEGER PRIMARY KEY), as in every file
    // the program makes.
    bool entryKeysAreRowKeys();
    static void noteRowChange(void* notes, int operation, const char* database, const char* table,
                              long long rowKey);

    sqlite3* db_ = nullptr;
    std::filesystem::path path_;
    std::unique_ptr<StatementCache> statements_; // finalized before the connection closes
    // Apart from the ledger itself, so SQLite's hook keeps pointing at it when the ledger moves.
    std::unique_ptr<ChangeNotes> changes_;
    int transactionDepth_ = 0;
    int snapshotDepth_ = 0;
    bool transactionCondemned_ = false;
    bool readOnly_ = false;
    bool sumsTrusted_ = true; // false: the year summaries count the rows themselves
};

// The first key after every text that starts with prefix: the prefix with its last character
// raised by one, so "2006/04" gives "2006/05" and "2006/0" gives "2006/1". Byte-wise, as SQLite
// compares text.
std::string prefixUpperBound(const std::string& prefix);

} // namespace sorakado
