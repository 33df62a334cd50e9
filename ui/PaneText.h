// Line-level access to the multi-line text panes (log panes and table dumps).
#pragma once

#include <QStringList>

class QPlainTextEdit;

// The pane's lines, one per text block; an empty pane has none.
QStringList paneLines(const QPlainTextEdit& pane);

// Appends each text as one append; a text holding line breaks (CR LF, LF or CR) becomes several lines.
void appendToPane(QPlainTextEdit& pane, const QStringList& texts);
