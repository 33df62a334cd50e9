// One start of a window, for scripts/bench-startup.sh: with "program", the program as main() starts
// it (settings read, System page filled from the router, window shown); with "bare", a plain Qt
// window of four tab pages holding a label each. Either quits once its window has been shown and
// painted, so that the whole process's wall time is the start-up's.
#include "app/Program.h"
#include "ui/StatusTexts.h"
#include "ui/UiSeam.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QTabWidget>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

std::unique_ptr<QMainWindow> bareWindow() {
    auto window = std::make_unique<QMainWindow>();
    auto* tabs = new QTabWidget(window.get());
    for (const char* caption : {"System", "Quota", "ADSL", "Interfaces"})
        tabs->addTab(new QLabel(QString::fromLatin1(caption)), QString::fromLatin1(caption));
    window->setCentralWidget(tabs);
    window->resize(634, 528);
    return window;
}

// Quits the application once the first widget has been painted (the rest of that paint pass runs
// before the queued quit).
class QuitOnFirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QMetaObject::invokeMethod(
                qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 || (std::strcmp(argv[1], "program") != 0 && std::strcmp(argv[1], "bare") != 0)) {
        std::fprintf(stderr, "usage: kestrune-startup program|bare\n");
        return 2;
    }
    QApplication app(argc, argv);
    QuitOnFirstPaint quit;
    app.installEventFilter(&quit);
    if (std::strcmp(argv[1], "bare") == 0) {
        auto window = bareWindow();
        window->show();
        return QApplication::exec();
    }
    // A start-up that asks the user something is no start to time: its boxes are recorded, not shown.
    UiSeam::enableTestMode();
    setProgramIdentity();
    Program program;
    program.show();
    const int status = QApplication::exec();
    for (const UiSeam::ShownMessage& shown : UiSeam::messages())
        std::fprintf(stderr, "the start-up showed a message: %s\n", qPrintable(shown.text));
    if (program.form().statusText() != statustext::Ready) {
        std::fprintf(stderr, "the System page was not filled: %s\n", qPrintable(program.form().statusText()));
        return 1;
    }
    return UiSeam::messages().empty() ? status : 1;
}
