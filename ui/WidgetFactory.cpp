// The one maker of the pages' captions, value labels, edits and buttons.
#include "ui/WidgetFactory.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace widgets {

QLabel* caption(QWidget* parent, const QString& text, const QRect& geometry, Qt::Alignment align) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
}

QLabel* value(QWidget* parent, const char* name, const QString& text, const QRect& geometry, unsigned style) {
    auto* l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText); // values come from the router: never markup
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    if (style & Bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    if (style & Selectable) l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QLineEdit* edit(QWidget* parent, const char* name, int x, int y, int width, const QString& text) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setGeometry(x, y, width, kEditHeight);
    return e;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, int x, int y, int width) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, y, width, kButtonHeight);
    return b;
}

} // namespace widgets
