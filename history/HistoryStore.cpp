// SQLite storage of the line history through Qt SQL.
#include "history/HistoryStore.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace history {

namespace {

QAtomicInt g_connections;

const char* const kSampleColumns = "t, ok, down_rate, up_rate, down_atten, up_atten, down_power, up_power, "
                                   "down_snr, up_snr, line_status, ppp_up, in_bytes, out_bytes";

// Version 1 kept the rates, attenuation and SNR margin only; version 2 adds output power, line
// and link state, the byte counts, the events, and two roll-ups kept with every insert: per hour
// (the lowest and highest of each drawn figure, so a long range is drawn from a few thousand rows)
// and bytes per local day.
// The drawn figures' columns, in the order of history::Figure.
const char* const kDrawn[kFigures] = {"down_snr", "up_snr", "down_atten", "up_atten", "down_rate", "up_rate"};
constexpr std::int64_t kHourMs = 3600000;

#define KESTRUNE_HOURS_COLUMNS                                                                               \
    "hour, first_t, last_t, answered, gaps, lo0, lo1, lo2, lo3, lo4, lo5, hi0, hi1, hi2, hi3, hi4, hi5"
const char* const kCreateHours = "CREATE TABLE hours (hour INTEGER PRIMARY KEY, first_t INTEGER, last_t "
                                 "INTEGER, answered INTEGER, gaps INTEGER, "
                                 "lo0 REAL, lo1 REAL, lo2 REAL, lo3 REAL, lo4 REAL, lo5 REAL, hi0 REAL, hi1 "
                                 "REAL, hi2 REAL, hi3 REAL, hi4 REAL, "
                                 "hi5 REAL)";
const char* const kCreateDays = "CREATE TABLE days (day TEXT PRIMARY KEY, in_bytes REAL, out_bytes REAL)";
const char* const kRebuildHours =
    "INSERT INTO hours (" KESTRUNE_HOURS_COLUMNS
    ") SELECT t / 3600000, min(t), max(t), sum(ok), count(*) - sum(ok), "
    "min(down_snr), min(up_snr), min(down_atten), min(up_atten), min(down_rate), min(up_rate), "
    "max(down_snr), max(up_snr), max(down_atten), max(up_atten), max(down_rate), max(up_rate) "
    "FROM samples GROUP BY t / 3600000";

// One sample into its hour: lows and highs merged where both are known.
QString hourUpsert() {
    QString merge;
    for (int f = 0; f < kFigures; ++f)
        merge += QStringLiteral(", lo%1 = coalesce(min(lo%1, excluded.lo%1), lo%1, excluded.lo%1)"
                                ", hi%1 = coalesce(max(hi%1, excluded.hi%1), hi%1, excluded.hi%1)")
                     .arg(f);
    return QStringLiteral("INSERT INTO hours (" KESTRUNE_HOURS_COLUMNS
                          ") VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?) "
                          "ON CONFLICT(hour) DO UPDATE SET first_t = min(first_t, excluded.first_t), "
                          "last_t = max(last_t, excluded.last_t), answered = answered + excluded.answered, "
                          "gaps = gaps + excluded.gaps") +
           merge;
}

const char* const kCreateV2[] = {
    "CREATE TABLE samples (t INTEGER NOT NULL, ok INTEGER NOT NULL, down_rate REAL, up_rate REAL, "
    "down_atten REAL, up_atten REAL, down_power REAL, up_power REAL, down_snr REAL, up_snr REAL, "
    "line_status INTEGER, ppp_up INTEGER, in_bytes REAL, out_bytes REAL)",
    "CREATE INDEX samples_t ON samples (t)",
    "CREATE TABLE events (t INTEGER NOT NULL, kind INTEGER NOT NULL, detail TEXT)",
    "CREATE INDEX events_t ON events (t)",
    kCreateHours,
    kCreateDays,
};
const char* const kFromV1[] = {
    "ALTER TABLE samples ADD COLUMN down_power REAL",
    "ALTER TABLE samples ADD COLUMN up_power REAL",
    "ALTER TABLE samples ADD COLUMN line_status INTEGER",
    "ALTER TABLE samples ADD COLUMN ppp_up INTEGER",
    "ALTER TABLE samples ADD COLUMN in_bytes REAL",
    "ALTER TABLE samples ADD COLUMN out_bytes REAL",
    "CREATE TABLE events (t INTEGER NOT NULL, kind INTEGER NOT NULL, detail TEXT)",
    "CREATE INDEX events_t ON events (t)",
    kCreateHours,
    kCreateDays,
    kRebuildHours,
};

QVariant figure(const LineSample& s, double v) {
    return s.ok ? QVariant(v) : QVariant(QMetaType::fromType<double>());
}

void bindSample(QSqlQuery& q, const LineSample& s) {
    q.addBindValue(QVariant::fromValue<qint64>(s.timeMs));
    q.addBindValue(s.ok ? 1 : 0);
    for (double v :
         {s.downRate, s.upRate, s.downAtten, s.upAtten, s.downPower, s.upPower, s.downSnr, s.upSnr})
        q.addBindValue(figure(s, v));
    q.addBindValue(s.ok ? QVariant(s.lineStatus) : QVariant(QMetaType::fromType<int>()));
    q.addBindValue(s.ok ? QVariant(s.pppUp ? 1 : 0) : QVariant(QMetaType::fromType<int>()));
    q.addBindValue(figure(s, s.inBytes));
    q.addBindValue(figure(s, s.outBytes));
}

LineSample sampleOf(const QSqlQuery& q) {
    LineSample s;
    s.timeMs = q.value(0).toLongLong();
    s.ok = q.value(1).toInt() != 0;
    double* figures[] = {&s.downRate,  &s.upRate,  &s.downAtten, &s.upAtten,
                         &s.downPower, &s.upPower, &s.downSnr,   &s.upSnr};
    for (int i = 0; i < 8; ++i)
        *figures[i] = q.value(2 + i).toDouble();
    s.lineStatus = q.value(10).isNull() ? -1 : q.value(10).toInt();
    s.pppUp = q.value(11).toInt() != 0;
    s.inBytes = q.value(12).toDouble();
    s.outBytes = q.value(13).toDouble();
    return s;
}

// The history tells when the line was used: the file is its owner's alone. Created with that mode
// (whatever the umask), and an older file with a wider one is narrowed. SQLite gives its -wal and
// -shm files the database file's mode.
bool makeOwnerOnly(const QString& path, QString& error) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0;
    if (ok && (st.st_mode & 0777) != (S_IRUSR | S_IWUSR)) ok = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0;
    if (!ok) error = QString::fromLocal8Bit(std::strerror(errno));
    ::close(fd);
    for (const char* suffix : {"-wal", "-shm"})
        ::chmod((name + suffix).constData(), S_IRUSR | S_IWUSR); // when they are there
    return ok;
}

} // namespace

