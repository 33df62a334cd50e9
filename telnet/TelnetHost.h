// What the router command-line session needs from the main window: the edits it reads and writes,
// the two job panes, the mode radio buttons, the job buttons and the periodic timers.
#pragma once

#include "telnet/core/TelnetJobs.h"

#include <QString>

class QWidget;

namespace telnet {

enum JobButton { AdslModeButton = 1, PasswordButton = 2, EventLogButton = 4, AllJobButtons = 7 };

class TelnetHost {
public:
    virtual ~TelnetHost() = default;

    virtual QString routerAddress() const = 0; // the System page's router address edit
    virtual QString community() const = 0;     // the community edit (also the router's password)
    virtual void setCommunity(const QString& text) = 0;
    virtual QString currentPassword() const = 0; // CurPwd_Edit
    virtual void setCurrentPassword(const QString& text) = 0;
    virtual QString newPassword() const = 0; // NewPwd_Edit
    virtual void setNewPassword(const QString& text) = 0;

    virtual void clearPane(Pane pane) = 0;
    // Appends at the end; a text holding "\r\n" shows as two lines.
    virtual void appendLine(Pane pane, const QString& line) = 0;

    virtual Mode checkedMode() const = 0;
    virtual void checkMode(Mode mode) = 0; // Mode::None unchecks all three
    // SetADSLMode_But, SetPwd_But, TelnetEventLog_But by JobButton flags.
    virtual void setButtonsEnabled(int buttons, bool enabled) = 0;

    // Disable (resume: enable) each periodic timer whose menu item is checked at that moment.
    virtual void pausePeriodicTimers() = 0;
    virtual void resumePeriodicTimers() = 0;

    // The start-up job failed: check TelnetDisabled.
    virtual void telnetOnStartupFailed() = 0;
    virtual QWidget* dialogParent() const { return nullptr; }
};

} // namespace telnet
