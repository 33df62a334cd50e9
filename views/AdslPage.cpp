// ADSL page: line figures from D-Link's enterprise MIB, the PPP connection's VPI/VCI (writable),
// and the sub-tabs for the connection log and the default connection mode log.
#include "views/AdslPage.h"

#include "net/core/MibObjects.h"
#include "net/core/SnmpBer.h"
#include "net/core/SnmpText.h"
#include "ui/PageAction.h"
#include "ui/StatusTexts.h"
#include "ui/WidgetFactory.h"
#include "views/SetAction.h"
#include "views/core/AdslText.h"
#include "windows/core/HelpKeywords.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <array>

#include <tuple>

namespace {

enum class Shown {
    Kbps,       // quotes removed, " Kbps"
    Db,         // value + " dB"
    Dbm,        // value + " dBm"
    NoQuotes,   // quotes removed
    AsReceived, // the value itself
    Mode,       // line mode name
    LineStatus, // line status name
    PacketCount // 64-bit integer in plain decimal
};

QLabel* captionLabel(QWidget* parent, const QString& text, int x, int y, int w) {
    return widgets::caption(parent, text, {x, y, w, 20}, Qt::AlignRight);
}

QLabel* valueLabel(QWidget* parent, const char* name, int x, int y, int w) {
    return widgets::value(parent, name, QStringLiteral("------"), {x, y, w, 20}, widgets::Bold);
}

// The four line figures of one direction.
struct Direction {
    const char* speed;
    const char* atten;
    const char* power;
    const char* snr;
    QLabel** labels[4];
};
void buildDirection(QWidget* parent, const QString& title, int x, const QString& speedCaption,
                    const Direction& d) {
    auto* g = new QGroupBox(title, parent);
    g->setObjectName(title + QStringLiteral("_GBox"));
    g->setGeometry(x, 6, 284, 128);
    const char* names[4] = {d.speed, d.atten, d.power, d.snr};
    const QString captions[4] = {speedCaption, QStringLiteral("Attenuation:"),
                                 QStringLiteral("Output power:"), QStringLiteral("SNR:")};
    for (int i = 0; i < 4; ++i) {
        captionLabel(g, captions[i], 8, 22 + 26 * i, 100);
        *d.labels[i] = valueLabel(g, names[i], 114, 22 + 26 * i, 164);
    }
}

// The help keywords of the three sub-tabs.
const std::array<std::string_view, 3> kSubPageHelp{helpkw::Adsl, helpkw::AdslConnectionLog,
                                                   helpkw::AdslModeLog};

} // namespace

AdslPage::AdslPage(QWidget* page, RouterSession& session, PageFrame& frame, AdslPageCalls calls)
    : m_session(session), m_frame(frame), m_calls(std::move(calls)),
      m_subPages(page, "ADSL_PageControl", kSubPageHelp, frame) {
    QTabWidget* tabs = m_ui.ADSL_PageControl = m_subPages.tabs();
    tabs->setGeometry(4, 4, 598, 404);

    buildInfoSheet(tabs);
    buildLogSheets(tabs);
    m_subPages.onChange([this] { subTabChanged(); });
}

// "Connection Info": the line figures of both directions, the PPP connection, the line state and
// the default connection mode.
void AdslPage::buildInfoSheet(QTabWidget* tabs) {
    AdslPageWidgets& a = m_ui;
    auto* info = new QWidget;
    info->setObjectName(QStringLiteral("ADSLInfo_TabSheet"));
    tabs->addTab(info, QStringLiteral("Connection Info"));

    buildDirection(info, QStringLiteral("Downstream"), 6, QStringLiteral("Speed:"),
                   {"DownSpeed_Label",
                    "DnAtten_Label",
                    "DnOutPwr_Label",
                    "DnSnr_Label",
                    {&a.DownSpeed_Label, &a.DnAtten_Label, &a.DnOutPwr_Label, &a.DnSnr_Label}});
    buildDirection(info, QStringLiteral("Upstream"), 298, QStringLiteral("Speed: "),
                   {"UpSpeed_Label",
                    "UpAtten_Label",
                    "UpOutPwr_Label",
                    "UpSnr_Label",
                    {&a.UpSpeed_Label, &a.UpAtten_Label, &a.UpOutPwr_Label, &a.UpSnr_Label}});

    buildPppBox(info);

    // Line state.
    auto* line = new QGroupBox(QStringLiteral(" Line "), info);
    line->setObjectName(QStringLiteral("Line_GBox"));
    line->setGeometry(298, 140, 284, 76);
    captionLabel(line, QStringLiteral("Mode:"), 8, 22, 70);
    a.Mode_Label = valueLabel(line, "Mode_Label", 84, 22, 194);
    captionLabel(line, QStringLiteral("Status:"), 8, 48, 70);
    a.Status_Label = valueLabel(line, "Status_Label", 84, 48, 194);

    buildModeBox(info);
}

