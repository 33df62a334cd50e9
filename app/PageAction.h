// One action of a router page, from the busy cursor and status to the end: a failed read ends it
// with its status, the cursor restored and a beep; an action that just ends shows " Ready".
#pragma once

#include "app/StatusTexts.h"
#include "app/UiSeam.h"

class TMainForm;

class PageAction {
public:
    explicit PageAction(TMainForm& form);
    ~PageAction();
    PageAction(const PageAction&) = delete;
    PageAction& operator=(const PageAction&) = delete;

    // The action failed: its status, the cursor restored, a beep. The caller then returns.
    void fail(const QString& status = statustext::ReadError);
    // The action ends with this status and the cursor restored (no beep).
    void end(const QString& status = statustext::Ready);
    // Only the cursor restored; the status line is left to the caller.
    void restoreCursor() { m_busy.restore(); }

private:
    TMainForm& m_form;
    UiSeam::BusyCursor m_busy;
    bool m_ended = false;
};
