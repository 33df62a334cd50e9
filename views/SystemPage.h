// System page: the router endpoint's edits, the router's identity, interface discovery and the
// three writable system texts.
#pragma once

#include "net/RouterSession.h"
#include "ui/PageFrame.h"

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

struct SystemPageWidgets {
    QLineEdit *IpAddress_Edit = nullptr, *Community_Edit = nullptr;
    QLabel *firmware_ver_label = nullptr, *uptime_label = nullptr, *RouterDesc_Label = nullptr;
    QLineEdit *Contact_Edit = nullptr, *Domain_Edit = nullptr, *Location_Edit = nullptr;
    QPushButton* CopyToClipboard_But = nullptr;
};

class SystemPage {
public:
    // Builds the page's widgets into `page`; "&Copy to clipboard" runs `copy` with the button.
    SystemPage(QWidget* page, RouterSession& session, PageFrame& frame,
               std::function<void(QPushButton*)> copy);
    SystemPage(const SystemPage&) = delete;
    SystemPage& operator=(const SystemPage&) = delete;

    const SystemPageWidgets& widgets() const { return m_ui; }

    // Reads the router's identity, finding its interfaces first while any is unknown.
    void refresh();
    void setContact();
    void setDomain();
    void setLocation();
    // The router's factory address and community back in the edits.
    void resetDefaults();
    // The firmware and description lines, as "&Copy to clipboard" puts them.
    QString clipboardText() const;

private:
    // Interface discovery; false when the router went silent during it.
    bool discoverInterfaces();
    void setQuotedText(QLineEdit* edit, const char* oid, const QString& refused);

    RouterSession& m_session;
    PageFrame& m_frame;
    SystemPageWidgets m_ui;
};
