// ADSL page: line figures from D-Link's enterprise MIB, the PPP connection's VPI/VCI (writable),
// and the sub-tabs for the connection log and the default connection mode log.
#include "app/Main_Unit.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

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
    captionLabel(ppp, QStringLiteral("WAN IP address"), 8, 192, 90);
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

void TMainForm::ADSLClick(QObject*) {}
void TMainForm::ADSL_PageControlChange(QObject*) {}
void TMainForm::SetVPI_ButClick(QObject*) {}
void TMainForm::SetVCI_ButClick(QObject*) {}
