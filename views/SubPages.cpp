// The sub-page tab control of the IP, TCP and ADSL pages.
#include "views/SubPages.h"

#include "windows/core/HelpKeywords.h"

#include <QTabWidget>

SubPages::SubPages(QWidget* page, const char* objectName, std::span<const std::string_view> keywords,
                   PageFrame& frame)
    : m_tabs(new QTabWidget(page)), m_keywords(keywords), m_frame(frame) {
    m_tabs->setObjectName(QString::fromLatin1(objectName));
}

void SubPages::onChange(std::function<void()> changed) {
    QObject::disconnect(m_changed);
    m_changed = QObject::connect(m_tabs, &QTabWidget::currentChanged, m_tabs, std::move(changed));
}

SubPages::~SubPages() {
    // The tab control outlives the page while the window takes its widgets down.
    QObject::disconnect(m_changed);
}

void SubPages::showHelp() const {
    const int index = m_tabs->currentIndex();
    if (index < 0 || index >= static_cast<int>(m_keywords.size())) return;
    m_frame.setHelpKeyword(helpkw::text(m_keywords[index]), true);
}

void SubPages::openFirst() const {
    m_tabs->setCurrentIndex(0);
    m_frame.setHelpKeyword(helpkw::text(m_keywords.front()), true);
}
