// Text dumps of the router's tables, built from table walk lines.
//
// A walk given a table's identifier returns one line per value, column by column, each value in
// double quotes. These functions turn such lines into the texts the IP, TCP and UDP panes show.
// Each function returns the texts in the order they are appended to the pane; a text may hold
// CR LF line breaks (the route block does), so one text can make several pane lines.
#pragma once

#include <QString>
#include <QStringList>

namespace tablelayout {

// The value with every double-quote character removed.
QString unquoted(const QString& value);

// A column-by-column walk read back as rows of `columns` cells.
//
// With N lines and W columns a complete table has N = W x R lines and cell (r, j) is line j x R + r.
// When N is not a multiple of W the router left cells out and no rule can tell which: the table
// then gets R = N / W rounded up, so every returned value still appears exactly once; positions past
// the last line are empty and `complete()` is false.
class WalkTable {
public:
    WalkTable(const QStringList& lines, int columns);
    int rows() const { return m_rows; }
    bool complete() const { return m_complete; }
    int valueCount() const { return static_cast<int>(m_lines.size()); }
    // The cell's value without its double quotes; empty past the end of the lines.
    QString cell(int row, int column) const;

private:
    QStringList m_lines;
    int m_columns;
    int m_rows;
    bool m_complete;
};

// The line put in front of a dump whose walk did not give whole rows.
QString incompleteNote(int values, int columns);

// Words for the codes; a code outside the list shows its value as it came.
QString routeTypeWord(const QString& code);
QString routeProtoWord(const QString& code);
QString mediaTypeLine(const QString& code);
// The state line of a TCP connection; empty (no line written) for a code outside 1 to 12.
QString tcpStateLine(const QString& code);
// The word for tcpRtoAlgorithm; empty for a code outside 1 to 4 (the label then keeps its text).
QString rtoAlgorithmWord(const QString& code);

QStringList addressTableDump(const QStringList& walkLines);    // ipAddrTable, 5 columns
QStringList routeTableDump(const QStringList& walkLines);      // ipRouteTable, 13 columns
QStringList netToMediaTableDump(const QStringList& walkLines); // ipNetToMediaTable, 4 columns
QStringList tcpConnectionDump(const QStringList& walkLines);   // tcpConnTable, 5 columns

// The UDP listener table from its two column walks, paired by position: one line per address.
// An address whose port did not come back (the port walk stopped early) gets an empty port.
QStringList udpListenerDump(const QStringList& addresses, const QStringList& ports);

// The raw dump of the ip group for the debug log; `paneHasLines` puts a separator line first.
QStringList rawIpGroupDump(const QStringList& walkLines, bool paneHasLines);

} // namespace tablelayout
