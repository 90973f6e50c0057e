#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

namespace sorakado {
class Ledger;
}

namespace sorakado::search {

class EntryIndex;
struct SearchQuery;
struct SearchResult;

// The search over the whole ledger: a copy of every entry (EntryIndex) read on a thread of its
// own when the search is first wanted, then kept in step with the ledger. The program's own
// changes are applied entry by entry; a change by another program has the copy read again. Lives
// on the window's thread, beside the ledger it was given, and must go before the ledger does.
class LedgerSearch : public QObject {
    Q_OBJECT
public:
    explicit LedgerSearch(Ledger& ledger, QObject* parent = nullptr);
    ~LedgerSearch() override;

    // Starts reading the copy, unless it is read or being read.
    void start();
    // The copy is read and can answer.
    bool ready() const { return index_ != nullptr && !reading_; }
    // Brings the copy in step with the ledger: the program's changes at once, another program's by
    // reading the copy again (ready() is false until that is done). Throws LedgerError.
    void catchUp();
    // catchUp(), then the search; an empty result while the copy is being read.
    SearchResult search(const SearchQuery& query);
    // The copy; only while ready().
    const EntryIndex& index() const { return *index_; }

signals:
    // The copy has been read and is in step: searches answer from now on.
    void becameReady();
    // Reading the copy failed; the text says why.
    void failed(const QString& description);

private:
    void read();
    void received(std::unique_ptr<EntryIndex> index, std::uint64_t generation);
    void stopReading();

    Ledger& ledger_;
    std::unique_ptr<EntryIndex> index_;
    bool reading_ = false;
    std::int64_t othersMark_ = 0;
    std::uint64_t generation_ = 0;
    std::thread reader_;
    std::shared_ptr<std::atomic<bool>> stop_;
};

} // namespace sorakado::search
