// The program entry: the application, the program's windows, the event loop.
#include "app/Program.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    setProgramIdentity();
    Program program;
    program.show();
    return QApplication::exec();
}
