// The line history: its database (a writer killed mid-write, the migration from the older schema),
// the recorder against the stand-in, the Options menu items, and the window's exports.
#include "support/MainFormHarness.h"

#include "history/HistoryStore.h"
#include "history/LineRecorder.h"
#include "ui/Clock.h"
#include "ui/UiSeam.h"
#include "windows/LineHistory_Unit.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace history;
using testsupport::MainFormHarness;

namespace {

LineSample figures(std::int64_t t, double downSnr) {
    LineSample s{t};
    s.ok = true;
    s.downSnr = downSnr;
    s.downRate = 8000;
    s.pppUp = true;
    return s;
}

} // namespace

// Run only as the child of KilledWriterLeavesTheFileIntact: writes until it is killed, or for at
// most a minute should its parent have gone away without killing it.
TEST(LineHistoryStore, DISABLED_WriterChild) {
    HistoryStore store;
    ASSERT_TRUE(store.open(qEnvironmentVariable("KESTRUNE_HISTORY_WRITER"))) << store.error().toStdString();
    QElapsedTimer running;
    running.start();
    for (std::int64_t t = 0; running.elapsed() < 60000; t += 300000) {
        store.addSample(figures(t, 12));
        if (t % 3000000 == 0) store.addSamples(std::vector<LineSample>(500, figures(t, 9)));
    }
}

TEST(LineHistoryStore, KilledWriterLeavesTheFileIntact) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("h.sqlite"));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KESTRUNE_HISTORY_WRITER"), path);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_also_run_disabled_tests"),
                                                          QStringLiteral("--gtest_filter=*WriterChild")});
    ASSERT_TRUE(child.waitForStarted());
    HistoryStore reader;
    std::int64_t seen = 0;
    for (int i = 0; i < 400 && seen < 3000; ++i) {
        QTest::qWait(25);
        if (reader.isOpen() || (QFile::exists(path) && reader.open(path))) seen = reader.sampleCount();
    }
    // A writer that already ended has no process left to kill; say why it ended instead.
    ASSERT_EQ(child.state(), QProcess::Running) << child.readAllStandardOutput().toStdString();
    child.kill();
    child.waitForFinished();
    reader.close();
    ASSERT_GE(seen, 3000);

    HistoryStore store;
    ASSERT_TRUE(store.open(path)) << store.error().toStdString();
    EXPECT_TRUE(store.intact());
    EXPECT_GE(store.sampleCount(), seen);
    int rolledUp = 0; // every sample is in its hour's roll-up, or neither is there
    for (const Column& c : store.columns(0, std::int64_t(1) << 40, 10))
        rolledUp += c.answered + c.gaps;
    EXPECT_EQ(rolledUp, store.sampleCount());
    EXPECT_TRUE(store.addSample(figures(-1, 1)));
    EXPECT_EQ(store.samples(-1, 0).size(), 1u);
}

// The history tells when the line was in use: the database and its -wal and -shm files are the
// owner's alone, also under a umask that lets others read, and a file made wider before is narrowed.
TEST(LineHistoryStore, FilesAreTheOwnersAloneWhateverTheUmask) {
    for (const bool existing : {false, true}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.sqlite"));
        const mode_t oldMask = ::umask(022);
        if (existing) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.close();
            ::chmod(QFile::encodeName(path).constData(), 0644);
        }
        HistoryStore store;
        const bool opened = store.open(path) && store.addSample(figures(1000, 12));
        ::umask(oldMask);
        ASSERT_TRUE(opened) << store.error().toStdString();
        for (const QString& file : {path, path + QStringLiteral("-wal"), path + QStringLiteral("-shm")}) {
            struct stat st {};
            ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0) << file.toStdString();
            EXPECT_EQ(st.st_mode & 0777, 0600u) << file.toStdString() << " existing " << existing;
        }
    }
}

TEST(LineHistoryStore, MigratesTheOlderSchema) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.sqlite"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("v1"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const char* sql :
             {"CREATE TABLE samples (t INTEGER NOT NULL, ok INTEGER NOT NULL, down_rate REAL, "
              "up_rate REAL, down_atten REAL, up_atten REAL, down_snr REAL, up_snr REAL)",
              "CREATE INDEX samples_t ON samples (t)",
              "INSERT INTO samples VALUES (1000, 1, 8000, 800, 32.5, 18, 11.5, 17)",
              "INSERT INTO samples VALUES (2000, 0, NULL, NULL, NULL, NULL, NULL, NULL)",
              "PRAGMA user_version=1"})
            ASSERT_TRUE(q.exec(QLatin1String(sql))) << sql;
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("v1"));

    HistoryStore store;
    ASSERT_TRUE(store.open(path)) << store.error().toStdString();
    EXPECT_EQ(store.schemaVersion(), HistoryStore::kSchemaVersion);
    const auto rows = store.samples(0, 10000);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0].ok);
    EXPECT_EQ(rows[0].downSnr, 11.5);
    EXPECT_EQ(rows[0].downAtten, 32.5);
    EXPECT_EQ(rows[0].lineStatus, -1);
    const auto hours = store.columns(0, 36000000, 10); // the hourly roll-up, rebuilt
    ASSERT_EQ(hours.size(), 1u);
    EXPECT_EQ(hours[0].answered, 1);
    EXPECT_EQ(hours[0].gaps, 1);
    EXPECT_EQ(hours[0].low[int(Figure::DownSnr)], 11.5);
    EXPECT_FALSE(rows[1].ok);
    EXPECT_TRUE(store.addEvent({3000, EventKind::Disconnection, {}}));
    EXPECT_EQ(store.events(0, 10000).size(), 1u);
}

