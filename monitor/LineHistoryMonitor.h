// The line history's recording: the database (opened once recording or the window needs it), the
// sample tick with its recorder, what it says when samples cannot be stored, and the window.
#pragma once

#include "history/HistoryStore.h"
#include "history/LineRecorder.h"
#include "monitor/QuotaTracking.h"
#include "net/RouterSession.h"
#include "ui/OptionItems.h"
#include "ui/PageFrame.h"
#include "windows/LineHistory_Unit.h"

#include <QPointer>
#include <QString>

class QAction;
class QTimer;

namespace options {
inline constexpr IntervalChoice kHistory[] = {
    {"HistoryEvery1minute", "Every minute", "1", 60000},
    {"HistoryEvery5minutes", "Every 5 minutes", "5", 300000},
    {"HistoryEvery15minutes", "Every 15 minutes", "15", 900000},
};
} // namespace options

namespace monitor {

class LineHistoryMonitor {
public:
    // `record` is the "Record line history" item, `timer` the sample timer.
    LineHistoryMonitor(RouterSession& session, PageFrame& frame, QAction* record, QTimer* timer);
    LineHistoryMonitor(const LineHistoryMonitor&) = delete;
    LineHistoryMonitor& operator=(const LineHistoryMonitor&) = delete;

    // The database file beside the settings file: its name with "-history.sqlite" for ".ini".
    static QString databasePath(const QString& settingsPath);

    // "Record line history": off, or on with a first sample at once.
    void toggleRecording();
    // The sample tick: one sample into the database.
    void sample();
    // "Line history...": the window, opened or brought to the front.
    void showWindow();
    // The settings file's "Record" key: recording on from the start when it says so.
    void restoreRecording(bool on);
    // Recording was on in this run or in the settings file: only then are its keys written, so
    // that files of users who never used it stay as they are.
    bool used() const { return m_used; }
    // The recorder's last word about storing ("Recording stopped: ..." or "Recording again."),
    // empty while nothing went wrong.
    QString note() const { return m_note; }

private:
    // Opens the database when it is not open yet; false when it cannot be (reported to the user).
    bool ensureOpen();
    void start();
    // Reports once that samples cannot be stored, and once that they can again.
    void reportStoring();
    void setNote(const QString& note);

    RouterSession& m_session;
    PageFrame& m_frame;
    QAction* m_record;
    QTimer* m_timer;
    history::HistoryStore m_store;
    history::LineRecorder m_recorder{m_store};
    QPointer<TLineHistoryForm> m_window;
    QuotaTracking m_clock; // the monotonic clock the counter rules compare the router's uptime with
    bool m_used = false;
    bool m_storeFailing = false;
    QString m_note;
};

} // namespace monitor
