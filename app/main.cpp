// The program entry: the application, the help system and its window, the main window, the event loop.
#include "app/Main_Unit.h"
#include "ui/ProgramInfo.h"
#include "windows/ProgramHelp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(program::kName));
    QApplication::setApplicationDisplayName(QString::fromLatin1(program::kName));
    QApplication::setApplicationVersion(program::Version);
    ProgramHelp help(QStringLiteral("kestrune.html"));
    TMainForm form;
    help.createWindow();
    form.show();
    return QApplication::exec();
}
