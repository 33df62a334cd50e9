// The line history window: range choice, the charts and the exports.
#include "windows/LineHistory_Unit.h"

#include "history/HistoryStore.h"
#include "ui/Clock.h"
#include "ui/UiSeam.h"
#include "windows/ProgramHelp.h"
#include "windows/core/HelpKeywords.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QSaveFile>
#include <QScatterSeries>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

constexpr std::int64_t kDayMs = 86400000;
constexpr std::int64_t kRangeMs[] = {kDayMs, 7 * kDayMs, 30 * kDayMs};
constexpr std::int64_t kMinSpanMs = 15 * 60000, kMarginMs = 60000;

QChartView* chartView(QTabWidget* tabs, const char* name, const QString& caption) {
    auto* v = new QChartView(new QChart(), tabs);
    v->setObjectName(QString::fromLatin1(name));
    v->setRenderHint(QPainter::Antialiasing);
    v->setMinimumSize(640, 320);
    tabs->addTab(v, caption);
    return v;
}

QPushButton* button(QHBoxLayout* row, QWidget* owner, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, owner);
    b->setObjectName(QString::fromLatin1(name));
    row->addWidget(b);
    return b;
}

const QColor kColours[] = {QColor(0x1f77b4), QColor(0xff7f0e), QColor(0x2ca02c), QColor(0x9467bd)};

} // namespace

TLineHistoryForm::TLineHistoryForm(history::HistoryStore& store, QWidget* parent)
    : QWidget(parent, Qt::Window), m_store(store) {
    setObjectName(QStringLiteral("LineHistoryForm"));
    setWindowTitle(QStringLiteral("Line history"));
    auto* top = new QVBoxLayout(this);
    auto* row = new QHBoxLayout();
    top->addLayout(row);
    row->addWidget(new QLabel(QStringLiteral("Range:"), this));
    m_range = new QComboBox(this);
    m_range->setObjectName(QStringLiteral("Range_Combo"));
    m_range->addItems(
        {QStringLiteral("Day"), QStringLiteral("Week"), QStringLiteral("Month"), QStringLiteral("All")});
    row->addWidget(m_range);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("Summary_Label"));
    row->addWidget(m_summary, 1);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("RecordingNote_Label"));
    m_note->setVisible(false);
    row->addWidget(m_note);
    QPushButton* refresh = button(row, this, "Refresh_But", QStringLiteral("&Refresh"));
    QPushButton* csv = button(row, this, "ExportCsv_But", QStringLiteral("Export &CSV..."));
    QPushButton* png = button(row, this, "SavePng_But", QStringLiteral("Save chart as &PNG..."));
    QPushButton* help = button(row, this, "Help_But", QStringLiteral("&Help"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("Charts_PageControl"));
    top->addWidget(m_tabs, 1);
    m_snr = chartView(m_tabs, "Snr_Chart", QStringLiteral("SNR margin"));
    m_atten = chartView(m_tabs, "Atten_Chart", QStringLiteral("Attenuation"));
    m_rates = chartView(m_tabs, "Rates_Chart", QStringLiteral("Sync rates"));
    m_traffic = chartView(m_tabs, "Traffic_Chart", QStringLiteral("Traffic per day"));
    resize(900, 520);
    m_range->setCurrentIndex(static_cast<int>(Range::Day));
    connect(m_range, &QComboBox::currentIndexChanged, this, [this] { reload(); });
    connect(refresh, &QPushButton::clicked, this, [this] { reload(); });
    connect(csv, &QPushButton::clicked, this, [this] { ExportCsv_ButClick(); });
    connect(png, &QPushButton::clicked, this, [this] { SavePng_ButClick(); });
    connect(help, &QPushButton::clicked, this, [this] { Help_ButClick(); });
    reload();
}

void TLineHistoryForm::setRange(Range range) {
    if (m_range->currentIndex() == static_cast<int>(range))
        reload();
    else
        m_range->setCurrentIndex(static_cast<int>(range)); // reloads
}

void TLineHistoryForm::setRecordingNote(const QString& note) {
    m_note->setText(note);
    m_note->setVisible(!note.isEmpty());
}

TLineHistoryForm::Range TLineHistoryForm::range() const {
    return static_cast<Range>(m_range->currentIndex());
}

int TLineHistoryForm::columns() const {
    return std::max(200, m_snr->width());
}

void TLineHistoryForm::reload() {
    m_toMs = Clock::now().toMSecsSinceEpoch() + 1;
    const auto r = static_cast<std::size_t>(range());
    // The axis starts at the range's start, or later when the history begins later (a young history
    // is drawn across the chart, not squeezed to its right edge).
    const std::int64_t first = m_store.firstSampleTime().value_or(m_toMs) - kMarginMs;
    const std::int64_t early = std::min(first, m_toMs - kMinSpanMs);
    m_fromMs = r < std::size(kRangeMs) ? std::max(m_toMs - kRangeMs[r], early) : early;
    m_columns = m_store.columns(m_fromMs, m_toMs, columns());
    m_answered = m_gaps = 0;
    for (const history::Column& c : m_columns) {
        m_answered += c.answered;
        m_gaps += c.gaps;
    }
    m_events = m_store.events(m_fromMs, m_toMs);
    m_drawnPoints = 0;
    drawLineChart(m_snr, QStringLiteral("SNR margin"), QStringLiteral("dB"),
                  {{history::Figure::DownSnr, QStringLiteral("Downstream")},
                   {history::Figure::UpSnr, QStringLiteral("Upstream")}});
    drawLineChart(m_atten, QStringLiteral("Attenuation"), QStringLiteral("dB"),
                  {{history::Figure::DownAtten, QStringLiteral("Downstream")},
                   {history::Figure::UpAtten, QStringLiteral("Upstream")}});
    drawLineChart(m_rates, QStringLiteral("Sync rates"), QStringLiteral("kbit/s"),
                  {{history::Figure::DownRate, QStringLiteral("Downstream")},
                   {history::Figure::UpRate, QStringLiteral("Upstream")}});
    drawTrafficChart();
    const auto drops = std::count_if(m_events.begin(), m_events.end(), [](const auto& e) {
        return e.kind == history::EventKind::Disconnection;
    });
    m_summary->setText(QStringLiteral("Samples: %1, gaps: %2, disconnections: %3")
                           .arg(shownSamples())
                           .arg(m_gaps)
                           .arg(drops));
}

