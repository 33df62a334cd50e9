#include "ui/Clock.h"

namespace Clock {
namespace {
QDateTime g_fixed;
}
QDateTime now() {
    return g_fixed.isValid() ? g_fixed : QDateTime::currentDateTime();
}
void setNow(const QDateTime& fixed) {
    g_fixed = fixed;
}
} // namespace Clock
