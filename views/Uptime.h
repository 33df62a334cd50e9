// The router's uptime: its real-time display on the System page, and the time elapsed since a
// reference uptime.
#pragma once

#include "net/RouterSession.h"
#include "ui/PageFrame.h"

#include <QString>

#include <functional>

class QLabel;

// The time since `reference` (a TimeTicks text) by the router's uptime read now, as
// days:hours:mins:secs; "" when that read fails.
QString elapsedSinceText(RouterSession& session, const QString& reference);

class UptimeDisplay {
public:
    // Shows the long form in `label` while `shown` says the System page is the current page; a
    // failed read runs `stop`, which switches the real-time display off.
    UptimeDisplay(QLabel* label, RouterSession& session, PageFrame& frame, std::function<bool()> shown,
                  std::function<void()> stop);
    UptimeDisplay(const UptimeDisplay&) = delete;
    UptimeDisplay& operator=(const UptimeDisplay&) = delete;

    // One tick of the real-time display.
    void tick();

private:
    QLabel* m_label;
    RouterSession& m_session;
    PageFrame& m_frame;
    std::function<bool()> m_shown;
    std::function<void()> m_stop;
};
