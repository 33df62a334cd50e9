// The line history's database: samples and events in SQLite (WAL journal, indexed by time), with a
// schema version and the migration from older versions.
#pragma once

#include "history/core/LineSample.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QSqlDatabase;

namespace history {

class HistoryStore {
public:
    // The schema this program writes; files of an older version are migrated on open.
    static constexpr int kSchemaVersion = 2;

    HistoryStore();
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // Opens (creating or migrating) the database file; false with error() set when it cannot.
    bool open(const QString& path);
    bool isOpen() const;
    void close();
    QString error() const { return m_error; }
    int schemaVersion() const; // of the open file

    bool addSample(const LineSample& s);
    bool addEvent(const LineEvent& e);
    // Several samples in one transaction (imports, benchmarks).
    bool addSamples(const std::vector<LineSample>& samples);

    // Samples and events with fromMs <= time < toMs, oldest first.
    std::vector<LineSample> samples(std::int64_t fromMs, std::int64_t toMs) const;
    std::vector<LineEvent> events(std::int64_t fromMs, std::int64_t toMs) const;
    // The range summed up for a chart `columns` wide (the columns holding samples, in time order).
    std::vector<Column> columns(std::int64_t fromMs, std::int64_t toMs, int columns) const;
    // Bytes per local calendar day, for the days the range touches.
    std::vector<DayBytes> bytesPerDay(std::int64_t fromMs, std::int64_t toMs) const;
    std::optional<std::int64_t> firstSampleTime() const;
    std::int64_t sampleCount() const;
    // SQLite's own check of the file found nothing wrong.
    bool intact() const;

private:
    bool exec(const QString& sql);
    bool insert(const LineSample& s); // within the caller's transaction
    bool migrate();
    bool failed(const QSqlDatabase& db); // false, with the database's reason in m_error
    QString m_connection;
    QString m_error;
};

} // namespace history
