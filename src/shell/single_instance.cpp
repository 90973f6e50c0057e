#include "single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace sorakado::shell {

QString SingleInstance::lockPathFor(const QString& programPath) {
    const QString canonical = QFileInfo(programPath).canonicalFilePath();
    const QByteArray hash = QCryptographicHash::hash((canonical.isEmpty() ? programPath : canonical).toUtf8(),
                                                     QCryptographicHash::Sha1)
                                .toHex()
                                .left(16);
    return QDir::temp().filePath(QStringLiteral("sorakado-%1.lock").arg(QString::fromLatin1(hash)));
}

SingleInstance::SingleInstance(const QString& programPath)
    : lock_(std::make_unique<QLockFile>(lockPathFor(programPath))) {
    // Never stale by age: a running instance keeps its lock however long it runs. A lock whose
    // process has died is still recognised and removed by QLockFile.
    lock_->setStaleLockTime(0);
}

bool SingleInstance::acquire() {
    return lock_->tryLock(0);
}

} // namespace sorakado::shell
