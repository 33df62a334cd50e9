// The local clock, read through one place so that tests can set "now".
#pragma once

#include <QDateTime>

namespace Clock {
QDateTime now();
inline QDate today() {
    return now().date();
}
// Tests only: a fixed local time, or an invalid QDateTime to follow the real clock again.
void setNow(const QDateTime& fixed);
} // namespace Clock
