// What the main window owns for its network jobs: the one anti-freeze, the window's side of the
// command-line session, the command-line jobs, the event-log transfer and the update check.
#pragma once

#include "app/NetworkSettings.h"
#include "app/WindowTelnetHost.h"
#include "eventlog/EventLogTransfer.h"
#include "net/AntiFreeze.h"
#include "telnet/TelnetJobs.h"
#include "update/UpdateCheck.h"

#include <functional>
#include <memory>

class QDialog;
class TMainForm;

struct TelnetParts {
    // The jobs take the telnet settings, the event-log receiver the TFTP ones.
    TelnetParts(TMainForm& form, const NetworkSettings& settings);

    // The one anti-freeze; null in a second window of the same process (tests only), which shares
    // the first one's.
    std::unique_ptr<TIdAntiFreeze> antiFreeze;
    WindowTelnetHost host;
    TelnetJobs jobs;
    EventLogTransfer eventLog;
    UpdateCheck update;
    // Shows a modal window; tests replace it so that nothing waits on a user.
    std::function<void(QDialog&)> runModal;
};
