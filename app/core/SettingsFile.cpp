#include "app/core/SettingsFile.h"

#include "app/core/AtomicFile.h"
#include "app/core/SettingsText.h"

#include <QCoreApplication>

QString SettingsFile::fileName() {
    const QString exe = QCoreApplication::applicationFilePath();
    if (exe.isEmpty()) return QStringLiteral("kestrune.ini");
    return settingstext::settingsFileName(exe);
}

SettingsFile::SettingsFile() {
    QByteArray content;
    bool existed = false;
    QString error;
    if (!atomicfile::readAll(fileName(), content, existed, error))
        m_readError = QStringLiteral("Cannot read the settings file \"%1\": %2").arg(fileName(), error);
    m_ini.parse(content);
    if (existed && m_readError.isEmpty()) m_readContent = content;
}

bool SettingsFile::release(QString& error) {
    if (!m_readError.isEmpty()) {
        // Writing now would replace settings we never saw.
        error = m_readError;
        return false;
    }
    const QByteArray content = m_ini.serialize();
    // Nothing changed: the file is left alone (a read-only file is then no error either).
    if (m_readContent && *m_readContent == content) return true;
    QString why;
    // The file holds the write community, which is also the router's password.
    if (!atomicfile::write(fileName(), content, why, atomicfile::Access::Private)) {
        error = QStringLiteral("Cannot write the settings file \"%1\": %2").arg(fileName(), why);
        return false;
    }
    return true;
}
