// The running program's parts, created in the order the program starts them.
#include "app/Program.h"

#include "ui/ProgramInfo.h"

#include <QApplication>

void setProgramIdentity() {
    QApplication::setApplicationName(QString::fromLatin1(program::kName));
    QApplication::setApplicationDisplayName(QString::fromLatin1(program::kName));
    QApplication::setApplicationVersion(program::Version);
}

Program::Program() : m_help(QStringLiteral("kestrune.html")) {
    m_help.createWindow();
}
