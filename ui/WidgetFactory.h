// The one maker of the pages' captions, value labels, edits and buttons, so that every page's
// widgets share their sizes and looks.
#pragma once

#include <QRect>
#include <QString>
#include <Qt>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace widgets {

inline constexpr int kEditHeight = 24;
inline constexpr int kButtonHeight = 28;

// How a value label looks.
enum ValueStyle : unsigned { Plain = 0, Bold = 1, Selectable = 2 };

// A caption (no object name), vertically centred in its rectangle.
QLabel* caption(QWidget* parent, const QString& text, const QRect& geometry,
                Qt::Alignment align = Qt::AlignLeft);
// A named label that shows a value, as plain text.
QLabel* value(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
              unsigned style = Plain);
QLineEdit* edit(QWidget* parent, const char* name, int x, int y, int width, const QString& text = QString());
QPushButton* button(QWidget* parent, const char* name, const QString& text, int x, int y, int width);

} // namespace widgets