// The PPP connection: account, ATM circuit, packets.
void AdslPage::buildPppBox(QWidget* info) {
    AdslPageWidgets& a = m_ui;
    auto* ppp = new QGroupBox(QStringLiteral(" PPP connection "), info);
    ppp->setObjectName(QStringLiteral("PPPConnection_GBox"));
    ppp->setGeometry(6, 140, 284, 226);
    captionLabel(ppp, QStringLiteral("Username: "), 8, 22, 90);
    a.User_Label = valueLabel(ppp, "User_Label", 104, 22, 174);
    captionLabel(ppp, QStringLiteral("Password: "), 8, 48, 90);
    a.Pwd_Label = valueLabel(ppp, "Pwd_Label", 104, 48, 174);
    captionLabel(ppp, QStringLiteral("VPI:"), 8, 76, 90);
    a.VPI_Edit = widgets::edit(ppp, "VPI_Edit", 104, 74, 80);
    auto* vpiButton = widgets::button(ppp, "SetVPI_But", QStringLiteral("Set value"), 190, 72, 86);
    captionLabel(ppp, QStringLiteral("VCI:"), 8, 106, 90);
    a.VCI_Edit = widgets::edit(ppp, "VCI_Edit", 104, 104, 80);
    auto* vciButton = widgets::button(ppp, "SetVCI_But", QStringLiteral("Set value"), 190, 102, 86);
    captionLabel(ppp, QStringLiteral("Tx pkts: "), 8, 138, 90);
    a.TxPkts_Label = valueLabel(ppp, "TxPkts_Label", 104, 138, 174);
    captionLabel(ppp, QStringLiteral("Rx pkts: "), 8, 164, 90);
    a.RxPkts_Label = valueLabel(ppp, "RxPkts_Label", 104, 164, 174);
    captionLabel(ppp, QStringLiteral("WAN IP address"), 4, 192, 104);
    a.WanIpAddr_Edit = widgets::edit(ppp, "WanIpAddr_Edit", 112, 190, 164);
    a.WanIpAddr_Edit->setReadOnly(true);

    QObject::connect(vpiButton, &QPushButton::clicked, [this] { setVpi(); });
    QObject::connect(vciButton, &QPushButton::clicked, [this] { setVci(); });
}

// The default connection mode (set over telnet).
void AdslPage::buildModeBox(QWidget* info) {
    AdslPageWidgets& a = m_ui;
    auto* modeBox = new QGroupBox(info);
    modeBox->setObjectName(QStringLiteral("DefaultMode_GBox"));
    modeBox->setGeometry(298, 222, 284, 110);
    auto* modeCaption = new QLabel(QStringLiteral("Default connection mode"), modeBox);
    modeCaption->setGeometry(8, 6, 260, 20);
    auto* modes = new QButtonGroup(modeBox);
    modes->setObjectName(QStringLiteral("ADSLMode_Group"));
    const std::tuple<const char*, const char*, QRadioButton**> modeButtons[] = {
        {"AutoMode_RB", "Auto", &a.AutoMode_RB},
        {"GDMTMode_RB", "G.DMT", &a.GDMTMode_RB},
        {"ANSIMode_RB", "ANSI", &a.ANSIMode_RB}};
    int y = 30;
    for (const auto& [name, text, member] : modeButtons) {
        auto* rb = *member = new QRadioButton(QString::fromLatin1(text), modeBox);
        rb->setObjectName(QString::fromLatin1(name));
        rb->setGeometry(14, y, 120, 22);
        modes->addButton(rb);
        y += 24;
    }
    a.SetADSLMode_But = widgets::button(modeBox, "SetADSLMode_But", QStringLiteral("Set value"), 180, 54, 86);
}

// "Connection Log" and "Default Connection Mode Log".
void AdslPage::buildLogSheets(QTabWidget* tabs) {
    AdslPageWidgets& a = m_ui;
    auto* logSheet = new QWidget;
    logSheet->setObjectName(QStringLiteral("ADSLLogTabSheet"));
    tabs->addTab(logSheet, QStringLiteral("Connection Log"));
    auto* linkLog = a.LinkLog_Memo = new QPlainTextEdit(logSheet);
    linkLog->setObjectName(QStringLiteral("LinkLog_Memo"));
    linkLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    linkLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    linkLog->setGeometry(6, 6, 580, 326);
    auto* saveLog = a.SaveLog_But =
        widgets::button(logSheet, "SaveLog_But", QStringLiteral("Save log"), 6, 338, 90);
    auto* clearLog = a.ClearLog_But =
        widgets::button(logSheet, "ClearLog_But", QStringLiteral("Clear log"), 104, 338, 90);
    QObject::connect(saveLog, &QPushButton::clicked, [this, saveLog] { m_calls.saveLog(saveLog); });
    QObject::connect(clearLog, &QPushButton::clicked, [this, clearLog] { m_calls.clearLog(clearLog); });

    auto* modeSheet = new QWidget;
    modeSheet->setObjectName(QStringLiteral("ADSLModeLog_TabSheet"));
    tabs->addTab(modeSheet, QStringLiteral("Default Connection Mode Log"));
    auto* modeLog = a.ADSLModeLog_Memo = new QPlainTextEdit(modeSheet);
    modeLog->setObjectName(QStringLiteral("ADSLModeLog_Memo"));
    modeLog->setReadOnly(true);
    modeLog->setGeometry(6, 6, 580, 360);
}

