// The option menus' interval items: the item's name, its caption, the value the settings file holds
// for it and the interval it gives its timer.
#pragma once

class QAction;
class QTimer;

struct IntervalChoice {
    const char* item;
    const char* caption;
    const char* value;
    int ms;
};

namespace options {

inline constexpr IntervalChoice kLinkCheck[] = {
    {"N1secondinterval1", "1 second check", "1", 1000},
    {"N3secondinterval1", "3 second check", "3", 3000},
    {"N5secondinterval1", "5 second check", "5", 5000},
    {"N10secondinterval1", "10 second check", "10", 10000},
    {"N15secondinterval1", "15 second check", "15", 15000},
    {"N20secondinterval1", "20 second check", "20", 20000},
    {"N30secondinterval1", "30 second check", "30", 30000},
};
inline constexpr IntervalChoice kQuota[] = {
    {"N1minuteupdate1", "1 minute update", "1", 60000},
    {"N5minuteupdate1", "5 minute update", "5", 300000},
    {"N10minuteupdate1", "10 minute update", "10", 600000},
    {"N15minuteupdate1", "15 minute update", "15", 900000},
    {"N30minuteupdate1", "30 minute update", "30", 1800000},
    {"N60minuteupdate1", "60 minute update", "60", 3600000},
};
inline constexpr IntervalChoice kEventLog[] = {
    {"Everyhour", "Every hour", "1", 3600000},          {"Every3hours", "Every 3 hours", "3", 10800000},
    {"Every6hours", "Every 6 hours", "6", 21600000},    {"Every12hours", "Every 12 hours", "12", 43200000},
    {"Every24hours", "Every 24 hours", "24", 86400000},
};
inline constexpr IntervalChoice kInterfaces[] = {
    {"N5SecondUpdate", "5 second update", "5", 5000},
    {"N10SecondUpdate", "10 second update", "10", 10000},
    {"N15SecondUpdate", "15 second update", "15", 15000},
    {"N20SecondUpdate", "20 second update", "20", 20000},
    {"N30SecondUpdate", "30 second update", "30", 30000},
    {"N60SecondUpdate", "60 second update", "60", 60000},
};
inline constexpr IntervalChoice kUptime[] = {
    {"N1secondupdate1", "1 second update", "1", 1000},
    {"N10secondupdate1", "10 second update", "10", 10000},
    {"N30secondupdate1", "30 second update", "30", 30000},
    {"N60secondupdate1", "60 second update", "60", 60000},
};

template <class T, int N> constexpr int count(const T (&)[N]) {
    return N;
}

// How many seconds an hour of the event-log transfer intervals lasts: 3600, or what the environment
// variable KESTRUNE_EVENTLOG_HOUR_SECONDS (1 to 3600) says, so that a soak run sees hourly transfers
// in minutes. Nothing else reads it.
int eventLogSecondsPerHour();

// A monitor's on/off item: inverts its check mark, then its timer runs exactly when it is checked
// (a timer switched on starts a full interval; no tick at once).
void toggleWithTimer(QAction* item, QTimer* timer);

} // namespace options
