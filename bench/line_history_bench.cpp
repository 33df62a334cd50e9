// The line history's speed: inserting one sample, and loading a year of 5-minute samples into the
// window's month and all-time views (read, thinned to the chart's width, drawn).
//
// KESTRUNE_BENCH_HISTORY_DB names the year's database file (made when missing), so that
// scripts/bench-history.sh can time a plain SQLite read of the same file next to it.
#include "ui/Clock.h"
#include "history/HistoryStore.h"
#include "windows/LineHistory_Unit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr std::int64_t kStepMs = 300000;
constexpr int kYearSamples = 365 * 288; // 105,120
const QDateTime kYearStart(QDate(2025, 1, 1), QTime(0, 0), Qt::UTC);

history::LineSample sampleAt(int i) {
    history::LineSample s{kYearStart.toMSecsSinceEpoch() + i * kStepMs};
    s.ok = i % 997 != 0; // a gap now and then
    s.downRate = 8000, s.upRate = 832;
    s.downAtten = 32 + std::sin(i / 500.0), s.upAtten = 18;
    s.downPower = 12.5, s.upPower = 19.6;
    s.downSnr = 12 + 1.5 * std::sin(i / 300.0), s.upSnr = 17;
    s.lineStatus = 2, s.pppUp = i % 5000 != 0;
    s.inBytes = 1e6, s.outBytes = 1e5;
    return s;
}

QString yearDatabase() {
    static QTemporaryDir dir;
    const QString path = qEnvironmentVariableIsSet("KESTRUNE_BENCH_HISTORY_DB")
                             ? qEnvironmentVariable("KESTRUNE_BENCH_HISTORY_DB")
                             : dir.filePath(QStringLiteral("year.sqlite"));
    if (QFile::exists(path)) return path;
    history::HistoryStore store;
    store.open(path);
    std::vector<history::LineSample> year;
    for (int i = 0; i < kYearSamples; ++i)
        year.push_back(sampleAt(i));
    store.addSamples(year);
    return path;
}

void BM_InsertSample(benchmark::State& state) {
    QTemporaryDir dir;
    history::HistoryStore store;
    store.open(dir.filePath(QStringLiteral("insert.sqlite")));
    int i = 0;
    for (auto _ : state)
        store.addSample(sampleAt(i++));
}
BENCHMARK(BM_InsertSample)->Unit(benchmark::kMicrosecond);

void loadView(benchmark::State& state, TLineHistoryForm::Range range) {
    history::HistoryStore store;
    store.open(yearDatabase());
    Clock::setNow(kYearStart.addDays(365));
    TLineHistoryForm window(store);
    window.resize(1000, 520);
    window.show();
    for (auto _ : state)
        window.setRange(range);
    state.counters["samples"] = window.shownSamples();
    state.counters["points"] = window.drawnPoints();
    Clock::setNow(QDateTime());
}
void BM_LoadMonthView(benchmark::State& state) {
    loadView(state, TLineHistoryForm::Range::Month);
}
void BM_LoadAllView(benchmark::State& state) {
    loadView(state, TLineHistoryForm::Range::All);
}
BENCHMARK(BM_LoadMonthView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAllView)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
