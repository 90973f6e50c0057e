#include "single_instance.h"

#include "store/ledger.h"

namespace sorakado::shell {

QString SingleInstance::lockPathFor(const QString& programPath) {
    const auto folder = ProgramLock::folderOfProgram(programPath.toStdString());
    return QString::fromStdString(ProgramLock::lockPathIn(folder).string());
}

SingleInstance::SingleInstance(const QString& programPath)
    : folder_(ProgramLock::folderOfProgram(programPath.toStdString())) {}

bool SingleInstance::acquire() {
    if (!lock_)
        lock_ = ProgramLock::tryTakeFor(folder_ / Ledger::kFileName, &heldBy_);
    return lock_.has_value();
}

QString SingleInstance::refusalText() const {
    if (heldBy_ == ProgramLock::HeldBy::ItsRealFolder)
        return kLedgerOpenElsewhere.arg(
            QString::fromStdString(ProgramLock::realFolderOf(folder_ / Ledger::kFileName).string()));
    return kAlreadyRunning;
}

} // namespace sorakado::shell
