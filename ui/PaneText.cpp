#include "ui/PaneText.h"

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>

QStringList paneLines(const QPlainTextEdit& pane) {
    QStringList lines;
    const QTextDocument* doc = pane.document();
    if (doc->isEmpty()) return lines;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

void appendToPane(QPlainTextEdit& pane, const QStringList& texts) {
    if (texts.isEmpty()) return;
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r"));
    QString joined = texts.join(QLatin1Char('\n'));
    joined.replace(breaks, QStringLiteral("\n"));
    // One append for the whole dump keeps large tables fast.
    pane.appendPlainText(joined);
}
