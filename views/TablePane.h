// The table sub-pages of the IP, TCP and UDP pages: a read-only fixed-pitch pane with
// "Copy table" and "Save table" beside it, wired to the window's log pane tools.
#pragma once

#include <QString>
#include <QStringList>

class QPlainTextEdit;
class QPushButton;
class QWidget;
class TMainForm;

// Appends a table dump to its pane and shows the pane from its first line.
void writeTable(QPlainTextEdit& pane, const QStringList& appends);

struct TablePane {
    QPlainTextEdit* pane;
    QPushButton* copy;
    QPushButton* save;
};

// Lays out the pane and its two buttons in `container` (which gets a layout of its own).
TablePane addTablePane(TMainForm* form, QWidget* container, const char* paneName, const char* copyName,
                       const char* saveName);