HistoryStore::HistoryStore()
    : m_connection(QStringLiteral("kestrune-history-%1").arg(g_connections.fetchAndAddRelaxed(1))) {}

HistoryStore::~HistoryStore() {
    close();
}

bool HistoryStore::open(const QString& path) {
    close();
    if (!makeOwnerOnly(path, m_error)) return false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(path);
        if (!db.open()) {
            m_error = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_connection);
            return false;
        }
    }
    // WAL: a writer killed in the middle of a write leaves the last committed state readable.
    if (exec(QStringLiteral("PRAGMA journal_mode=WAL")) &&
        exec(QStringLiteral("PRAGMA synchronous=NORMAL")) && migrate())
        return true;
    const QString why = m_error;
    close();
    m_error = why;
    return false;
}

bool HistoryStore::isOpen() const {
    return QSqlDatabase::contains(m_connection) && QSqlDatabase::database(m_connection, false).isOpen();
}

void HistoryStore::close() {
    if (!QSqlDatabase::contains(m_connection)) return;
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

bool HistoryStore::exec(const QString& sql) {
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (q.exec(sql)) return true;
    m_error = q.lastError().text();
    return false;
}

int HistoryStore::schemaVersion() const {
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    return q.exec(QStringLiteral("PRAGMA user_version")) && q.next() ? q.value(0).toInt() : -1;
}

bool HistoryStore::migrate() {
    if (schemaVersion() == kSchemaVersion) return true;
    // Another program may be opening the same new file: take the write lock before looking at the
    // version again, so that only one of them creates the tables and the other waits and finds them.
    if (!exec(QStringLiteral("BEGIN IMMEDIATE"))) return false;
    const int version = schemaVersion();
    if (version > kSchemaVersion) {
        exec(QStringLiteral("ROLLBACK"));
        m_error = QStringLiteral("The line history was written by a newer version (schema %1).").arg(version);
        return false;
    }
    bool ok = true;
    auto run = [&](const auto& statements) {
        for (const char* sql : statements)
            ok = ok && exec(QLatin1String(sql));
    };
    if (version == 0)
        run(kCreateV2);
    else if (version == 1)
        run(kFromV1);
    ok = ok && exec(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion));
    if (ok && exec(QStringLiteral("COMMIT"))) return true;
    const QString why = m_error;
    exec(QStringLiteral("ROLLBACK"));
    m_error = why;
    return false;
}

