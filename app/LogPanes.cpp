// Log panes and their tools (save, copy, clear) and the Debug page.
#include "app/Main_Unit.h"
#include "app/UiSeam.h"
#include "views/PaneText.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

#include <array>

namespace {

// Which pane each save button writes and the file name it proposes.
struct SaveRow {
    const char* button;
    const char* pane;
    const char* defaultName;
};
constexpr std::array<SaveRow, 7> kSaveRows{{
    {"SaveLog_But", "LinkLog_Memo", "kestrune_connlog"},
    {"SaveDebugLog_But", "DebugLog_Memo", "kestrune_debuglog"},
    {"AddrTableSave_But", "AddrTable_Memo", "kestrune_addrtable"},
    {"RouteTableSave_But", "RouteTable_Memo", "kestrune_routetable"},
    {"MediaTableSave_But", "MediaTable_Memo", "kestrune_mediatable"},
    {"TCPSave_But", "TCPTable_Memo", "kestrune_tcptable"},
    {"UDPTableSave_But", "UDPTable_Memo", "kestrune_udptable"},
}};

struct ToolRow {
    const char* button;
    const char* pane;
};
constexpr std::array<ToolRow, 6> kCopyRows{{
    {"DebugLogCopy_But", "DebugLog_Memo"},
    {"AddrTableCopy_But", "AddrTable_Memo"},
    {"RouteTableCopy_But", "RouteTable_Memo"},
    {"MediaTableCopy_But", "MediaTable_Memo"},
    {"TCPTableCopy_But", "TCPTable_Memo"},
    {"UDPTableCopy_But", "UDPTable_Memo"},
}};
constexpr std::array<ToolRow, 2> kClearRows{{
    {"DebugLogClear_But", "DebugLog_Memo"},
    {"ClearLog_But", "LinkLog_Memo"},
}};

// The sender's object name when it is one of the window's push buttons; empty otherwise.
QString buttonName(QObject* sender) {
    auto* button = qobject_cast<QPushButton*>(sender);
    return button ? button->objectName() : QString();
}

// Text of a label of the System page; its initial caption when the page does not exist.
QString labelText(const TMainForm* form, const char* name) {
    auto* label = form->w<QLabel>(name);
    return label ? label->text() : QStringLiteral("-----");
}

} // namespace

void TMainForm::buildDebugPage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, kPageBottomMargin);
    auto* heading = new QLabel(QStringLiteral("Debug log"), page);
    heading->setObjectName(QStringLiteral("DebugLog_Label"));
    layout->addWidget(heading);

    auto* row = new QHBoxLayout;
    auto* memo = new QPlainTextEdit(page);
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
        connect(b, &QPushButton::clicked, this, [this, b, handler] { (this->*handler)(b); });
        buttons->addWidget(b);
    };
    addButton("InterfaceTable_But", "Interface table", &TMainForm::InterfaceTable_ButClick);
    addButton("IPAddrTable_But", "IP table", &TMainForm::IPAddrTable_ButClick);
    buttons->addSpacing(16);
    addButton("SaveDebugLog_But", "Save log", &TMainForm::GenericSave_ButClick);
    addButton("DebugLogCopy_But", "Copy log", &TMainForm::GenericCopy_ButClick);
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
    if (pane.objectName() == QLatin1String("LinkLog_Memo")) st.LinkLogChanged = false;
    return true;
}

void TMainForm::GenericSave_ButClick(QObject* Sender) {
    const QString name = buttonName(Sender);
    const SaveRow* row = nullptr;
    for (const auto& r : kSaveRows)
        if (name == QLatin1String(r.button)) row = &r;
    if (!row) return;
    auto* pane = w<QPlainTextEdit>(row->pane);
    if (!pane) return;

    const QString fileName = askSaveFileName(QString::fromLatin1(row->defaultName));
    if (fileName.isEmpty()) return;

    if (pane->objectName() == QLatin1String("DebugLog_Memo")) {
        pane->appendPlainText(QStringLiteral(" "));
        pane->appendPlainText(QStringLiteral("Firmware: ") + labelText(this, "firmware_ver_label"));
        pane->appendPlainText(QStringLiteral("Description:  ") + labelText(this, "RouterDesc_Label"));
    }
    savePaneLines(*pane, fileName);
}

void TMainForm::GenericCopy_ButClick(QObject* Sender) {
    const QString name = buttonName(Sender);
    if (name == QLatin1String("CopyToClipboard_But")) {
        UiSeam::setClipboardText(labelText(this, "firmware_ver_label") + QLatin1Char('\n') +
                                 labelText(this, "RouterDesc_Label"));
        return;
    }
    for (const auto& r : kCopyRows) {
        if (name != QLatin1String(r.button)) continue;
        auto* pane = w<QPlainTextEdit>(r.pane);
        if (!pane) return;
        pane->selectAll();
        UiSeam::setClipboardText(paneLines(*pane).join(QLatin1Char('\n')));
        return;
    }
}

void TMainForm::GenericClear_ButClick(QObject* Sender) {
    const QString name = buttonName(Sender);
    for (const auto& r : kClearRows) {
        if (name != QLatin1String(r.button)) continue;
        auto* pane = w<QPlainTextEdit>(r.pane);
        if (!pane) return;
        pane->clear();
        if (pane->objectName() == QLatin1String("LinkLog_Memo")) st.LinkLogChanged = false;
        return;
    }
}

void TMainForm::DebugEnter(QObject*) {
    if (auto* update = w<QPushButton>("GetValues_But")) update->setEnabled(false);
    setHelpKeyword(QStringLiteral("210.html"), true);
}
