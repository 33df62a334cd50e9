// One action of a router page: busy cursor and status, then failure or the end.
#include "ui/PageAction.h"

PageAction::PageAction(PageFrame& frame) : m_frame(frame) {
    m_frame.setStatus(statustext::Busy);
}

PageAction::~PageAction() {
    if (!m_ended) end();
}

void PageAction::fail(const QString& status) {
    end(status);
    UiSeam::beep();
}

void PageAction::end(const QString& status) {
    m_ended = true;
    m_frame.setStatus(status);
    m_busy.restore();
}
