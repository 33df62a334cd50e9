// Data-quota monitor: the Quota page and the quota's figures, the baseline ("Calculate"), the
// refresh, the monthly reset tick, the ISP's unit sizes ("Redefine") and the quota formatters.
#pragma once

#include "monitor/QuotaTracking.h"
#include "net/RouterSession.h"
#include "ui/PageFrame.h"
#include "ui/Trigger.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QDate;
class QLabel;
class QLineEdit;
class QProgressBar;
class QRadioButton;
class QSpinBox;
class QWidget;

struct QuotaPageWidgets {
    QProgressBar* In_ProgressBar = nullptr;
    QLabel *PercentUsed_Label = nullptr, *QuotaRemaining_Label = nullptr, *LastResetDate_Label = nullptr;
    QLineEdit *GBQuota_Edit = nullptr, *MBUsed_Edit = nullptr, *Gbytes_Edit = nullptr, *MBytes_Edit = nullptr;
    QRadioButton *Down_RBut = nullptr, *DownUp_RBut = nullptr;
    QSpinBox* ResetDay_Edit = nullptr;
};

namespace monitor {

// The quota's figures, in bytes (0 at start-up unless stated).
struct QuotaFigures {
    double InOctets = 0, OutOctets = 0;         // the WAN interface's counts at the last read
    double BaseInOctets = 0, BaseOutOctets = 0; // InOctets and OutOctets at the last Calculate
    double QuotaBytes = 0;                      // the full quota
    double UsedOffsetBytes = 0;                 // quota used before the baseline
    double BytesPerGigabyte = 1073741824.0, BytesPerMegabyte = 1048576.0; // the ISP's units
    bool QuotaResetDone = false; // the monthly reset has been done today
};

class QuotaMonitor {
public:
    // Builds the page's widgets into `page`. `shown` tells whether the Quota page is the current
    // page; `ticking` whether the quota tick is switched on.
    QuotaMonitor(QWidget* page, RouterSession& session, PageFrame& frame, std::function<bool()> shown,
                 std::function<bool()> ticking);
    QuotaMonitor(const QuotaMonitor&) = delete;
    QuotaMonitor& operator=(const QuotaMonitor&) = delete;

    const QuotaPageWidgets& widgets() const { return m_ui; }
    QuotaFigures& figures() { return m_figures; }
    const QuotaFigures& figures() const { return m_figures; }

    // "Calculate": a new baseline of the counters, the quota and the part used before it.
    void calculate();
    // The page's refresh; a tick may run while the page is hidden, only a button moves the bar back.
    void refresh(Trigger trigger);
    // The quota tick: the monthly reset on its day, then the refresh.
    void tick(Trigger trigger);
    // "Redefine": the ISP's gigabyte or megabyte from its edit.
    void redefineGigabyte();
    void redefineMegabyte();

    // Bytes (a number as text) in the ISP's gigabytes or megabytes, and in megabytes alone; the
    // empty text when it is not a number or a unit is 0.
    QString formatGbMb(const QString& bytes) const;
    QString formatMbNumber(const QString& bytes) const;
    // Used quota in bytes by the current choice (download only, or download and upload).
    double usedBytes() const;
    // The used megabytes written at close, after a refresh.
    QString mbUsedAtClose();
    // The date of the last reset from the settings file: shown, and today's counts as done.
    void restoreLastReset(const QString& date);

private:
    enum class ReadStatus { Ok, Failed, NotNumber };
    void buildPage(QWidget* page);
    ReadStatus readWanCounter(int column, std::uint32_t& counter);
    std::optional<std::uint32_t> readUptime();
    void takeReadings(std::uint32_t in, std::optional<std::uint32_t> out);
    ReadStatus readOutAndTakeReadings(std::uint32_t in);
    void redefineSize(const QLineEdit* edit, double& size);
    void resetMonth(const QDate& today);

    RouterSession& m_session;
    PageFrame& m_frame;
    std::function<bool()> m_shown, m_ticking;
    QuotaPageWidgets m_ui;
    QuotaFigures m_figures;
    QuotaTracking m_tracking;
};

} // namespace monitor
