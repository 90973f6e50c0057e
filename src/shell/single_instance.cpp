#include "single_instance.h"

namespace sorakado::shell {

QString SingleInstance::lockPathFor(const QString& programPath) {
    const auto folder = ProgramLock::folderOfProgram(programPath.toStdString());
    return QString::fromStdString(ProgramLock::lockPathIn(folder).string());
}

SingleInstance::SingleInstance(const QString& programPath)
    : folder_(ProgramLock::folderOfProgram(programPath.toStdString())) {}

bool SingleInstance::acquire() {
    if (!lock_)
        lock_ = ProgramLock::tryTakeIn(folder_);
    return lock_.has_value();
}

} // namespace sorakado::shell