namespace {

// The text a row shows for a value; false when the value must be a number and is not one.
bool rowText(Shown shown, const QString& value, QString& text) {
    switch (shown) {
    case Shown::Kbps:
        text = snmptext::withoutQuotes(value) + QStringLiteral(" Kbps");
        return true;
    case Shown::Db:
        text = value + QStringLiteral(" dB");
        return true;
    case Shown::Dbm:
        text = value + QStringLiteral(" dBm");
        return true;
    case Shown::NoQuotes:
        text = snmptext::withoutQuotes(value);
        return true;
    case Shown::AsReceived:
        text = value;
        return true;
    case Shown::Mode:
        text = adsl::modeText(value);
        return true;
    case Shown::LineStatus:
        text = adsl::statusText(value);
        return true;
    case Shown::PacketCount:
        return adsl::packetCountText(value, text);
    }
    return false;
}

void showInWidget(QWidget* widget, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);
}

QString same(const QString& value) {
    return value;
}

} // namespace

void AdslPage::refresh(Trigger trigger) {
    PageAction action(m_frame);
    if (trigger != Trigger::Button) m_subPages.openFirst();
    if (!m_calls.passwordShown()) m_ui.Pwd_Label->setVisible(false);

    const AdslPageWidgets& a = m_ui;
    const QString ppp = m_session.interfaces().PppIfIndex;
    struct Row {
        QString oid;
        QWidget* widget;
        Shown shown;
    };
    const Row rows[] = {
        {mib::adslDownRate, a.DownSpeed_Label, Shown::Kbps},
        {mib::adslDownAttenuation, a.DnAtten_Label, Shown::Db},
        {mib::adslDownPower, a.DnOutPwr_Label, Shown::Dbm},
        {mib::adslDownSnr, a.DnSnr_Label, Shown::Db},
        {mib::adslUpRate, a.UpSpeed_Label, Shown::Kbps},
        {mib::adslUpAttenuation, a.UpAtten_Label, Shown::Db},
        {mib::adslUpPower, a.UpOutPwr_Label, Shown::Dbm},
        {mib::adslUpSnr, a.UpSnr_Label, Shown::Db},
        {mib::pppUser, a.User_Label, Shown::NoQuotes},
        {mib::pppPassword, a.Pwd_Label, Shown::NoQuotes},
        {mib::vpi, a.VPI_Edit, Shown::AsReceived},
        {mib::vci, a.VCI_Edit, Shown::AsReceived},
        {mib::adslMode, a.Mode_Label, Shown::Mode},
        {mib::adslStatus, a.Status_Label, Shown::LineStatus},
        {snmptext::ifColumnOid(mib::IfOutNUcastPkts, ppp), a.TxPkts_Label, Shown::PacketCount},
        {snmptext::ifColumnOid(mib::IfInNUcastPkts, ppp), a.RxPkts_Label, Shown::PacketCount},
        {mib::wanAddress, a.WanIpAddr_Edit, Shown::NoQuotes},
    };

    QString problem;
    bool first = true;
    for (const Row& row : rows) {
        QString value;
        const bool ok = m_session.get(row.oid, value);
        if (first && !ok) return action.fail();
        first = false;
        if (!ok) continue; // a later failed read leaves its widget as it was
        QString text;
        if (rowText(row.shown, value, text)) {
            showInWidget(row.widget, text);
        } else {
            // A packet count that is not a number (no PPP interface known, or the router sent
            // something else): no figure rather than an old one.
            showInWidget(row.widget, QStringLiteral("------"));
            if (problem.isEmpty()) {
                problem = ppp == QLatin1String("0")
                              ? QStringLiteral(" Error: PPP interface not found: no packet counts")
                              : QStringLiteral(" Error: PPP packet count is not a number");
            }
        }
    }
    action.end(problem.isEmpty() ? statustext::Ready : problem);
}

void AdslPage::subTabChanged() {
    // Only a sub-tab shown to the user concerns the buttons: a sub-tab switched in code while
    // another page is shown must not disable that page's "&Update".
    if (!m_calls.shown()) return;
    m_subPages.showHelp();
    m_calls.setUpdateEnabled(m_ui.ADSL_PageControl->currentIndex() == 0);
}

void AdslPage::setVpi() {
    setAndReadBack(m_session, m_frame, m_ui.VPI_Edit, mib::vpi, m_ui.VPI_Edit->text(), ber::Integer, same,
                   notWritableStatus(m_session.endpoint()));
}

void AdslPage::setVci() {
    setAndReadBack(m_session, m_frame, m_ui.VCI_Edit, mib::vci, m_ui.VCI_Edit->text(), ber::Integer, same,
                   notWritableStatus(m_session.endpoint()));
}
