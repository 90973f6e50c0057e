#include "legacy_import.h"

#include "import_leftovers.h"
#include "import_texts.h"

#include "store/ledger_check.h"
#include "store/ledger_error.h"

#include "platform/platform.h"

#include <algorithm>
#include <cstdio>

namespace sorakado::legacy {

namespace {

namespace texts = import_texts;
namespace fs = std::filesystem;

bool pathTaken(const fs::path& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found; // unknown counts as taken
}

// Removes the half-made ledger and the journal SQLite may have left beside it.
void removeLedgerFiles(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
    fs::remove(fs::path(path.string() + "-journal"), ignored);
}

// A hidden name beside the target, so the rename stays within one file system.
fs::path createTemporaryLedger(const fs::path& target) {
    for (int attempt = 0;; ++attempt) {
        const fs::path candidate = platform::temporaryNameBeside(target, "import");
        try {
            Ledger::create(candidate);
            return candidate;
        } catch (const LedgerError& e) {
            if (e.kind() != LedgerError::Kind::Exists || attempt >= 10)
                throw ImportError(texts::writeFailed(e.description()));
        }
    }
}

template <class Row> std::vector<Row> sortedByKey(std::vector<Row> rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const Row& x, const Row& y) { return x.key < y.key; });
    return rows;
}

template <class Row> std::int64_t counterAfter(const std::vector<Row>& rows) {
    std::int64_t highest = 0; // SQLite's counter never goes below zero
    for (const auto& r : rows)
        highest = std::max(highest, r.key);
    return highest;
}

// Reads the new ledger back and holds it against what was meant to be written.
void checkWritten(Ledger& ledger, const LedgerRows& meant) {
    LedgerRows got = readLedgerRows(ledger);
    if (got.members != sortedByKey(meant.members))
        throw ImportError(texts::checkFailed("名前"));
    if (got.incomes != meant.incomes)
        throw ImportError(texts::checkFailed("収入"));
    if (got.categories != sortedByKey(meant.categories))
        throw ImportError(texts::checkFailed("品目"));
    if (got.entries != sortedByKey(meant.entries))
        throw ImportError(texts::checkFailed("DATA"));

    const std::pair<const char*, std::int64_t> counters[] = {
        {"名前", counterAfter(meant.members)},
        {"品目", counterAfter(meant.categories)},
        {"DATA", counterAfter(meant.entries)},
    };
    for (const auto& [table, expected] : counters)
        if (autoincrementCounter(ledger, table).value_or(0) != expected)
            throw ImportError(texts::checkFailed(std::string("sqlite_sequence ") + table));
    if (auto problems = integrityProblems(ledger); !problems.empty())
        throw ImportError(texts::checkFailed(problems));
}

// Gives the finished ledger its name without ever replacing a file that took the name in the
// meantime. An empty ledger found at the start is replaced, if it is still empty now.
void publish(const fs::path& temporary, const fs::path& target, bool replaceEmpty) {
    if (replaceEmpty && !check::holdsNoRows(target))
        throw ImportError(texts::targetHasRows(target));
    const platform::Outcome published = replaceEmpty ? platform::replaceAtomically(temporary, target)
                                                     : platform::publishNew(temporary, target);
    if (published.failure == platform::Failure::Exists)
        throw ImportError(texts::targetExists(target));
    if (!published)
        throw ImportError(texts::publishFailed(target, published.detail));
    platform::syncFolder(target.parent_path());
}

} // namespace

ImportPlan importLegacyLedger(const fs::path& oldFile, const fs::path& targetPath) {
    const fs::path target = fs::absolute(targetPath);
    // The empty ledger scripts/run makes before anyone imports may be replaced; nothing else.
    const bool replaceEmpty = pathTaken(target);
    if (replaceEmpty && !check::holdsNoRows(target))
        throw ImportError(texts::targetHasRows(target));
    std::error_code ec;
    if (!fs::is_directory(target.parent_path(), ec))
        throw ImportError(texts::targetFolderMissing(target.parent_path()));

    // Held until the new ledger has its name or is gone: it tells the next import that the
    // temporary files are not leftovers.
    auto lock = ImportLock::tryTake(target);
    if (!lock)
        throw ImportError(texts::importRunning(target));

    ImportPlan plan;
    try {
        plan = planImport(readLegacyFile(oldFile));
    } catch (const LegacyReadError& e) {
        throw ImportError(e.what());
    }
    plan.leftoversRemoved = removeImportLeftovers(target, *lock);
    // What other writers killed in this folder left (a backup's or export's hidden files).
    for (auto& name : platform::tidyFolder(target.parent_path()).removed)
        plan.leftoversRemoved.push_back(std::move(name));
    std::sort(plan.leftoversRemoved.begin(), plan.leftoversRemoved.end());

    fs::path temporary = createTemporaryLedger(target);
    try {
        {
            Ledger ledger = Ledger::open(temporary);
            writeLedgerRows(ledger, plan.rows);
            checkWritten(ledger, plan.rows);
        } // closed before it is renamed
        publish(temporary, target, replaceEmpty);
    } catch (const LedgerError& e) {
        removeLedgerFiles(temporary);
        throw ImportError(texts::writeFailed(e.description()));
    } catch (...) {
        removeLedgerFiles(temporary);
        throw;
    }
    return plan;
}

} // namespace sorakado::legacy