bool HistoryStore::insert(const LineSample& s) {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO samples (%1) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)")
                  .arg(QLatin1String(kSampleColumns)));
    bindSample(q, s);
    bool ok = q.exec();
    QSqlQuery hour(db);
    hour.prepare(hourUpsert());
    for (qint64 v : {s.timeMs / kHourMs, s.timeMs, s.timeMs})
        hour.addBindValue(QVariant::fromValue(v));
    hour.addBindValue(s.ok ? 1 : 0);
    hour.addBindValue(s.ok ? 0 : 1);
    for (int pass = 0; pass < 2; ++pass)
        for (int f = 0; f < kFigures; ++f)
            hour.addBindValue(figure(s, figureOf(s, static_cast<Figure>(f))));
    ok = ok && hour.exec();
    if (ok && s.ok) {
        QSqlQuery day(db);
        day.prepare(
            QStringLiteral("INSERT INTO days (day, in_bytes, out_bytes) VALUES (?,?,?) ON CONFLICT(day) "
                           "DO UPDATE SET in_bytes = in_bytes + excluded.in_bytes, "
                           "out_bytes = out_bytes + excluded.out_bytes"));
        day.addBindValue(QDateTime::fromMSecsSinceEpoch(s.timeMs).date().toString(Qt::ISODate));
        day.addBindValue(s.inBytes);
        day.addBindValue(s.outBytes);
        ok = day.exec();
        if (!ok) m_error = day.lastError().text();
    }
    if (!ok && m_error.isEmpty()) m_error = q.lastError().text() + hour.lastError().text();
    return ok;
}

bool HistoryStore::addSample(const LineSample& s) {
    return addSamples({s});
}

// A sample and its roll-ups are written whole or not at all.
bool HistoryStore::addSamples(const std::vector<LineSample>& samples) {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    m_error.clear();
    if (!db.transaction()) return failed(db);
    for (const LineSample& s : samples)
        if (!insert(s)) {
            db.rollback();
            return false;
        }
    return db.commit() || failed(db);
}

bool HistoryStore::failed(const QSqlDatabase& db) {
    m_error = db.isOpen() ? db.lastError().text() : QStringLiteral("The line history is not open.");
    return false;
}

bool HistoryStore::addEvent(const LineEvent& e) {
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("INSERT INTO events (t, kind, detail) VALUES (?,?,?)"));
    q.addBindValue(QVariant::fromValue<qint64>(e.timeMs));
    q.addBindValue(static_cast<int>(e.kind));
    q.addBindValue(e.detail);
    if (q.exec()) return true;
    m_error = q.lastError().text();
    return false;
}

std::vector<LineSample> HistoryStore::samples(std::int64_t fromMs, std::int64_t toMs) const {
    std::vector<LineSample> out;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1 FROM samples WHERE t >= ? AND t < ? ORDER BY t")
                  .arg(QLatin1String(kSampleColumns)));
    q.addBindValue(QVariant::fromValue<qint64>(fromMs));
    q.addBindValue(QVariant::fromValue<qint64>(toMs));
    if (!q.exec()) return out;
    while (q.next())
        out.push_back(sampleOf(q));
    return out;
}

