#pragma once

// Backups of a ledger: consistent copies made while the ledger may be open, encrypted with the
// same password, mode 0600, and checked before they count.
//
// A copy takes the ledger's pages as they lie in the file, still encrypted, under a read
// transaction that keeps every writer out until the last page is in; only this part holds the
// ledger still. The copy, under a hidden temporary name, is then read back through a connection
// of its own and run through PRAGMA integrity_check, written to the disk, and only then renamed
// to its final name (never over an existing file), with the folder synced. A copy that fails
// anywhere is removed: no half-written or unchecked file ever carries a backup's name.

#include "backup_rotation.h"

#include "platform/platform.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <vector>

namespace sorakado::backup {

inline constexpr const char* kFolderName = "backups";

// The copy was stopped through its cancel flag; nothing was left behind.
class Cancelled : public std::runtime_error {
public:
    Cancelled() : std::runtime_error("cancelled") {}
};

// backups/ beside the ledger.
std::filesystem::path folderFor(const std::filesystem::path& ledger);

// Copies the ledger at source to destination, which must not exist. Throws LedgerError with a
// Japanese description (Exists when destination is taken), or Cancelled when cancel is set
// during the copy. First tidies destination's folder (platform::tidyFolder): a copy killed
// earlier leaves no hidden file there for long. Returns what that tidying did.
platform::Tidied copyLedger(const std::filesystem::path& source, const std::filesystem::path& destination,
                            const std::atomic<bool>* cancel = nullptr);

// Copies source, checked and written to the disk, to a new hidden temporary name beside
// destination, and returns that name; the caller renames it into place or removes it. Throws
// LedgerError or Cancelled; on failure nothing is left. pagesCopied is called, on this thread,
// once every page is in the copy and source may be changed again; the check follows.
std::filesystem::path copyBeside(const std::filesystem::path& source,
                                 const std::filesystem::path& destination,
                                 const std::atomic<bool>* cancel = nullptr,
                                 const std::function<void()>& pagesCopied = {});

// A checked copy of the ledger in its backups/ folder (made, mode 0700, when missing), named for
// now; no rotation. Returns the copy's path; what tidying the folder did goes to tidied. Throws
// LedgerError or Cancelled. pagesCopied as for copyBeside.
std::filesystem::path keepCopy(const std::filesystem::path& ledger, TimePoint now,
                               const std::atomic<bool>* cancel = nullptr, platform::Tidied* tidied = nullptr,
                               const std::function<void()>& pagesCopied = {});

struct BackupMade {
    std::filesystem::path file;                 // the new copy
    std::vector<std::filesystem::path> removed; // older copies the rotation took away
    platform::Tidied tidied;                    // what copies killed earlier had left in the folder
    platform::Tidied tidiedBeside;              // and what writers killed earlier left beside the ledger
};

// keepCopy, then the rotation over that folder's copies of this ledger, and the ledger's own
// folder tidied. The rotation runs only after a good copy: a failed one never costs an older
// copy. Throws LedgerError or Cancelled.
BackupMade backUp(const std::filesystem::path& ledger, TimePoint now,
                  const std::atomic<bool>* cancel = nullptr, const std::function<void()>& pagesCopied = {});

// The copies of ledger in folder, by the time in their names, oldest first.
std::vector<BackupCopy> copiesOf(const std::filesystem::path& ledger, const std::filesystem::path& folder);

} // namespace sorakado::backup
