#include "startup_backup.h"

#include "store/ledger_backup.h"
#include "store/ledger_error.h"

#include "platform/platform.h"

#include <utility>

namespace sorakado::shell {

StartupBackup::StartupBackup(std::filesystem::path ledger, backup::TimePoint now, QObject* parent)
    : QObject(parent), ledger_(std::move(ledger)), now_(now) {}

StartupBackup::~StartupBackup() {
    if (!needed_)
        cancel_ = true;
    wait();
}

void StartupBackup::start() {
    if (!thread_.joinable())
        thread_ = std::thread([this] { run(); });
}

void StartupBackup::waitForPages() {
    if (!thread_.joinable())
        return;
    needed_ = true;
    std::unique_lock lock(mutex_);
    pagesCopied_.wait(lock, [this] { return pagesDone_; });
}

void StartupBackup::wait() {
    if (thread_.joinable())
        thread_.join();
}

QString StartupBackup::takeFailure() {
    std::lock_guard lock(mutex_);
    return std::exchange(failure_, QString());
}

backup::TimePoint StartupBackup::timeOf(const QDateTime& now) {
    return backup::TimePoint(std::chrono::milliseconds(now.toMSecsSinceEpoch()));
}

void StartupBackup::pagesDone() {
    {
        std::lock_guard lock(mutex_);
        pagesDone_ = true;
    }
    pagesCopied_.notify_all();
}

void StartupBackup::run() {
    QString failure;
    try {
        backup::backUp(ledger_, now_, &cancel_, [this] { pagesDone(); });
    } catch (const backup::Cancelled&) {
        // stopped on purpose, with the window: nothing to say
    } catch (const LedgerError& e) {
        failure = QString::fromStdString(e.description());
    } catch (const std::exception& e) {
        failure = QString::fromStdString(e.what());
    }
    // However the copy ended, a change waiting for it may go ahead now.
    pagesDone();
    // The copy's page caches were freed into this thread's own malloc arena, which keeps them
    // resident for the rest of the session unless they are handed back.
    platform::returnFreeMemory();
    if (failure.isEmpty())
        return;
    const QString description = kBackupFailed + u'\n' + failure;
    {
        std::lock_guard lock(mutex_);
        failure_ = description;
    }
    emit failed(description);
}

} // namespace sorakado::shell
