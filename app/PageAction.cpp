// One action of a router page: busy cursor and status, then failure or the end.
#include "app/PageAction.h"

#include "app/Main_Unit.h"

PageAction::PageAction(TMainForm& form) : m_form(form) {
    m_form.setStatus(statustext::Busy);
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
    m_form.setStatus(status);
    m_busy.restore();
}
