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
class SingleInstance {
public:
    explicit SingleInstance(const QString& programPath);
    // False when another instance, or a tool working on the ledger, holds the folder.
    bool acquire();
    static QString lockPathFor(const QString& programPath);

private:
    std::filesystem::path folder_;
    std::optional<ProgramLock> lock_;
};

inline const QString kAlreadyRunning = QStringLiteral("すでに「Sorakado」は起動されています。");

} // namespace sorakado::shell
