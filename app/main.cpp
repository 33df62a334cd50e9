#include "app/Main_Unit.h"
#include "windows/ProgramHelp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrune Utility"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kestrune Utility"));
    QApplication::setApplicationVersion(QStringLiteral("1.2.0.1"));
    app.setProperty("helpFile", QStringLiteral("kestrune.html"));
    ProgramHelp help(QStringLiteral("kestrune.html"));
    TMainForm form;
    help.createWindow();
    form.show();
    return QApplication::exec();
}
