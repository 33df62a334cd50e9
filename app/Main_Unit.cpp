// The main window's life cycle: construction of the window and its pages, start-up, show, and the
// close query with the settings file.
#include "app/Main_Unit.h"

#include "app/TelnetParts.h"
#include "app/core/SettingsFile.h"
#include "monitor/ConnectionMonitor.h"
#include "monitor/LineHistoryMonitor.h"
#include "monitor/QuotaMonitor.h"
#include "ui/ExchangeGate.h"
#include "ui/PaneText.h"
#include "ui/StatusTexts.h"
#include "ui/UiSeam.h"
#include "views/IcmpSnmpPages.h"
#include "views/IpPage.h"
#include "views/SystemPage.h"
#include "views/TcpUdpPages.h"
#include "views/Uptime.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>

namespace {

constexpr int kClientWidth = 634;
constexpr int kClientHeight = 528;

// The design font, or the nearest sans-serif face this machine has.
QFont windowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("adobe-helvetica"), QStringLiteral("Helvetica"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Nimbus Sans L"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(13);
    return font;
}

// A tab page: its object name, caption, handle, builder, and whether start-up itself needs it
// (its widgets hold settings read at start-up or lines the start-up jobs write); the others are
// built when first shown or first used.
struct PageSpec {
    const char* name;
    const char* caption;
    QWidget* PageWidgets::*page;
    void (TMainForm::*build)(QWidget*);
    bool atStartup;
};

} // namespace

TMainForm::TMainForm(const NetworkSettings& settings, QWidget* parent)
    : QMainWindow(parent), m_session(m_endpoint, settings.snmp), m_http(settings.http) {
    // Every SNMP wait keeps the window painted; ticks and input that come meanwhile run after it.
    m_session.setIdleHook(exchangegate::idleHook());
    buildWindow();
    buildPages();
    buildMenus();
    buildTimers();
    buildConnectionMonitor();
    createTelnet(settings);
    FormCreate();
}

TMainForm::~TMainForm() {
    endTelnet();
}

void TMainForm::buildWindow() {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Kestrune Utility"));
    setProperty("helpKeyword", QStringLiteral("kestrune.html"));
    setFont(windowFont());
    // Close and minimise, no maximise; the size is fixed.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    auto* tabs = ui.frame.PageControl = new QTabWidget(client);
    tabs->setObjectName(QStringLiteral("PageControl"));
    tabs->setGeometry(9, 7, 616, 512);
    // Eleven tabs side by side in the window's width, as compact as the design's.
    tabs->setUsesScrollButtons(false);
    tabs->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 4px 7px; }"));

    // The buttons and the status line lie over the lower part of the page area.
    auto* help = ui.frame.Help_But = new QPushButton(QStringLiteral("&Help"), client);
    help->setObjectName(QStringLiteral("Help_But"));
    help->setGeometry(448, 444, 72, 31);
    help->setDefault(true);
    help->setAutoDefault(true);
    connectClick(help, &TMainForm::Help_ButClick);

    auto* update = ui.frame.GetValues_But = new QPushButton(QStringLiteral("&Update"), client);
    update->setObjectName(QStringLiteral("GetValues_But"));
    update->setGeometry(533, 444, 72, 31);
    connectClick(update, &TMainForm::GetValuesBut);

    auto* status = new QStatusBar(client);
    status->setObjectName(QStringLiteral("StatusBar"));
    status->setSizeGripEnabled(false);
    status->setGeometry(16, 486, 601, 27);
    QLabel* line = ui.frame.StatusLine_Label = new QLabel(statustext::Ready, status);
    line->setObjectName(QStringLiteral("StatusLine_Label"));
    line->setTextFormat(Qt::PlainText); // it shows peers' texts too
    status->addPermanentWidget(line, 1);

    help->raise();
    update->raise();
    status->raise();
}

void TMainForm::buildPages() {
    static const PageSpec kPages[] = {
        {"GenSysInfo", "System", &PageWidgets::GenSysInfo, &TMainForm::buildSystemPage, true},
        {"Quota_Tab", "Quota", &PageWidgets::Quota_Tab, &TMainForm::buildQuotaPage, true},
        {"ADSL", "ADSL", &PageWidgets::ADSL, &TMainForm::buildAdslPage, true},
        {"Interfaces", "Interfaces", &PageWidgets::Interfaces, &TMainForm::buildInterfacesPage, false},
        {"IP", "IP", &PageWidgets::IP, &TMainForm::buildIpPage, false},
        {"ICMP", "ICMP", &PageWidgets::ICMP, &TMainForm::buildIcmpPage, false},
        {"TCP", "TCP", &PageWidgets::TCP, &TMainForm::buildTcpPage, false},
        {"UDP", "UDP", &PageWidgets::UDP, &TMainForm::buildUdpPage, false},
        {"SNMP", "SNMP", &PageWidgets::SNMP, &TMainForm::buildSnmpPage, false},
        {"Misc", "Misc", &PageWidgets::Misc, &TMainForm::buildMiscPage, true},
        {"Debug", "Debug", &PageWidgets::Debug, &TMainForm::buildDebugPage, false},
    };
    QTabWidget* tabs = pageControl();
    for (const PageSpec& p : kPages) {
        auto* page = ui.pages.*p.page = new QWidget;
        page->setObjectName(QString::fromLatin1(p.name));
        tabs->addTab(page, QString::fromLatin1(p.caption));
        m_unbuiltPages.insert(page, p.build);
    }
    for (const PageSpec& p : kPages)
        if (p.atStartup) ensurePageBuilt(ui.pages.*p.page);
    tabs->setCurrentIndex(0);
    // Connected only now: adding the first page already made it current.
    connect(tabs, &QTabWidget::currentChanged, this, &TMainForm::onPageChanged);
}

