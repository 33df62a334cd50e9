#include "app/Main_Unit.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrune Utility"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kestrune Utility"));
    TMainForm form;
    form.show();
    return QApplication::exec();
}
