// The "Line history" window: the recorded SNR margin, attenuation, sync rates and traffic per day
// over a chosen range, disconnections marked, with CSV and PNG export. Not modal.
#pragma once

#include "history/core/LineSample.h"

#include <QWidget>

#include <vector>

class QComboBox;
class QChartView;
class QLabel;
class QPushButton;
class QTabWidget;
namespace history {
class HistoryStore;
}

class TLineHistoryForm : public QWidget {
    Q_OBJECT
public:
    enum class Range { Day = 0, Week = 1, Month = 2, All = 3 };

    explicit TLineHistoryForm(history::HistoryStore& store, QWidget* parent = nullptr);

    void setRange(Range range); // and reloads
    Range range() const;
    // Reads the shown range from the database again and redraws.
    void reload();
    // What is shown now.
    int shownSamples() const { return m_answered + m_gaps; }
    const std::vector<history::LineEvent>& shownEvents() const { return m_events; }
    // The number of points drawn on the current charts (after thinning).
    int drawnPoints() const { return m_drawnPoints; }
    // A word from the recorder beside the range (recording stopped, or going again); empty hides it.
    void setRecordingNote(const QString& note);

    void ExportCsv_ButClick();
    void SavePng_ButClick();
    void Help_ButClick(); // the window's help page
    // Writes the shown range as CSV / the shown chart as PNG; false when the file could not be written.
    bool exportCsv(const QString& fileName) const;
    bool savePng(const QString& fileName) const;

private:
    void drawLineChart(QChartView* view, const QString& title, const QString& unit,
                       const std::vector<std::pair<history::Figure, QString>>& figures);
    void drawTrafficChart();
    int columns() const;

    history::HistoryStore& m_store;
    QComboBox* m_range = nullptr;
    QTabWidget* m_tabs = nullptr;
    QChartView *m_snr = nullptr, *m_atten = nullptr, *m_rates = nullptr, *m_traffic = nullptr;
    QLabel* m_summary = nullptr;
    QLabel* m_note = nullptr;
    std::vector<history::Column> m_columns;
    int m_answered = 0, m_gaps = 0;
    std::vector<history::LineEvent> m_events;
    std::int64_t m_fromMs = 0, m_toMs = 0;
    int m_drawnPoints = 0;
};
