#pragma once

#include "instance/folder_lock.h"

#include <QString>

#include <filesystem>
#include <optional>

namespace sorakado::shell {

// One running copy of the program per folder: the folder holds the ledger, so every program
// file in it (or linked to it) is the same installation, whatever the environment says. The
// lock is held for the life of the object; one left behind by a crashed instance is taken
// over, since its process is gone.
class SingleInstance {
public:
    explicit SingleInstance(const QString& programPath);
    // False when another instance is running on the same folder.
    bool acquire();
    static QString lockPathFor(const QString& programPath);

private:
    std::filesystem::path folder_;
    std::optional<instance::FolderLock> lock_;
};

// The program that opens ledger: the ledger lives beside the program, so the one in its folder.
QString programPathFor(const std::filesystem::path& ledger);
// Whether the program that opens ledger is running now. A tool that replaces a ledger holds that
// program's SingleInstance instead, for as long as it works, so the program cannot start meanwhile.
bool programRunningOn(const std::filesystem::path& ledger);

inline const QString kAlreadyRunning = QStringLiteral("すでに「Sorakado」は起動されています。");

} // namespace sorakado::shell
