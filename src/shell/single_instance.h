#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace sorakado::shell {

// One running copy of the program per installation: a lock file named after the program's own
// path. The lock is held for the life of the object; one left behind by a crashed instance is
// taken over, since its process is gone.
class SingleInstance {
public:
    explicit SingleInstance(const QString& programPath);
    // False when another instance of the same program is running.
    bool acquire();
    static QString lockPathFor(const QString& programPath);

private:
    std::unique_ptr<QLockFile> lock_;
};

inline const QString kAlreadyRunning = QStringLiteral("すでに「Sorakado」は起動されています。");

} // namespace sorakado::shell
