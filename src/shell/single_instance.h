#pragma once

#include "store/program_lock.h"

#include <QString>

#include <filesystem>
#include <optional>

namespace sorakado::shell {

// One running copy of the program per folder: the folder holds the ledger, so every program
// file in it (or linked to it) is the same installation, whatever the environment says. The
// lock (ProgramLock) is held for the life of the object; one left behind by a crashed instance
// is taken over, since its process is gone.
//
// The ledger beside the program may be a link to a file in another folder; then the lock of that
// folder is taken as well, so a second program folder linked to the same ledger is refused too.
class SingleInstance {
public:
    explicit SingleInstance(const QString& programPath);
    // False when another instance, or a tool working on the ledger, holds the folder or the
    // folder of the ledger's real file.
    bool acquire();
    // Why acquire refused, for the one message shown before the program ends.
    QString refusalText() const;
    static QString lockPathFor(const QString& programPath);

private:
    std::filesystem::path folder_;
    std::optional<ProgramLock> lock_;
    ProgramLock::HeldBy heldBy_ = ProgramLock::HeldBy::Nobody;
};

inline const QString kAlreadyRunning = QStringLiteral("すでに「Sorakado」は起動されています。");
// %1: the folder the linked ledger's real file is in.
inline const QString kLedgerOpenElsewhere = QStringLiteral(
    "台帳の実体がある別のフォルダー「%1」で、Sorakado か sorakado-ledger がこの台帳を使用中のため、"
    "起動しません。そちらを終了してから起動してください。");

} // namespace sorakado::shell
