// The exchange gate: event processing during a wait with user input excluded and timer ticks held.
#include "ui/ExchangeGate.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QThread>
#include <QTimerEvent>

#include <utility>
#include <vector>

namespace {

// Posted to the gate once a wait ends; delivered by the next event loop that runs outside a wait.
const QEvent::Type kReplay = static_cast<QEvent::Type>(QEvent::registerEventType());

class Gate : public QObject {
public:
    void idle() {
        auto* app = QCoreApplication::instance();
        if (!app || QThread::currentThread() != app->thread()) return;
        if (m_depth++ == 0) app->installEventFilter(this);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (--m_depth == 0) {
            app->removeEventFilter(this);
            if (!m_held.empty() && !m_replayPosted) {
                m_replayPosted = true;
                QCoreApplication::postEvent(this, new QEvent(kReplay));
            }
        }
    }
    bool waiting() const { return m_depth > 0; }
    int held() const { return static_cast<int>(m_held.size()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_depth == 0 || event->type() != QEvent::Timer || watched == this) return false;
        const int id = static_cast<QTimerEvent*>(event)->timerId();
        for (const auto& [object, timerId] : m_held)
            if (object == watched && timerId == id) return true;
        m_held.emplace_back(watched, id);
        return true;
    }

    bool event(QEvent* event) override {
        if (event->type() != kReplay) return QObject::event(event);
        m_replayPosted = false;
        // Inside a later wait (a handler still running): the end of that wait posts again.
        if (m_depth > 0) return true;
        std::vector<std::pair<QPointer<QObject>, int>> ticks;
        ticks.swap(m_held);
        for (auto& [object, id] : ticks) {
            if (!object) continue;
            QTimerEvent tick(id);
            QCoreApplication::sendEvent(object, &tick);
        }
        return true;
    }

private:
    int m_depth = 0;
    bool m_replayPosted = false;
    std::vector<std::pair<QPointer<QObject>, int>> m_held;
};

Gate& gate() {
    static Gate* g = new Gate; // lives as long as the process: ticks may be held at any moment
    return *g;
}

} // namespace

std::function<void()> exchangegate::idleHook() {
    return [] { gate().idle(); };
}

bool exchangegate::waiting() {
    return gate().waiting();
}

int exchangegate::heldTicks() {
    return gate().held();
}
