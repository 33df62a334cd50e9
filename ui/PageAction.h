// One action of a router page, from the busy cursor and status to the end: a failed read ends it
// with its status, the cursor restored and a beep; an action that just ends shows " Ready".
#pragma once

#include "ui/PageFrame.h"
#include "ui/StatusTexts.h"
#include "ui/UiSeam.h"

class PageAction {
public:
    explicit PageAction(PageFrame& frame);
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
    PageFrame& m_frame;
    UiSeam::BusyCursor m_busy;
    bool m_ended = false;
};
