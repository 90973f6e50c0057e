#pragma once

#include "store/backup_rotation.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <filesystem>
#include <thread>

namespace sorakado::shell {

inline const QString kBackupFailed =
    QStringLiteral("台帳のバックアップを作れませんでした。作業はこのまま続けられます。");

// The copy of the ledger made each time the window opens it, into backups/ beside it. It runs on
// a thread of its own with its own connection, so the window appears without waiting for it; the
// first change of the session waits for it instead (wait()), so the copy always holds the ledger
// as it was before the session changed anything.
//
// The copy starts only with start(), so whoever listens to failed() connects first: a copy that
// fails at once (backups/ is a file, the folder cannot be written) must not report to nobody.
class StartupBackup : public QObject {
    Q_OBJECT
public:
    StartupBackup(std::filesystem::path ledger, backup::TimePoint now, QObject* parent = nullptr);
    // A copy still running is stopped and removed: nothing was changed yet, so nothing is lost.
    ~StartupBackup() override;

    // Starts the copy's thread; once only.
    void start();
    // Returns when the copy is made, or has failed; at once when it was never started.
    void wait();

signals:
    // Emitted from the copy's thread; connected queued, it arrives in the window's thread.
    void failed(const QString& description);

private:
    void run();

    std::filesystem::path ledger_;
    backup::TimePoint now_;
    std::atomic<bool> cancel_{false};
    std::thread thread_;
};

} // namespace sorakado::shell
