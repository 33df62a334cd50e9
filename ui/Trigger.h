// What started a handler: a timer's tick, a push button, or anything else (the page dispatch, a
// menu item, the program itself).
#pragma once

#include <QPushButton>
#include <QTimer>

enum class Trigger { Tick, Button, Other };

inline Trigger triggerOf(const QObject* sender) {
    if (qobject_cast<const QTimer*>(sender)) return Trigger::Tick;
    if (qobject_cast<const QPushButton*>(sender)) return Trigger::Button;
    return Trigger::Other;
}
