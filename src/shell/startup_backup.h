#pragma once

#include "store/backup_rotation.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

namespace sorakado::shell {

inline const QString kBackupFailed =
    QStringLiteral("台帳のバックアップを作れませんでした。作業はこのまま続けられます。");

// The copy of the ledger made each time the window opens it, into backups/ beside it. It runs on
// a thread of its own with its own connection, so the window appears without waiting for it.
// The first change of the session waits only until the ledger's pages are in the copy
// (waitForPages()), so the copy holds the ledger as it was before the session changed anything;
// the copy's check, its write to the disk and its name follow while the family already works.
//
// The copy starts only with start(), so whoever listens to failed() connects first: a copy that
// fails at once (backups/ is a file, the folder cannot be written) must not report to nobody.
class StartupBackup : public QObject {
    Q_OBJECT
public:
    StartupBackup(std::filesystem::path ledger, backup::TimePoint now, QObject* parent = nullptr);
    // A copy still running is stopped and removed while nothing of the session waited for it, as
    // nothing was changed; once a change did, the copy is the only one of the ledger as it was,
    // and it is finished first.
    ~StartupBackup() override;

    // Starts the copy's thread; once only.
    void start();
    // Returns once the ledger's pages are in the copy (or the copy has failed), so the ledger may
    // change; at once when it was never started. From then on the copy is finished, not stopped.
    void waitForPages();
    // Returns when the copy is made, or has failed; at once when it was never started.
    void wait();
    // The failure's description, given once: whoever asks first has it, later asks get an empty
    // text. A listener connected after the copy began asks once itself, as the failure may have
    // come before it listened.
    QString takeFailure();

    // The time a copy made now is named for, by the window's clock.
    static backup::TimePoint timeOf(const QDateTime& now);

signals:
    // Emitted from the copy's thread; connected queued, it arrives in the window's thread.
    void failed(const QString& description);

private:
    void run();
    void pagesDone();

    std::filesystem::path ledger_;
    backup::TimePoint now_;
    std::atomic<bool> cancel_{false};
    bool needed_ = false; // a change waited for the copy; the window's thread alone reads and writes it
    std::mutex mutex_;
    std::condition_variable pagesCopied_;
    bool pagesDone_ = false;
    QString failure_; // under mutex_
    std::thread thread_;
};

} // namespace sorakado::shell
