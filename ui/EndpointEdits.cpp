// Edits bound to the router endpoint.
#include "ui/EndpointEdits.h"

#include <QLineEdit>

namespace {
QString valueOf(const RouterEndpoint& e, endpointedits::Field f) {
    switch (f) {
    case endpointedits::Field::Address:
        return e.address();
    case endpointedits::Field::Community:
        return e.community();
    case endpointedits::Field::WriteCommunity:
        return e.writeCommunity();
    }
    return {};
}

void assign(RouterEndpoint& e, endpointedits::Field f, const QString& text) {
    switch (f) {
    case endpointedits::Field::Address:
        e.setAddress(text);
        break;
    case endpointedits::Field::Community:
        e.setCommunity(text);
        break;
    case endpointedits::Field::WriteCommunity:
        e.setWriteCommunity(text);
        break;
    }
}
} // namespace

void endpointedits::bind(QLineEdit* edit, RouterEndpoint& endpoint, Field field) {
    // The edit's own text wins when it already holds one and the model is empty (built with a default).
    if (valueOf(endpoint, field).isEmpty() && !edit->text().isEmpty())
        assign(endpoint, field, edit->text());
    else
        edit->setText(valueOf(endpoint, field));
    QObject::connect(edit, &QLineEdit::textChanged, &endpoint,
                     [&endpoint, field](const QString& text) { assign(endpoint, field, text); });
    QObject::connect(&endpoint, &RouterEndpoint::changed, edit, [edit, &endpoint, field] {
        const QString value = valueOf(endpoint, field);
        if (edit->text() != value) edit->setText(value);
    });
}
