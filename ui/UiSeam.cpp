#include "ui/UiSeam.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>

namespace UiSeam {
namespace {
struct TestState {
    bool enabled = false;
    std::deque<QMessageBox::StandardButton> answers;
    std::deque<QString> saveNames;
    std::vector<ShownMessage> shown;
    std::vector<SaveRequest> saves;
    int beeps = 0;
    QString clipboard;
};
TestState& test() {
    static TestState s;
    return s;
}
int g_cursorDepth = 0;

// A box shows only LF as a line break: CR LF and a lone CR become LF on screen (the text itself keeps
// its breaks; tests see it unchanged).
QString shownLines(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
} // namespace

QMessageBox::StandardButton message(QWidget* parent, BoxKind kind, const QString& title,
                                    const QString& text) {
    auto& t = test();
    if (t.enabled) {
        t.shown.push_back({kind, title, text});
        if (!t.answers.empty()) {
            auto a = t.answers.front();
            t.answers.pop_front();
            return a;
        }
        return kind == BoxKind::Question ? QMessageBox::Yes : QMessageBox::Ok;
    }
    const QString shown = shownLines(text);
    switch (kind) {
    case BoxKind::Question:
        return QMessageBox::question(parent, title, shown, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::Yes);
    case BoxKind::Warning:
        return QMessageBox::warning(parent, title, shown);
    case BoxKind::Error:
        return QMessageBox::critical(parent, title, shown);
    case BoxKind::Information:
        break;
    }
    return QMessageBox::information(parent, title, shown);
}

QString getSaveFileName(QWidget* parent, const SaveRequest& request) {
    auto& t = test();
    if (t.enabled) {
        t.saves.push_back(request);
        if (t.saveNames.empty()) return {};
        QString name = t.saveNames.front();
        t.saveNames.pop_front();
        return name;
    }
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setNameFilters(request.filters);
    dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void beep() {
    auto& t = test();
    if (t.enabled) {
        ++t.beeps;
        return;
    }
    QApplication::beep();
}

void pushBusyCursor() {
    ++g_cursorDepth;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}
void popBusyCursor() {
    if (g_cursorDepth <= 0) return;
    --g_cursorDepth;
    QGuiApplication::restoreOverrideCursor();
}
int busyCursorDepth() {
    return g_cursorDepth;
}

void setClipboardText(const QString& text) {
    auto& t = test();
    if (t.enabled) {
        t.clipboard = text;
        return;
    }
    QGuiApplication::clipboard()->setText(text);
}
QString clipboardText() {
    auto& t = test();
    if (t.enabled) return t.clipboard;
    return QGuiApplication::clipboard()->text();
}

void enableTestMode() {
    test().enabled = true;
}
bool testMode() {
    return test().enabled;
}
void setNextAnswer(QMessageBox::StandardButton answer) {
    test().answers.push_back(answer);
}
void setNextSaveFileName(const QString& path) {
    test().saveNames.push_back(path);
}
const std::vector<ShownMessage>& messages() {
    return test().shown;
}
const std::vector<SaveRequest>& saveRequests() {
    return test().saves;
}
int beepCount() {
    return test().beeps;
}
void resetTestRecord() {
    auto& t = test();
    t.answers.clear();
    t.saveNames.clear();
    t.shown.clear();
    t.saves.clear();
    t.beeps = 0;
    t.clipboard.clear();
}

} // namespace UiSeam