void TMainForm::ensurePageBuilt(QWidget* page) {
    const auto build = m_unbuiltPages.take(page);
    if (!build) return;
    // Widgets made while their page is hidden show with it; made on a shown page they would not.
    const bool shown = page->isVisible();
    if (shown) page->hide();
    (this->*build)(page);
    if (shown) page->show();
}

void TMainForm::buildAllPages() {
    while (!m_unbuiltPages.isEmpty())
        ensurePageBuilt(m_unbuiltPages.begin().key());
}

bool TMainForm::pageBuilt(const QWidget* page) const {
    return !m_unbuiltPages.contains(const_cast<QWidget*>(page));
}

QTabWidget* TMainForm::pageControl() const {
    return ui.frame.PageControl;
}

QWidget* TMainForm::currentPage() const {
    return ui.frame.PageControl->currentWidget();
}

QString TMainForm::currentPageName() const {
    QWidget* page = currentPage();
    return page ? page->objectName() : QString();
}

void TMainForm::FormCreate() {
    // Start values of the monitors' state, the interface discovery and the settings bookkeeping.
    m_connection->link() = monitor::LinkState{};
    m_quota->figures() = monitor::QuotaFigures{};
    m_session.interfaces() = RouterInterfaces{};
    m_startMBUsed = QStringLiteral("0");
    m_readKeys.clear();
    m_unreadAtStart.clear();

    // The settings file, read whole.
    SettingsFile settings;
    QString failure;
    // Router endpoint, options, quota, event-log directory; a conversion error stops here.
    bool goOn = restoreSettings(settings.ini(), failure);
    if (goOn) {
        // The System page, which also finds the router's interfaces.
        GenSysInfoClick();
        // The quota baseline, when the router answered.
        if (m_session.interfaces().IfNumber != 0) CalcQuota_ButClick(this);
    }
    if (!goOn) rememberUnreadKeys();
    // Release the settings file, also after a conversion error.
    QString writeError;
    const bool written = settings.release(writeError);
    if (!goOn) UiSeam::error(this, failure);
    if (!written) UiSeam::error(this, writeError);
    // The router's default ADSL mode over telnet, behind the splash.
    if (goOn && ui.menu.TelnetEnabled->isChecked()) telnetOnStartup();
}

void TMainForm::FormShow() {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        setFixedSize(sizeHint());
        if (QScreen* screen = this->screen()) {
            const QRect area = screen->availableGeometry();
            QRect frame = frameGeometry();
            frame.moveCenter(area.center());
            move(frame.topLeft());
        }
    }
    FormShow();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    bool canClose = true;
    FormCloseQuery(this, canClose);
    if (canClose) {
        endTelnet();
        event->accept();
    } else {
        event->ignore();
    }
}

void TMainForm::Exit1Click(QObject*) {
    close();
}

void TMainForm::FormCloseQuery(QObject*, bool& CanClose) {
    // The settings are written before the user is asked anything.
    {
        SettingsFile settings;
        saveSettings(settings.ini());
        QString error;
        if (!settings.release(error)) UiSeam::error(this, error);
    }

    // Closing only when the user confirms it.
    if (UiSeam::question(this, QStringLiteral("Confirm"), QStringLiteral("Close Kestrune Utility?")) !=
        QMessageBox::Yes) {
        CanClose = false;
        return;
    }
    // Closing: the connection log may still be saved.
    CanClose = true;
    offerConnectionLogSave();
}

void TMainForm::offerConnectionLogSave() {
    QPlainTextEdit* log = adsl().widgets().LinkLog_Memo;
    if (paneLines(*log).isEmpty() || !m_connection->link().LinkLogChanged) return;
    if (UiSeam::question(this, QStringLiteral("Confirm"), QStringLiteral("Save connection log?")) !=
        QMessageBox::Yes)
        return;

    const QString fileName = askSaveFileName(QStringLiteral("kestrune_connection"));
    if (!fileName.isEmpty()) savePaneLines(*log, fileName);
}

void TMainForm::connectClick(QPushButton* button, void (TMainForm::*handler)(QObject*)) {
    connect(button, &QPushButton::clicked, this, [this, button, handler] { (this->*handler)(button); });
}
