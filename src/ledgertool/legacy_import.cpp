#include "legacy_import.h"

#include "import_leftovers.h"
#include "import_texts.h"

#include "store/ledger_check.h"
#include "store/ledger_error.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace sorakado::legacy {

namespace {

namespace texts = import_texts;
namespace fs = std::filesystem;

bool pathTaken(const fs::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 || errno != ENOENT;
}

// Removes the half-made ledger and the journal SQLite may have left beside it.
void removeLedgerFiles(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
    fs::remove(fs::path(path.string() + "-journal"), ignored);
}

// A hidden name beside the target, so the rename stays within one file system.
fs::path createTemporaryLedger(const fs::path& target) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0;; ++attempt) {
        char suffix[17];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
        fs::path candidate = target.parent_path() / ("." + target.filename().string() + ".import-" + suffix);
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

void syncFolder(const fs::path& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Gives the finished ledger its name without ever replacing a file that took the name in the
// meantime: renameat2 refuses to, and where the file system lacks it a hard link does the same.
// An empty ledger found at the start is replaced, if it is still empty now.
void publish(const fs::path& temporary, const fs::path& target, bool replaceEmpty) {
    if (replaceEmpty) {
        if (!check::holdsNoRows(target))
            throw ImportError(texts::targetHasRows(target));
        if (::rename(temporary.c_str(), target.c_str()) != 0)
            throw ImportError(texts::publishFailed(target, std::strerror(errno)));
        syncFolder(target.parent_path());
        return;
    }
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        syncFolder(target.parent_path());
        return;
    }
    int error = errno;
    if (error == EINVAL || error == ENOSYS || error == ENOTSUP) {
        if (::link(temporary.c_str(), target.c_str()) == 0) {
            ::unlink(temporary.c_str());
            syncFolder(target.parent_path());
            return;
        }
        error = errno;
    }
    if (error == EEXIST)
        throw ImportError(texts::targetExists(target));
    throw ImportError(texts::publishFailed(target, std::strerror(error)));
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
