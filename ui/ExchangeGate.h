// Keeps the window painted and answering the desktop while the GUI thread waits for a router's
// answer, without running anything out of turn: user input stays queued, and every timer tick that
// arrives during the wait is held and delivered once the handler that waited has returned, in the
// order the ticks came (one per timer, as a blocked thread would have seen them).
#pragma once

#include <functional>

namespace exchangegate {
// The hook a waiting transport calls between its wait slices.
std::function<void()> idleHook();
// True while a wait is processing events (a nested handler would run inside it).
bool waiting();
// Ticks held and not yet delivered.
int heldTicks();
} // namespace exchangegate
