// Qt's message boxes, save dialog, beep, cursor and clipboard, or the test record in their place.
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

const QString Ellipsis = QStringLiteral("...");
// A run of this many characters without a blank or line break gets a break opportunity after it.
constexpr int kMaxUnbrokenRun = 40;
constexpr QChar ZeroWidthSpace(0x200B);

bool isBreak(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// What the box's label is given: only LF breaks lines there, so CR LF and a lone CR become LF, and a
// long run without blanks may wrap instead of widening the box past the screen.
QString displayed(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / kMaxUnbrokenRun);
    int run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) continue;
        out += isBreak(c) ? QChar(QLatin1Char('\n')) : c;
        run = (isBreak(c) || c.isSpace()) ? 0 : run + 1;
        if (run == kMaxUnbrokenRun) {
            out += ZeroWidthSpace;
            run = 0;
        }
    }
    return out;
}

std::pair<QMessageBox::Icon, QMessageBox::StandardButtons> looks(BoxKind kind) {
    switch (kind) {
    case BoxKind::Question:
        return {QMessageBox::Question, QMessageBox::Yes | QMessageBox::No};
    case BoxKind::Warning:
        return {QMessageBox::Warning, QMessageBox::Ok};
    case BoxKind::Error:
        return {QMessageBox::Critical, QMessageBox::Ok};
    case BoxKind::Information:
        break;
    }
    return {QMessageBox::Information, QMessageBox::Ok};
}
} // namespace

QString boxText(const QString& text) {
    // Cut before character i, never between the halves of a surrogate pair.
    auto cutAt = [&](qsizetype i) { return text.left(text[i].isLowSurrogate() ? i - 1 : i) + Ellipsis; };
    int rows = 1, column = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i == kBoxMaxCharacters) return cutAt(i);
        if (isBreak(text[i])) {
            if (text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
            column = 0;
            if (++rows > kBoxMaxRows) return text.left(i + 1) + Ellipsis;
            continue;
        }
        if (column > 0 && column % kBoxRowCharacters == 0 && ++rows > kBoxMaxRows) return cutAt(i);
        ++column;
    }
    return text;
}

std::unique_ptr<QMessageBox> makeBox(QWidget* parent, BoxKind kind, const QString& title,
                                     const QString& text) {
    const auto [icon, buttons] = looks(kind);
    auto box = std::make_unique<QMessageBox>(icon, title, QString(), buttons, parent);
    box->setTextFormat(Qt::PlainText);
    box->setText(displayed(boxText(text)));
    box->setDefaultButton(kind == BoxKind::Question ? QMessageBox::Yes : QMessageBox::Ok);
    return box;
}

QMessageBox::StandardButton message(QWidget* parent, BoxKind kind, const QString& title,
                                    const QString& text) {
    auto& t = test();
    if (t.enabled) {
        t.shown.push_back({kind, title, boxText(text)});
        if (!t.answers.empty()) {
            auto a = t.answers.front();
            t.answers.pop_front();
            return a;
        }
        return kind == BoxKind::Question ? QMessageBox::Yes : QMessageBox::Ok;
    }
    return static_cast<QMessageBox::StandardButton>(makeBox(parent, kind, title, text)->exec());
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
