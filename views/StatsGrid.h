// Statistics pages: a grid of right-aligned name labels beside bold value labels, one pair per MIB
// object, and the loop that reads the objects into their value labels.
#pragma once

#include <QString>

#include <span>
#include <vector>

class QGridLayout;
class QLabel;
class QWidget;
class RouterSession;

namespace statsgrid {

struct Item {
    const char* caption; // "InReceives:"
    const char* label;   // value label name, "InReceives_Label"
    const char* oid;     // "1.3.6.1.2.1.4.3.0"
};

// The name label's object name for a value label: "InReceives_Label" -> "InReceivesL_Label",
// "InErrors_Label2" -> "InErrorsL_Label2".
QString nameLabelFor(const QString& valueLabel);

// Puts the items top to bottom into grid column `column` (two grid columns each: name, value),
// starting at grid row `firstRow`. Value labels start with `initial`; they are returned in the
// items' order.
std::vector<QLabel*> addColumn(QGridLayout* grid, int column, std::span<const Item> items,
                               const QString& initial, int firstRow = 0);

// Reads every item in order into the label of the same index; a successful get writes the value
// text, a failed one leaves the label.
void readAll(RouterSession& session, std::span<const Item> items, std::span<QLabel* const> labels);

} // namespace statsgrid