TEST(LineHistoryStore, ColumnsAndBytesPerLocalDay) {
    QTemporaryDir dir;
    HistoryStore store;
    ASSERT_TRUE(store.open(dir.filePath(QStringLiteral("h.sqlite"))));
    const std::int64_t noon = QDateTime(QDate(2026, 3, 1), QTime(12, 0)).toMSecsSinceEpoch();
    std::vector<LineSample> s;
    for (int i = 0; i < 600; ++i) {
        s.push_back(figures(noon + i * 300000LL, i == 250 ? 2.5 : 12));
        s.back().inBytes = 10;
    }
    s[400].ok = false;
    ASSERT_TRUE(store.addSamples(s));
    const auto columns = store.columns(noon, noon + 600 * 300000LL, 100); // 6 samples per column
    ASSERT_EQ(columns.size(), 100u);
    EXPECT_EQ(columns[41].low[int(Figure::DownSnr)], 2.5);
    EXPECT_EQ(columns[41].high[int(Figure::DownSnr)], 12);
    EXPECT_EQ(columns[66].gaps, 1);
    EXPECT_EQ(columns[66].answered, 5);
    const auto wide = store.columns(noon, noon + 600 * 300000LL, 10); // 5 hours each, from the roll-up
    ASSERT_EQ(wide.size(), 10u);
    EXPECT_EQ(wide[4].low[int(Figure::DownSnr)], 2.5);
    EXPECT_EQ(wide[6].gaps, 1);
    EXPECT_EQ(wide[6].answered, 59);
    const auto days = store.bytesPerDay(noon, noon + 600 * 300000LL);
    ASSERT_EQ(days.size(), 3u); // 12:00 on the 1st to 13:55 on the 3rd, local time
    EXPECT_EQ(days[0].day, QDate(2026, 3, 1));
    EXPECT_EQ(days[0].inBytes, 144 * 10);
    EXPECT_EQ(days[1].inBytes, (288 - 1) * 10); // the gap counts nothing
}

// The recorder against the stand-in: scripted figures, a wrap of the download counter, a gap, a
// restart of the router and a dropped link.
TEST(LineHistoryRecorder, SamplesGapsRestartsAndWraps) {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) {
        r.setTraffic(sim::WanIf, 0, 0);
        r.setAdslSnr("17.0", "11.5");
    };
    MainFormHarness h(o);
    QTemporaryDir dir;
    HistoryStore store;
    ASSERT_TRUE(store.open(dir.filePath(QStringLiteral("h.sqlite"))));
    LineRecorder rec(store);
    rec.setInterfaces(h.form().session().interfaces().PppIfIndex, h.form().session().interfaces().WanIfIndex);
    const auto get = [&](const QString& oid, QString& v) { return h.form().snmpGet(oid, v); };
    sim::Router& r = h.router();
    auto at = [&](int minute, std::uint32_t in, std::uint32_t out) {
        r.setUptime(100000 + minute * 6000);
        r.setOctets(sim::WanIf, in, out);
        return rec.record(get, minute * 60000, minute * 60000);
    };
    LineSample s = at(0, 4294967000u, 100);
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(s.downSnr, 11.5);
    EXPECT_EQ(s.upSnr, 17.0);
    EXPECT_EQ(s.downRate, 8000);
    EXPECT_TRUE(s.pppUp);
    r.setAdslSnr("16.0", "6.5");
    s = at(1, 200, 300);
    EXPECT_EQ(s.inBytes, 496); // wrapped past 2^32
    EXPECT_EQ(s.outBytes, 200);
    EXPECT_EQ(s.downSnr, 6.5);
    r.setSilent(true);
    EXPECT_FALSE(at(2, 300, 300).ok);
    r.setSilent(false);
    r.restart();
    r.setPppLink(false);
    r.setOctets(sim::WanIf, 50, 60);
    s = rec.record(get, 3 * 60000, 3 * 60000);
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(s.inBytes, 50); // counted from zero again, not a wrap
    EXPECT_EQ(s.outBytes, 60);

    const auto rows = store.samples(0, 4 * 60000);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_FALSE(rows[2].ok);
    EXPECT_EQ(rows[2].downSnr, 0);
    std::vector<EventKind> kinds;
    for (const auto& e : store.events(0, 4 * 60000))
        kinds.push_back(e.kind);
    EXPECT_EQ(kinds, (std::vector{EventKind::RouterRestart, EventKind::Disconnection}));
}

