// What the window's web requests run while they wait: the anti-freeze's event processing.
#include "app/Main_Unit.h"

#include "net/AntiFreeze.h"

std::function<void()> TMainForm::httpIdle() const {
    return TIdAntiFreeze::idleHook();
}
