#include "ledger_search.h"

#include "entry_index.h"

#include "store/entry_reader.h"
#include "store/ledger.h"
#include "store/ledger_error.h"

#include <QMetaObject>
#include <QPointer>

namespace sorakado::search {

namespace {

// Each piece is one short read of the file: the program's changes never wait long for it.
constexpr std::size_t kPiece = 20000;
// Beyond this many changed entries reading them one by one costs more than reading all again.
constexpr std::size_t kMostChangesApplied = 100000;

} // namespace

LedgerSearch::LedgerSearch(Ledger& ledger, QObject* parent) : QObject(parent), ledger_(ledger) {}

LedgerSearch::~LedgerSearch() {
    stopReading();
}

void LedgerSearch::stopReading() {
    if (stop_)
        stop_->store(true);
    if (reader_.joinable())
        reader_.join();
    stop_.reset();
}

void LedgerSearch::start() {
    if (!index_ && !reading_)
        read();
}

void LedgerSearch::read() {
    stopReading();
    reading_ = true;
    // From here on the program's changes are noted, so whatever the reading misses of them is
    // applied afterwards; another program's changes show in the mark.
    ledger_.takeEntryChanges();
    othersMark_ = ledger_.othersChangeMark();
    const std::uint64_t generation = ++generation_;
    stop_ = std::make_shared<std::atomic<bool>>(false);
    QPointer<LedgerSearch> self(this);
    reader_ = std::thread([self, generation, stop = stop_, path = ledger_.path()] {
        std::unique_ptr<EntryIndex> index;
        QString problem;
        try {
            EntryReader reader(path);
            auto built = std::make_unique<EntryIndex>();
            for (auto rows = reader.next(kPiece); !rows.empty() && !stop->load(); rows = reader.next(kPiece))
                built->add(rows);
            if (stop->load())
                return;
            built->finish();
            index = std::move(built);
        } catch (const LedgerError& e) {
            problem = QString::fromStdString(e.description());
        } catch (const std::exception& e) {
            problem = QString::fromUtf8(e.what());
        }
        if (stop->load())
            return;
        // The search is only ever destroyed on its own thread, after joining this one: it is
        // there for the call, and a call queued behind its destruction is dropped.
        QMetaObject::invokeMethod(
            self.data(),
            [self, generation, problem, built = std::shared_ptr<EntryIndex>(index.release())]() mutable {
                if (!self)
                    return;
                if (!problem.isEmpty()) {
                    if (generation == self->generation_)
                        self->reading_ = false;
                    emit self->failed(problem);
                    return;
                }
                self->received(std::unique_ptr<EntryIndex>(new EntryIndex(std::move(*built))), generation);
            },
            Qt::QueuedConnection);
    });
}

void LedgerSearch::received(std::unique_ptr<EntryIndex> index, std::uint64_t generation) {
    if (generation != generation_)
        return;
    if (reader_.joinable())
        reader_.join();
    index_ = std::move(index);
    reading_ = false;
    try {
        index_->setCategories(ledger_.categories());
        catchUp();
    } catch (const LedgerError& e) {
        index_.reset();
        emit failed(QString::fromStdString(e.description()));
        return;
    }
    if (ready())
        emit becameReady();
}

void LedgerSearch::catchUp() {
    if (!ready())
        return;
    if (ledger_.othersChangeMark() != othersMark_) {
        read();
        return;
    }
    EntryChanges changes = ledger_.takeEntryChanges();
    if (changes.entriesUnnamed || changes.entryKeys.size() > kMostChangesApplied) {
        read();
        return;
    }
    if (!changes.entryKeys.empty())
        index_->apply(changes.entryKeys, ledger_.entryRows(changes.entryKeys));
    if (changes.categories)
        index_->setCategories(ledger_.categories());
}

SearchResult LedgerSearch::search(const SearchQuery& query) {
    catchUp();
    return ready() ? index_->search(query) : SearchResult{};
}

} // namespace sorakado::search