std::vector<LineEvent> HistoryStore::events(std::int64_t fromMs, std::int64_t toMs) const {
    std::vector<LineEvent> out;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT t, kind, detail FROM events WHERE t >= ? AND t < ? ORDER BY t"));
    q.addBindValue(QVariant::fromValue<qint64>(fromMs));
    q.addBindValue(QVariant::fromValue<qint64>(toMs));
    if (!q.exec()) return out;
    while (q.next())
        out.push_back(
            {q.value(0).toLongLong(), static_cast<EventKind>(q.value(1).toInt()), q.value(2).toString()});
    return out;
}

std::vector<Column> HistoryStore::columns(std::int64_t fromMs, std::int64_t toMs, int columns) const {
    std::vector<Column> out;
    const std::int64_t width = columnWidthMs(fromMs, toMs, columns);
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    // Columns of an hour or more come from the hourly roll-up; narrower ones from the samples.
    QString sql;
    if (width >= kHourMs) {
        sql =
            QStringLiteral("SELECT (hour * 3600000 - ?) / ? AS b, min(first_t), max(last_t), sum(answered), "
                           "sum(gaps)");
        for (int f = 0; f < kFigures; ++f)
            sql += QStringLiteral(", min(lo%1), max(hi%1)").arg(f);
        sql += QStringLiteral(
            " FROM hours WHERE hour >= ? / 3600000 AND hour * 3600000 < ? GROUP BY b ORDER BY b");
    } else {
        sql = QStringLiteral("SELECT (t - ?) / ? AS b, min(t), max(t), sum(ok), count(*) - sum(ok)");
        for (const char* name : kDrawn)
            sql += QStringLiteral(", min(%1), max(%1)").arg(QLatin1String(name));
        sql += QStringLiteral(" FROM samples WHERE t >= ? AND t < ? GROUP BY b ORDER BY b");
    }
    q.prepare(sql);
    for (std::int64_t v : {fromMs, width, fromMs, toMs})
        q.addBindValue(QVariant::fromValue<qint64>(v));
    if (!q.exec()) return out;
    while (q.next()) {
        Column c{q.value(1).toLongLong(), q.value(2).toLongLong(), q.value(3).toInt(), q.value(4).toInt()};
        for (int f = 0; f < kFigures; ++f) {
            c.low[f] = q.value(5 + 2 * f).toDouble();
            c.high[f] = q.value(6 + 2 * f).toDouble();
        }
        out.push_back(c);
    }
    return out;
}

std::vector<DayBytes> HistoryStore::bytesPerDay(std::int64_t fromMs, std::int64_t toMs) const {
    std::vector<DayBytes> out;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    q.prepare(
        QStringLiteral("SELECT day, in_bytes, out_bytes FROM days WHERE day >= ? AND day <= ? ORDER BY day"));
    for (std::int64_t v : {fromMs, toMs - 1})
        q.addBindValue(QDateTime::fromMSecsSinceEpoch(v).date().toString(Qt::ISODate));
    if (!q.exec()) return out;
    while (q.next())
        out.push_back({QDate::fromString(q.value(0).toString(), Qt::ISODate), q.value(1).toDouble(),
                       q.value(2).toDouble()});
    return out;
}

std::optional<std::int64_t> HistoryStore::firstSampleTime() const {
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (q.exec(QStringLiteral("SELECT min(t) FROM samples")) && q.next() && !q.value(0).isNull())
        return q.value(0).toLongLong();
    return std::nullopt;
}

std::int64_t HistoryStore::sampleCount() const {
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    return q.exec(QStringLiteral("SELECT count(*) FROM samples")) && q.next() ? q.value(0).toLongLong() : 0;
}

bool HistoryStore::intact() const {
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    return q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next() &&
           q.value(0).toString() == QLatin1String("ok");
}

} // namespace history
