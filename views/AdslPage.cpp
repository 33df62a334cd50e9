// ADSL page: line figures from D-Link's enterprise MIB, the PPP connection's VPI/VCI (writable),
// and the sub-tabs for the connection log and the default connection mode log.
#include "app/Main_Unit.h"
#include "app/StatusTexts.h"

#include "app/UiSeam.h"
#include "views/core/AdslText.h"
#include "views/core/InterfacesText.h"

#include <QAction>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

// Enterprise prefix of the ADSL objects.
QString adslOid(const char* rest) {
    return QStringLiteral("1.3.6.1.4.1.171.11.30.") + QLatin1String(rest);
}

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

struct AdslRow {
    const char* widget;
    Shown shown;
};

QLabel* captionLabel(QWidget* parent, const QString& text, int x, int y, int w) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(x, y, w, 20);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QLabel* valueLabel(QWidget* parent, const char* name, int x, int y, int w) {
    auto* l = new QLabel(QStringLiteral("------"), parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(x, y, w, 20);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, int x, int y, int w) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, y, w, 26);
    return b;
}

// The four line figures of one direction.
void buildDirection(QWidget* parent, const QString& title, int x, const char* speed,
                    const QString& speedCaption, const char* atten, const char* power, const char* snr) {
    auto* g = new QGroupBox(title, parent);
    g->setObjectName(title + QStringLiteral("_GBox"));
    g->setGeometry(x, 6, 284, 128);
    captionLabel(g, speedCaption, 8, 22, 100);
    valueLabel(g, speed, 114, 22, 164);
    captionLabel(g, QStringLiteral("Attenuation:"), 8, 48, 100);
    valueLabel(g, atten, 114, 48, 164);
    captionLabel(g, QStringLiteral("Output power:"), 8, 74, 100);
    valueLabel(g, power, 114, 74, 164);
    captionLabel(g, QStringLiteral("SNR:"), 8, 100, 100);
    valueLabel(g, snr, 114, 100, 164);
}

} // namespace

