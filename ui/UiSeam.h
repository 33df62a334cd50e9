// The one seam between the program and everything modal or global a test must not wait on:
// message boxes, the save dialog, the beep, the busy cursor and the clipboard.
//
// In the running program each call goes to Qt. A test installs answers beforehand
// (setNextAnswer, setNextSaveFileName) and reads what was shown (messages, beeps).
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace UiSeam {

enum class BoxKind { Information, Question, Warning, Error };

struct ShownMessage {
    BoxKind kind;
    QString title;
    QString text; // as shown: cut to the box's bounds (boxText)
};

// A box never grows past the screen: its text keeps at most kBoxMaxRows rows, where a line takes one
// row per kBoxRowCharacters characters begun, and at most kBoxMaxCharacters characters; a text cut
// short ends in "...". The line breaks (CR LF, LF or CR) stay as the text has them.
inline constexpr int kBoxMaxRows = 24;
inline constexpr int kBoxRowCharacters = 60;
inline constexpr int kBoxMaxCharacters = 1000;
QString boxText(const QString& text);

// The message box for a text, not yet shown. The text is plain (a peer's text is never read as
// markup), cut by boxText, and long runs without blanks may wrap.
std::unique_ptr<QMessageBox> makeBox(QWidget* parent, BoxKind kind, const QString& title,
                                     const QString& text);

// Message box; returns the button pressed. Question boxes offer Yes and No, the others OK.
QMessageBox::StandardButton message(QWidget* parent, BoxKind kind, const QString& title, const QString& text);
inline QMessageBox::StandardButton information(QWidget* parent, const QString& title, const QString& text) {
    return message(parent, BoxKind::Information, title, text);
}
inline QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text) {
    return message(parent, BoxKind::Question, title, text);
}
inline QMessageBox::StandardButton warning(QWidget* parent, const QString& title, const QString& text) {
    return message(parent, BoxKind::Warning, title, text);
}
// The application's general error report (an exception or conversion error that reached a handler).
inline QMessageBox::StandardButton error(QWidget* parent, const QString& text) {
    return message(parent, BoxKind::Error, QStringLiteral("Error"), text);
}

struct SaveRequest {
    QString title;
    QString defaultSuffix; // without the dot
    QStringList filters;   // Qt filter strings, first selected
    QString fileName;      // proposed name
};
// The save dialog; empty when cancelled. The default suffix is added when the user typed none.
QString getSaveFileName(QWidget* parent, const SaveRequest& request);

void beep();

// Busy cursor: push shows the hourglass, pop restores what was there before.
void pushBusyCursor();
void popBusyCursor();
int busyCursorDepth();

// Restores the cursor when it goes out of scope, on every path.
class BusyCursor {
public:
    BusyCursor() { pushBusyCursor(); }
    ~BusyCursor() {
        if (m_active) popBusyCursor();
    }
    void restore() {
        if (m_active) popBusyCursor();
        m_active = false;
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool m_active = true;
};

void setClipboardText(const QString& text);
QString clipboardText();

// ---- test control -------------------------------------------------------------------------------
// Once enabled, nothing modal is ever shown: message boxes take the queued answers (default:
// Yes for questions, OK otherwise), the save dialog takes the queued names (default: cancelled),
// beeps are only counted and the clipboard is kept in memory.
void enableTestMode();
bool testMode();
void setNextAnswer(QMessageBox::StandardButton answer);
void setNextSaveFileName(const QString& path); // empty string = cancel
const std::vector<ShownMessage>& messages();
const std::vector<SaveRequest>& saveRequests();
int beepCount();
void resetTestRecord();

} // namespace UiSeam
