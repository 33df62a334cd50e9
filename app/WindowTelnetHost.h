// The main window as the command-line session sees it: its edits, job panes, mode buttons, job
// buttons and periodic timers.
#pragma once

#include "telnet/TelnetHost.h"

class TMainForm;

class WindowTelnetHost : public telnet::TelnetHost {
public:
    explicit WindowTelnetHost(TMainForm& form) : m_form(form) {}

    QString routerAddress() const override;
    QString community() const override;
    void setCommunity(const QString& text) override;
    QString currentPassword() const override;
    void setCurrentPassword(const QString& text) override;
    QString newPassword() const override;
    void setNewPassword(const QString& text) override;
    void clearPane(telnet::Pane pane) override;
    void appendLine(telnet::Pane pane, const QString& line) override;
    telnet::Mode checkedMode() const override;
    void checkMode(telnet::Mode mode) override;
    void setButtonsEnabled(int buttons, bool enabled) override;
    void pausePeriodicTimers() override;
    void resumePeriodicTimers() override;
    void telnetOnStartupFailed() override;
    QWidget* dialogParent() const override;

private:
    TMainForm& m_form;
};