TEST(LineHistoryWindow, OffByDefaultThenRecordsShowsAndExports) {
    MainFormHarness h;
    Clock::setNow(QDateTime(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC));
    const QString db = h.dir() + QStringLiteral("/kestrune_widget_tests-history.sqlite");
    auto* record = h.find<QAction>("RecordHistory");
    ASSERT_NE(record, nullptr);
    EXPECT_FALSE(record->isChecked());
    EXPECT_FALSE(h.find<QTimer>("History_Timer")->isActive());
    EXPECT_FALSE(QFile::exists(db));

    record->trigger();
    EXPECT_TRUE(record->isChecked());
    EXPECT_TRUE(h.find<QTimer>("History_Timer")->isActive());
    EXPECT_EQ(h.find<QTimer>("History_Timer")->interval(), 300000);
    h.find<QAction>("HistoryEvery1minute")->trigger();
    EXPECT_EQ(h.find<QTimer>("History_Timer")->interval(), 60000);
    h.router().setPppLink(false);
    Clock::setNow(Clock::now().addSecs(60));
    h.form().History_TimerTimer(h.find<QTimer>("History_Timer"));

    h.find<QAction>("LineHistory1")->trigger();
    auto* window = h.find<TLineHistoryForm>("LineHistoryForm");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    ASSERT_EQ(window->shownSamples(), 2);
    ASSERT_EQ(window->shownEvents().size(), 1u);
    EXPECT_EQ(window->shownEvents()[0].kind, EventKind::Disconnection);
    EXPECT_GT(window->drawnPoints(), 0);

    const QString csv = h.dir() + QStringLiteral("/shown.csv"), png = h.dir() + QStringLiteral("/shown.png");
    UiSeam::setNextSaveFileName(csv);
    window->ExportCsv_ButClick();
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].startsWith("2026-03-01T12:00:00Z,8000,"));
    EXPECT_TRUE(lines[2].startsWith("2026-03-01T12:01:00Z,8000,"));
    UiSeam::setNextSaveFileName(png);
    window->SavePng_ButClick();
    EXPECT_FALSE(QImage(png).isNull());

    ASSERT_TRUE(h.closeForm());
    EXPECT_EQ(h.settings().readString(QStringLiteral("Line history"), QStringLiteral("Record"), {}), "1");
    EXPECT_EQ(h.settings().readString(QStringLiteral("Line history"), QStringLiteral("Interval"), {}), "1");
}

TEST(LineHistoryWindow, UnusedLeavesTheSettingsFileWithoutTheSection) {
    MainFormHarness h;
    ASSERT_TRUE(h.closeForm());
    EXPECT_FALSE(h.settingsBytes().contains("[Line history]"));
    EXPECT_FALSE(QFile::exists(h.dir() + QStringLiteral("/kestrune_widget_tests-history.sqlite")));
}

// A sample the database refuses is not lost without a word: the status line and the window say so
// once, the next ticks try again, and both say when samples are stored again.
TEST(LineHistoryWindow, SaysOnceWhenSamplesCannotBeStoredAndWhenAgain) {
    MainFormHarness h;
    const QString db = h.dir() + QStringLiteral("/kestrune_widget_tests-history.sqlite");
    auto* timer = h.find<QTimer>("History_Timer");
    h.find<QAction>("RecordHistory")->trigger(); // the first sample
    h.find<QAction>("LineHistory1")->trigger();
    auto* window = h.find<TLineHistoryForm>("LineHistoryForm");
    ASSERT_NE(window, nullptr);
    auto* note = window->findChild<QLabel*>(QStringLiteral("RecordingNote_Label"));
    ASSERT_NE(note, nullptr);
    EXPECT_FALSE(note->isVisibleTo(window));
    // Another program takes the samples' table away, and later brings it back.
    const auto elsewhere = [&](const char* sql) {
        {
            QSqlDatabase other =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(db);
            ASSERT_TRUE(other.open());
            QSqlQuery q(other);
            ASSERT_TRUE(q.exec(QLatin1String(sql))) << sql;
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    };

    elsewhere("ALTER TABLE samples RENAME TO samples_away");
    Clock::setNow(Clock::now().addSecs(60));
    h.form().History_TimerTimer(timer);
    EXPECT_TRUE(h.form().statusText().startsWith(" Recording stopped: "))
        << h.form().statusText().toStdString();
    EXPECT_TRUE(note->text().startsWith("Recording stopped: ")) << note->text().toStdString();
    EXPECT_TRUE(note->isVisibleTo(window));
    h.form().setStatus(QStringLiteral(" Ready"));
    h.form().History_TimerTimer(timer); // still refused: said once
    EXPECT_EQ(h.form().statusText(), " Ready");

    elsewhere("ALTER TABLE samples_away RENAME TO samples");
    h.form().History_TimerTimer(timer);
    EXPECT_EQ(h.form().statusText(), " Recording again.");
    EXPECT_EQ(note->text(), "Recording again.");
    EXPECT_EQ(window->shownSamples(), 2); // the first one and the one just stored
}