void TMainForm::buildAdslPage(QWidget* page) {
    auto* tabs = new QTabWidget(page);
    tabs->setObjectName(QStringLiteral("ADSL_PageControl"));
    tabs->setGeometry(4, 4, 598, 404);

    // ---- Connection Info ----
    auto* info = new QWidget;
    info->setObjectName(QStringLiteral("ADSLInfo_TabSheet"));
    tabs->addTab(info, QStringLiteral("Connection Info"));

    buildDirection(info, QStringLiteral("Downstream"), 6, "DownSpeed_Label", QStringLiteral("Speed:"),
                   "DnAtten_Label", "DnOutPwr_Label", "DnSnr_Label");
    buildDirection(info, QStringLiteral("Upstream"), 298, "UpSpeed_Label", QStringLiteral("Speed: "),
                   "UpAtten_Label", "UpOutPwr_Label", "UpSnr_Label");

    // PPP connection: account, ATM circuit, packets.
    auto* ppp = new QGroupBox(QStringLiteral(" PPP connection "), info);
    ppp->setObjectName(QStringLiteral("PPPConnection_GBox"));
    ppp->setGeometry(6, 140, 284, 226);
    captionLabel(ppp, QStringLiteral("Username: "), 8, 22, 90);
    valueLabel(ppp, "User_Label", 104, 22, 174);
    captionLabel(ppp, QStringLiteral("Password: "), 8, 48, 90);
    valueLabel(ppp, "Pwd_Label", 104, 48, 174);
    captionLabel(ppp, QStringLiteral("VPI:"), 8, 76, 90);
    auto* vpi = new QLineEdit(ppp);
    vpi->setObjectName(QStringLiteral("VPI_Edit"));
    vpi->setGeometry(104, 74, 80, 24);
    auto* setVpi = button(ppp, "SetVPI_But", QStringLiteral("Set value"), 190, 73, 86);
    captionLabel(ppp, QStringLiteral("VCI:"), 8, 106, 90);
    auto* vci = new QLineEdit(ppp);
    vci->setObjectName(QStringLiteral("VCI_Edit"));
    vci->setGeometry(104, 104, 80, 24);
    auto* setVci = button(ppp, "SetVCI_But", QStringLiteral("Set value"), 190, 103, 86);
    captionLabel(ppp, QStringLiteral("Tx pkts: "), 8, 138, 90);
    valueLabel(ppp, "TxPkts_Label", 104, 138, 174);
    captionLabel(ppp, QStringLiteral("Rx pkts: "), 8, 164, 90);
    valueLabel(ppp, "RxPkts_Label", 104, 164, 174);
    captionLabel(ppp, QStringLiteral("WAN IP address"), 0, 192, 100);
    auto* wanIp = new QLineEdit(ppp);
    wanIp->setObjectName(QStringLiteral("WanIpAddr_Edit"));
    wanIp->setReadOnly(true);
    wanIp->setGeometry(104, 190, 172, 24);

    // Line state.
    auto* line = new QGroupBox(QStringLiteral(" Line "), info);
    line->setObjectName(QStringLiteral("Line_GBox"));
    line->setGeometry(298, 140, 284, 76);
    captionLabel(line, QStringLiteral("Mode:"), 8, 22, 70);
    valueLabel(line, "Mode_Label", 84, 22, 194);
    captionLabel(line, QStringLiteral("Status:"), 8, 48, 70);
    valueLabel(line, "Status_Label", 84, 48, 194);

    // Default connection mode (set over telnet).
    auto* modeBox = new QGroupBox(info);
    modeBox->setObjectName(QStringLiteral("DefaultMode_GBox"));
    modeBox->setGeometry(298, 222, 284, 110);
    auto* modeCaption = new QLabel(QStringLiteral("Default connection mode"), modeBox);
    modeCaption->setGeometry(8, 6, 260, 20);
    auto* modes = new QButtonGroup(modeBox);
    modes->setObjectName(QStringLiteral("ADSLMode_Group"));
    const std::pair<const char*, const char*> modeButtons[] = {
        {"AutoMode_RB", "Auto"}, {"GDMTMode_RB", "G.DMT"}, {"ANSIMode_RB", "ANSI"}};
    int y = 30;
    for (const auto& [name, text] : modeButtons) {
        auto* rb = new QRadioButton(QString::fromLatin1(text), modeBox);
        rb->setObjectName(QString::fromLatin1(name));
        rb->setGeometry(14, y, 120, 22);
        modes->addButton(rb);
        y += 24;
    }
    button(modeBox, "SetADSLMode_But", QStringLiteral("Set value"), 180, 54, 86);

    // ---- Connection Log ----
    auto* logSheet = new QWidget;
    logSheet->setObjectName(QStringLiteral("ADSLLogTabSheet"));
    tabs->addTab(logSheet, QStringLiteral("Connection Log"));
    auto* linkLog = new QPlainTextEdit(logSheet);
    linkLog->setObjectName(QStringLiteral("LinkLog_Memo"));
    linkLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    linkLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    linkLog->setGeometry(6, 6, 580, 326);
    auto* saveLog = button(logSheet, "SaveLog_But", QStringLiteral("Save log"), 6, 338, 90);
    auto* clearLog = button(logSheet, "ClearLog_But", QStringLiteral("Clear log"), 104, 338, 90);
    connect(saveLog, &QPushButton::clicked, this, [this, saveLog] { GenericSave_ButClick(saveLog); });
    connect(clearLog, &QPushButton::clicked, this, [this, clearLog] { GenericClear_ButClick(clearLog); });

    // ---- Default Connection Mode Log ----
    auto* modeSheet = new QWidget;
    modeSheet->setObjectName(QStringLiteral("ADSLModeLog_TabSheet"));
    tabs->addTab(modeSheet, QStringLiteral("Default Connection Mode Log"));
    auto* modeLog = new QPlainTextEdit(modeSheet);
    modeLog->setObjectName(QStringLiteral("ADSLModeLog_Memo"));
    modeLog->setReadOnly(true);
    modeLog->setGeometry(6, 6, 580, 360);

    connect(setVpi, &QPushButton::clicked, this, [this, setVpi] { SetVPI_ButClick(setVpi); });
    connect(setVci, &QPushButton::clicked, this, [this, setVci] { SetVCI_ButClick(setVci); });
    connect(tabs, &QTabWidget::currentChanged, this, [this, tabs] { ADSL_PageControlChange(tabs); });
}

