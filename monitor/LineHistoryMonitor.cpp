// The line history's recording, its database and its window.
#include "monitor/LineHistoryMonitor.h"

#include "app/core/SettingsFile.h"
#include "ui/Clock.h"
#include "ui/UiSeam.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace monitor {

LineHistoryMonitor::LineHistoryMonitor(RouterSession& session, PageFrame& frame, QAction* record,
                                       QTimer* timer)
    : m_session(session), m_frame(frame), m_record(record), m_timer(timer) {}

QString LineHistoryMonitor::databasePath(const QString& settingsPath) {
    const QFileInfo info(settingsPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("-history.sqlite"));
}

bool LineHistoryMonitor::ensureOpen() {
    if (m_store.isOpen()) return true;
    const QString path = databasePath(SettingsFile::fileName());
    if (m_store.open(path)) return true;
    UiSeam::error(m_frame.dialogParent(),
                  QStringLiteral("The line history \"%1\" cannot be opened: %2").arg(path, m_store.error()));
    return false;
}

void LineHistoryMonitor::start() {
    m_record->setChecked(true);
    m_timer->start();
}

void LineHistoryMonitor::toggleRecording() {
    if (m_record->isChecked()) {
        m_record->setChecked(false);
        m_timer->stop();
        return;
    }
    if (!ensureOpen()) return;
    m_used = true;
    start();
    sample(); // the first sample at once
}

void LineHistoryMonitor::restoreRecording(bool on) {
    m_used = m_used || on;
    // The first sample comes with the first tick, after the interfaces are known.
    if (on && ensureOpen()) start();
}

void LineHistoryMonitor::sample() {
    if (!m_store.isOpen()) return;
    const RouterInterfaces& ifs = m_session.interfaces();
    m_recorder.setInterfaces(ifs.PppIfIndex, ifs.WanIfIndex);
    const auto get = [this](const QString& oid, QString& value) { return m_session.get(oid, value); };
    m_recorder.record(get, Clock::now().toMSecsSinceEpoch(), m_clock.elapsedMs());
    reportStoring();
    if (m_window && m_window->isVisible()) m_window->reload();
}

void LineHistoryMonitor::reportStoring() {
    const bool failing = !m_recorder.stored();
    if (failing == m_storeFailing) return;
    m_storeFailing = failing;
    if (!failing) return setNote(QStringLiteral("Recording again."));
    const QString reason = m_recorder.storeError().trimmed();
    setNote(QStringLiteral("Recording stopped: ") +
            (reason.isEmpty() ? QStringLiteral("the database did not take the sample") : reason));
}

void LineHistoryMonitor::setNote(const QString& note) {
    m_note = note;
    m_frame.setStatus(QLatin1Char(' ') + note);
    if (m_window) m_window->setRecordingNote(note);
}

void LineHistoryMonitor::showWindow() {
    if (!ensureOpen()) return;
    if (!m_window) {
        m_window = new TLineHistoryForm(m_store, m_frame.dialogParent());
        m_window->setRecordingNote(m_note);
    }
    m_window->reload();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace monitor
