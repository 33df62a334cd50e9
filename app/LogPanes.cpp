// Log panes and their tools (save, copy, clear) and the Debug page.
#include "app/Main_Unit.h"

#include "monitor/ConnectionMonitor.h"
#include "ui/PaneText.h"
#include "ui/UiSeam.h"
#include "views/IpPage.h"
#include "views/SystemPage.h"
#include "views/TcpUdpPages.h"
#include "windows/core/HelpKeywords.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

// Which pane each save button writes and the file name it proposes.
struct SaveRow {
    QPushButton* button;
    QPlainTextEdit* pane;
    const char* defaultName;
};
// The panes of the ADSL page and the table panes of the IP, TCP and UDP pages.
struct TableWidgets {
    const AdslPageWidgets& adsl;
    const IpPageWidgets& ip;
    const TcpPageWidgets& tcp;
    const UdpPageWidgets& udp;
};
TableWidgets tableWidgets(TMainForm& form) {
    return {form.adsl().widgets(), form.ip().widgets(), form.tcp().widgets(), form.udp().widgets()};
}

std::array<SaveRow, 7> saveRows(const FormWidgets& ui, const TableWidgets& t) {
    return {{{t.adsl.SaveLog_But, t.adsl.LinkLog_Memo, "kestrune_connlog"},
             {ui.debug.SaveDebugLog_But, ui.debug.DebugLog_Memo, "kestrune_debuglog"},
             {t.ip.AddrTableSave_But, t.ip.AddrTable_Memo, "kestrune_addrtable"},
             {t.ip.RouteTableSave_But, t.ip.RouteTable_Memo, "kestrune_routetable"},
             {t.ip.MediaTableSave_But, t.ip.MediaTable_Memo, "kestrune_mediatable"},
             {t.tcp.TCPSave_But, t.tcp.TCPTable_Memo, "kestrune_tcptable"},
             {t.udp.UDPTableSave_But, t.udp.UDPTable_Memo, "kestrune_udptable"}}};
}

struct ToolRow {
    QPushButton* button;
    QPlainTextEdit* pane;
};
std::array<ToolRow, 6> copyRows(const FormWidgets& ui, const TableWidgets& t) {
    return {{{ui.debug.DebugLogCopy_But, ui.debug.DebugLog_Memo},
             {t.ip.AddrTableCopy_But, t.ip.AddrTable_Memo},
             {t.ip.RouteTableCopy_But, t.ip.RouteTable_Memo},
             {t.ip.MediaTableCopy_But, t.ip.MediaTable_Memo},
             {t.tcp.TCPTableCopy_But, t.tcp.TCPTable_Memo},
             {t.udp.UDPTableCopy_But, t.udp.UDPTable_Memo}}};
}
std::array<ToolRow, 2> clearRows(const FormWidgets& ui, const AdslPageWidgets& adsl) {
    return {{{ui.debug.DebugLogClear_But, ui.debug.DebugLog_Memo}, {adsl.ClearLog_But, adsl.LinkLog_Memo}}};
}

// The pane of the row whose button is `sender`, or none.
template <class Rows> QPlainTextEdit* paneOf(const Rows& rows, const QObject* sender) {
    for (const auto& r : rows)
        if (sender == r.button) return r.pane;
    return nullptr;
}

} // namespace

QPlainTextEdit& TMainForm::debugLog() {
    ensurePageBuilt(ui.pages.Debug);
    return *ui.debug.DebugLog_Memo;
}

