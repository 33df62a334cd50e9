// The table sub-pages of the IP, TCP and UDP pages: a read-only fixed-pitch pane with
// "Copy table" and "Save table" beside it, wired to the window's log pane tools.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QPlainTextEdit;
class QPushButton;
class QWidget;

// Appends a table dump to its pane and shows the pane from its first line.
void writeTable(QPlainTextEdit& pane, const QStringList& appends);

// The window's copy and save of a pane, each run with the button that was clicked.
struct PaneTools {
    std::function<void(QPushButton*)> copy;
    std::function<void(QPushButton*)> save;
};

struct TablePane {
    QPlainTextEdit* pane;
    QPushButton* copy;
    QPushButton* save;
};

// Lays out the pane and its two buttons in `container` (which gets a layout of its own).
TablePane addTablePane(const PaneTools& tools, QWidget* container, const char* paneName, const char* copyName,
                       const char* saveName);
