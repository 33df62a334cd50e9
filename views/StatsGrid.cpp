// The statistics grids: name and value labels in columns, and the loop that reads them.
#include "views/StatsGrid.h"

#include "net/RouterSession.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>

namespace statsgrid {

QString nameLabelFor(const QString& valueLabel) {
    QString name = valueLabel;
    const qsizetype at = name.lastIndexOf(QLatin1String("_Label"));
    if (at >= 0)
        name.insert(at, QLatin1Char('L'));
    else
        name += QLatin1String("L_Label");
    return name;
}

std::vector<QLabel*> addColumn(QGridLayout* grid, int column, std::span<const Item> items,
                               const QString& initial, int firstRow) {
    std::vector<QLabel*> values;
    QWidget* parent = grid->parentWidget();
    int row = firstRow;
    for (const Item& item : items) {
        auto* name = new QLabel(QString::fromLatin1(item.caption), parent);
        name->setObjectName(nameLabelFor(QString::fromLatin1(item.label)));
        name->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* value = new QLabel(initial, parent);
        value->setTextFormat(Qt::PlainText);
        value->setObjectName(QString::fromLatin1(item.label));
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
        value->setMinimumWidth(90);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(name, row, 2 * column);
        grid->addWidget(value, row, 2 * column + 1);
        values.push_back(value);
        ++row;
    }
    return values;
}

void readAll(RouterSession& session, std::span<const Item> items, std::span<QLabel* const> labels) {
    for (std::size_t i = 0; i < items.size() && i < labels.size(); ++i) {
        QString value;
        if (session.get(QString::fromLatin1(items[i].oid), value)) labels[i]->setText(value);
    }
}

} // namespace statsgrid
