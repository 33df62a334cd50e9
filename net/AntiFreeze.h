// Keeps the window alive while the GUI thread waits inside a network call: pending Qt events are
// processed whenever a waiting transport calls the idle hook (at least every 250 ms).
#pragma once

#include <functional>

class TIdAntiFreeze {
public:
    static constexpr int IdleTimeoutMs = 250;

    // Only one may exist; a second throws std::runtime_error
    // "Only one TIdAntiFreeze can exist per application.".
    TIdAntiFreeze();
    ~TIdAntiFreeze();
    TIdAntiFreeze(const TIdAntiFreeze&) = delete;
    TIdAntiFreeze& operator=(const TIdAntiFreeze&) = delete;

    // Processes pending events when called on the application's thread; does nothing elsewhere or
    // without an application object.
    static void process();
    // process() as a hook for transports that take a std::function<void()>.
    static std::function<void()> idleHook() { return &TIdAntiFreeze::process; }
};
