// The router's uptime: the real-time display on the System page and the elapsed time since a
// reference uptime.
#include "views/Uptime.h"

#include "net/core/MibObjects.h"
#include "ui/StatusTexts.h"
#include "ui/UiSeam.h"
#include "views/core/UptimeFormat.h"

#include <QLabel>

QString elapsedSinceText(RouterSession& session, const QString& reference) {
    QString now;
    if (!session.get(QLatin1String(mib::sysUpTime), now)) return QString();
    return uptimeformat::elapsedText(now, reference);
}

UptimeDisplay::UptimeDisplay(QLabel* label, RouterSession& session, PageFrame& frame,
                             std::function<bool()> shown, std::function<void()> stop)
    : m_label(label), m_session(session), m_frame(frame), m_shown(std::move(shown)), m_stop(std::move(stop)) {
}

void UptimeDisplay::tick() {
    if (!m_shown()) return;
    QString v;
    QString status = statustext::ReadError;
    if (m_session.get(QLatin1String(mib::sysUpTime), v)) {
        if (const auto text = uptimeformat::longFormText(v)) {
            m_label->setText(*text);
            return;
        }
        status = QStringLiteral(" Error: The router's uptime (sysUpTime) is not a number");
    }
    // The real-time display stops until the user switches it on again.
    m_frame.setStatus(status);
    m_stop();
    UiSeam::beep();
}