namespace {

// The text a row shows for a value; false when the value must be a number and is not one.
bool rowText(Shown shown, const QString& value, QString& text) {
    switch (shown) {
    case Shown::Kbps:
        text = adsl::withoutQuotes(value) + QStringLiteral(" Kbps");
        return true;
    case Shown::Db:
        text = value + QStringLiteral(" dB");
        return true;
    case Shown::Dbm:
        text = value + QStringLiteral(" dBm");
        return true;
    case Shown::NoQuotes:
        text = adsl::withoutQuotes(value);
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

void setKeywordAndUpdate(TMainForm& form, const QString& keyword, bool updateEnabled) {
    form.setHelpKeyword(keyword, true);
    if (auto* update = form.w<QPushButton>("GetValues_But")) update->setEnabled(updateEnabled);
}

} // namespace

void TMainForm::ADSLClick(QObject* Sender) {
    UiSeam::BusyCursor busy;
    setStatus(statustext::Busy);

    if (!qobject_cast<QPushButton*>(Sender)) {
        if (auto* tabs = w<QTabWidget>("ADSL_PageControl")) tabs->setCurrentIndex(0);
        setHelpKeyword(QStringLiteral("130.html"), true);
    }

    auto* showPwd = w<QAction>("ShowPwd");
    if (auto* pwd = w<QLabel>("Pwd_Label"); pwd && showPwd && !showPwd->isChecked()) pwd->setVisible(false);

    const QString ppp = st.PppIfIndex;
    const std::pair<QString, AdslRow> rows[] = {
        {adslOid("2.3.0"), {"DownSpeed_Label", Shown::Kbps}},
        {adslOid("2.26.0"), {"DnAtten_Label", Shown::Db}},
        {adslOid("2.30.0"), {"DnOutPwr_Label", Shown::Dbm}},
        {adslOid("2.28.0"), {"DnSnr_Label", Shown::Db}},
        {adslOid("2.2.0"), {"UpSpeed_Label", Shown::Kbps}},
        {adslOid("2.25.0"), {"UpAtten_Label", Shown::Db}},
        {adslOid("2.29.0"), {"UpOutPwr_Label", Shown::Dbm}},
        {adslOid("2.27.0"), {"UpSnr_Label", Shown::Db}},
        {adslOid("6.1.1.7.1"), {"User_Label", Shown::NoQuotes}},
        {adslOid("6.1.1.8.1"), {"Pwd_Label", Shown::NoQuotes}},
        {adslOid("6.1.1.3.1"), {"VPI_Edit", Shown::AsReceived}},
        {adslOid("6.1.1.4.1"), {"VCI_Edit", Shown::AsReceived}},
        {adslOid("2.1.0"), {"Mode_Label", Shown::Mode}},
        {adslOid("2.5.0"), {"Status_Label", Shown::LineStatus}},
        {ifview::columnOid(18, ppp), {"TxPkts_Label", Shown::PacketCount}},
        {ifview::columnOid(12, ppp), {"RxPkts_Label", Shown::PacketCount}},
        {adslOid("4.1.1.2.2"), {"WanIpAddr_Edit", Shown::NoQuotes}},
    };

    // The page's own widgets: some of its names (Status_Label) are used elsewhere in the window too.
    QObject* page = w<QTabWidget>("ADSL_PageControl");
    QString problem;
    bool first = true;
    for (const auto& [oid, row] : rows) {
        QString value;
        const bool ok = snmpGet(oid, value);
        if (first && !ok) {
            pageReadFailed(busy);
            return;
        }
        first = false;
        if (!ok) continue; // a later failed read leaves its widget as it was
        auto* widget = page ? w<QWidget>(row.widget, page) : nullptr;
        QString text;
        if (rowText(row.shown, value, text)) {
            showInWidget(widget, text);
        } else {
            // A packet count that is not a number (no PPP interface known, or the router sent
            // something else): no figure rather than an old one.
            showInWidget(widget, QStringLiteral("------"));
            if (problem.isEmpty()) {
                problem = ppp == QLatin1String("0")
                              ? QStringLiteral(" Error: PPP interface not found: no packet counts")
                              : QStringLiteral(" Error: PPP packet count is not a number");
            }
        }
    }
    busy.restore();
    setStatus(problem.isEmpty() ? statustext::Ready : problem);
}

void TMainForm::ADSL_PageControlChange(QObject* Sender) {
    // Only a sub-tab shown to the user concerns the buttons: a sub-tab switched in code while
    // another page is shown must not disable that page's "&Update".
    if (currentPageName() != QLatin1String("ADSL")) return;
    auto* tabs = qobject_cast<QTabWidget*>(Sender);
    if (!tabs) tabs = w<QTabWidget>("ADSL_PageControl");
    const int index = tabs ? tabs->currentIndex() : 0;
    if (index == 0)
        setKeywordAndUpdate(*this, QStringLiteral("130.html"), true);
    else if (index == 1)
        setKeywordAndUpdate(*this, QStringLiteral("130.html#adslconnectionlog"), false);
    else
        setKeywordAndUpdate(*this, QStringLiteral("130.html#defaultconnectionmodelog"), false);
}

namespace {

// Writes the VPI or VCI from its edit as an INTEGER and shows what the router then holds.
void setCircuitValue(TMainForm& form, const QString& oid, const char* editName) {
    UiSeam::BusyCursor busy;
    form.setStatus(statustext::Busy);
    auto* edit = form.w<QLineEdit>(editName);
    const QString text = edit ? edit->text() : QString();
    if (form.snmpSet(oid, text, 0x02)) {
        QString value;
        if (form.snmpGet(oid, value)) {
            if (edit) edit->setText(value);
            form.setStatus(statustext::Ready);
        } else {
            // The value was written but cannot be read back: the edit keeps the typed text, and the
            // status line says why no value came rather than staying busy.
            form.setStatus(statustext::ReadError);
        }
        return;
    }
    if (edit) edit->setText(QStringLiteral("Set failed"));
    form.setStatus(QStringLiteral(" Error: Is \"") + form.community() +
                   QStringLiteral("\" community writable?"));
    busy.restore();
    UiSeam::beep();
}

} // namespace

void TMainForm::SetVPI_ButClick(QObject*) {
    setCircuitValue(*this, adslOid("6.1.1.3.1"), "VPI_Edit");
}

void TMainForm::SetVCI_ButClick(QObject*) {
    setCircuitValue(*this, adslOid("6.1.1.4.1"), "VCI_Edit");
}
