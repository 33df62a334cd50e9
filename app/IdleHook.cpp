// The window's anti-freeze as a hook for every transport that waits on the GUI thread.
#include "app/Main_Unit.h"

#include "net/AntiFreeze.h"

std::function<void()> TMainForm::idleHook() {
    return TIdAntiFreeze::idleHook();
}