void TMainForm::buildDebugPage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, kPageBottomMargin);
    auto* heading = new QLabel(QStringLiteral("Debug log"), page);
    heading->setObjectName(QStringLiteral("DebugLog_Label"));
    layout->addWidget(heading);

    auto* row = new QHBoxLayout;
    auto* memo = ui.debug.DebugLog_Memo = new QPlainTextEdit(page);
    memo->setObjectName(QStringLiteral("DebugLog_Memo"));
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont courier(QStringLiteral("Courier"));
    courier.setStyleHint(QFont::TypeWriter);
    memo->setFont(courier);
    row->addWidget(memo, 1);

    auto* buttons = new QVBoxLayout;
    auto addButton = [&](const char* name, const char* caption, void (TMainForm::*handler)(QObject*)) {
        auto* b = new QPushButton(QString::fromLatin1(caption), page);
        b->setObjectName(QString::fromLatin1(name));
        connectClick(b, handler);
        buttons->addWidget(b);
        return b;
    };
    addButton("InterfaceTable_But", "Interface table", &TMainForm::InterfaceTable_ButClick);
    addButton("IPAddrTable_But", "IP table", &TMainForm::IPAddrTable_ButClick);
    buttons->addSpacing(16);
    ui.debug.SaveDebugLog_But = addButton("SaveDebugLog_But", "Save log", &TMainForm::GenericSave_ButClick);
    ui.debug.DebugLogCopy_But = addButton("DebugLogCopy_But", "Copy log", &TMainForm::GenericCopy_ButClick);
    ui.debug.DebugLogClear_But =
        addButton("DebugLogClear_But", "Clear log", &TMainForm::GenericClear_ButClick);
    buttons->addStretch(1);
    row->addLayout(buttons);
    layout->addLayout(row, 1);
}

QString TMainForm::askSaveFileName(const QString& defaultName) {
    UiSeam::SaveRequest request;
    request.title = QStringLiteral("Save");
    request.defaultSuffix = QStringLiteral("log");
    request.filters = QStringList{QStringLiteral("Log file (*.log)"), QStringLiteral("Text file (*.txt)"),
                                  QStringLiteral("Any file (*)")};
    request.fileName = defaultName;
    return UiSeam::getSaveFileName(this, request);
}

bool TMainForm::savePaneLines(QPlainTextEdit& pane, const QString& fileName) {
    // Written to a temporary file beside the target and renamed over it at the end, so the
    // file is either complete or left as it was.
    QByteArray bytes;
    for (const QString& line : paneLines(pane)) {
        bytes += line.toUtf8();
        bytes += '\n';
    }
    QSaveFile file(fileName);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) ok = file.write(bytes) == bytes.size();
    if (ok) ok = file.commit();
    if (!ok) {
        const QString reason = file.errorString();
        file.cancelWriting();
        UiSeam::error(this, QStringLiteral("Cannot write the file \"%1\": %2").arg(fileName, reason));
        return false;
    }
    if (&pane == adsl().widgets().LinkLog_Memo) m_connection->link().LinkLogChanged = false;
    return true;
}

void TMainForm::GenericSave_ButClick(QObject* Sender) {
    const auto rows = saveRows(ui, tableWidgets(*this));
    const auto row =
        std::find_if(rows.begin(), rows.end(), [&](const SaveRow& r) { return Sender == r.button; });
    if (row == rows.end()) return;

    const QString fileName = askSaveFileName(QString::fromLatin1(row->defaultName));
    if (fileName.isEmpty()) return;

    if (row->pane == ui.debug.DebugLog_Memo) {
        row->pane->appendPlainText(QStringLiteral(" "));
        row->pane->appendPlainText(QStringLiteral("Firmware: ") +
                                   system().widgets().firmware_ver_label->text());
        row->pane->appendPlainText(QStringLiteral("Description:  ") +
                                   system().widgets().RouterDesc_Label->text());
    }
    savePaneLines(*row->pane, fileName);
}

void TMainForm::GenericCopy_ButClick(QObject* Sender) {
    if (Sender == system().widgets().CopyToClipboard_But) {
        UiSeam::setClipboardText(system().clipboardText());
        return;
    }
    if (QPlainTextEdit* pane = paneOf(copyRows(ui, tableWidgets(*this)), Sender)) {
        pane->selectAll();
        UiSeam::setClipboardText(paneLines(*pane).join(QLatin1Char('\n')));
    }
}

void TMainForm::GenericClear_ButClick(QObject* Sender) {
    QPlainTextEdit* pane = paneOf(clearRows(ui, adsl().widgets()), Sender);
    if (!pane) return;
    pane->clear();
    if (pane == adsl().widgets().LinkLog_Memo) m_connection->link().LinkLogChanged = false;
}

void TMainForm::DebugEnter(QObject*) {
    ui.frame.GetValues_But->setEnabled(false);
    setHelpKeyword(helpkw::text(helpkw::Debug), true);
}