void TLineHistoryForm::drawLineChart(QChartView* view, const QString& title, const QString& unit,
                                     const std::vector<std::pair<history::Figure, QString>>& figures) {
    auto* chart = new QChart();
    chart->setTitle(title);
    auto* x = new QDateTimeAxis(chart);
    x->setFormat(m_toMs - m_fromMs <= kDayMs ? QStringLiteral("HH:mm") : QStringLiteral("dd MMM"));
    x->setRange(QDateTime::fromMSecsSinceEpoch(m_fromMs), QDateTime::fromMSecsSinceEpoch(m_toMs));
    auto* y = new QValueAxis(chart);
    y->setTitleText(unit);
    y->setLabelFormat(QStringLiteral("%g"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    double low = INFINITY, high = -INFINITY;
    auto attach = [&](QXYSeries* s) {
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    };
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const history::Curve curve = history::curveOf(m_columns, figures[i].first);
        for (std::size_t run = 0; run < curve.size(); ++run) {
            auto* s = new QLineSeries(chart);
            s->setName(figures[i].second);
            s->setColor(kColours[i % std::size(kColours)]);
            QList<QPointF> points;
            points.reserve(static_cast<qsizetype>(curve[run].size()));
            for (const history::Point& p : curve[run]) {
                points.append(QPointF(double(p.timeMs), p.value));
                low = std::min(low, p.value);
                high = std::max(high, p.value);
            }
            m_drawnPoints += static_cast<int>(points.size());
            s->replace(points);
            attach(s);
            if (run > 0)
                for (QLegendMarker* marker : chart->legend()->markers(s))
                    marker->setVisible(false);
        }
    }
    if (!(low <= high)) low = 0, high = 1;
    const double pad = std::max(1.0, (high - low) * 0.1);
    y->setRange(std::floor(low - pad), std::ceil(high + pad));
    y->applyNiceNumbers();
    // Disconnections: red marks at the foot of the chart.
    auto* marks = new QScatterSeries(chart);
    marks->setName(QStringLiteral("Disconnection"));
    marks->setColor(Qt::red);
    marks->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
    marks->setMarkerSize(12);
    for (const history::LineEvent& e : m_events)
        if (e.kind == history::EventKind::Disconnection) marks->append(double(e.timeMs), y->min());
    attach(marks);
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}

void TLineHistoryForm::drawTrafficChart() {
    auto* chart = new QChart();
    chart->setTitle(QStringLiteral("Traffic per day"));
    auto* down = new QBarSet(QStringLiteral("Downloaded (MB)"));
    auto* up = new QBarSet(QStringLiteral("Uploaded (MB)"));
    QStringList days;
    double high = 1;
    for (const history::DayBytes& d : m_store.bytesPerDay(m_fromMs, m_toMs)) {
        days << d.day.toString(QStringLiteral("dd MMM"));
        *down << d.inBytes / 1048576.0;
        *up << d.outBytes / 1048576.0;
        high = std::max({high, d.inBytes / 1048576.0, d.outBytes / 1048576.0});
    }
    auto* series = new QBarSeries(chart);
    series->append(down);
    series->append(up);
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis(chart);
    x->append(days);
    auto* y = new QValueAxis(chart);
    y->setRange(0, std::ceil(high * 1.1));
    y->setTitleText(QStringLiteral("MB"));
    y->setLabelFormat(QStringLiteral("%g"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    QChart* old = m_traffic->chart();
    m_traffic->setChart(chart);
    delete old;
}

bool TLineHistoryForm::exportCsv(const QString& fileName) const {
    QSaveFile f(fileName);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(history::csvText(m_store.samples(m_fromMs, m_toMs)).toUtf8());
    return f.commit();
}

bool TLineHistoryForm::savePng(const QString& fileName) const {
    auto* view = qobject_cast<QChartView*>(m_tabs->currentWidget());
    return view && view->grab().save(fileName, "PNG");
}

void TLineHistoryForm::ExportCsv_ButClick() {
    const QString name =
        UiSeam::getSaveFileName(this, {QStringLiteral("Export line history"),
                                       QStringLiteral("csv"),
                                       {QStringLiteral("CSV files (*.csv)"), QStringLiteral("All files (*)")},
                                       QStringLiteral("line-history.csv")});
    if (!name.isEmpty() && !exportCsv(name))
        UiSeam::error(this, QStringLiteral("Could not write \"%1\".").arg(name));
}

void TLineHistoryForm::SavePng_ButClick() {
    const QString name = UiSeam::getSaveFileName(
        this, {QStringLiteral("Save chart"),
               QStringLiteral("png"),
               {QStringLiteral("PNG images (*.png)"), QStringLiteral("All files (*)")},
               QStringLiteral("line-history.png")});
    if (!name.isEmpty() && !savePng(name))
        UiSeam::error(this, QStringLiteral("Could not write \"%1\".").arg(name));
}

void TLineHistoryForm::Help_ButClick() {
    help::show(this, helpkw::text(helpkw::LineHistory));
}
