#include "single_instance.h"

namespace sorakado::shell {

QString SingleInstance::lockPathFor(const QString& programPath) {
    const auto folder = instance::programFolder(programPath.toStdString());
    return QString::fromStdString(instance::FolderLock::lockPathFor(folder).string());
}

SingleInstance::SingleInstance(const QString& programPath)
    : folder_(instance::programFolder(programPath.toStdString())) {}

bool SingleInstance::acquire() {
    if (!lock_)
        lock_ = instance::FolderLock::tryTake(folder_);
    return lock_.has_value();
}

QString programPathFor(const std::filesystem::path& ledger) {
    return QString::fromStdString((std::filesystem::absolute(ledger).parent_path() / "sorakado").string());
}

bool programRunningOn(const std::filesystem::path& ledger) {
    SingleInstance instance(programPathFor(ledger));
    return !instance.acquire();
}

} // namespace sorakado::shell
