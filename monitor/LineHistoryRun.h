// What the window keeps for the line history: the database (opened once recording or the window
// needs it), the recorder, the window, and whether the user ever had recording on.
#pragma once

#include "ui/OptionItems.h"
#include "history/HistoryStore.h"
#include "history/LineRecorder.h"
#include "monitor/QuotaTracking.h"
#include "windows/LineHistory_Unit.h"

#include <QPointer>
#include <QString>

#include <memory>

namespace options {
inline constexpr IntervalChoice kHistory[] = {
    {"HistoryEvery1minute", "Every minute", "1", 60000},
    {"HistoryEvery5minutes", "Every 5 minutes", "5", 300000},
    {"HistoryEvery15minutes", "Every 15 minutes", "15", 900000},
};
} // namespace options

struct LineHistoryRun {
    // The database file beside the settings file: its name with "-history.sqlite" for ".ini".
    static QString databasePath(const QString& settingsPath);

    // Opens the database when it is not open yet; false when it cannot be (reported to the user).
    bool ensureOpen(QWidget* parent, const QString& path);

    history::HistoryStore store;
    history::LineRecorder recorder{store};
    QPointer<TLineHistoryForm> window;
    QuotaTracking clock; // the monotonic clock the counter rules compare the router's uptime with
    // The settings keys are written only once recording was on in this run or in the file, so that
    // files of users who never used it stay as they are.
    bool used = false;
};
