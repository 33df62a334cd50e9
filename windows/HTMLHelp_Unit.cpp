// The help window: button row over a rich-text browser that keeps the history of the pages shown.
#include "windows/HTMLHelp_Unit.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {
const QString kContentsPage = QStringLiteral("kestrune.html");
}

TFormHTMLHelpViewer::TFormHTMLHelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FormHTMLHelpViewer"));
    setWindowTitle(QStringLiteral("Kestrune Utility Help"));
    setAttribute(Qt::WA_QuitOnClose, false); // an open help window never keeps the program running
    QFont font(QStringLiteral("adobe-helvetica"));
    font.setPixelSize(14);
    setFont(font);
    resize(550, 360);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel"));
    outer->addWidget(panel);
    auto* column = new QVBoxLayout(panel);
    auto* row = new QHBoxLayout();
    column->addLayout(row);

    m_contents =
        addButton("Contents_But", QStringLiteral("&Contents"), &TFormHTMLHelpViewer::Contents_ButClick);
    row->addWidget(m_contents);
    row->addWidget(addButton("Home_But", QStringLiteral("&Home"), &TFormHTMLHelpViewer::Home_ButClick));
    QPushButton* back = addButton("Back_But", QStringLiteral("&<<"), &TFormHTMLHelpViewer::Back_ButClick);
    back->setToolTip(QStringLiteral("Backward"));
    row->addWidget(back);
    QPushButton* forward =
        addButton("Forward_But", QStringLiteral("&>>"), &TFormHTMLHelpViewer::Forward_ButClick);
    forward->setToolTip(QStringLiteral("Forward"));
    row->addWidget(forward);
    row->addStretch(1);
    row->addWidget(addButton("Close_But", QStringLiteral("C&lose"), &TFormHTMLHelpViewer::Close_ButClick));

    m_browser = new QTextBrowser(panel);
    m_browser->setObjectName(QStringLiteral("Browser"));
    m_browser->setOpenExternalLinks(true);
    column->addWidget(m_browser, 1);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
}

QPushButton* TFormHTMLHelpViewer::addButton(const char* name, const QString& caption,
                                            void (TFormHTMLHelpViewer::*handler)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

void TFormHTMLHelpViewer::showPage(const QString& pagePath, const QString& anchor) {
    QUrl url = QUrl::fromLocalFile(pagePath);
    if (!anchor.isEmpty()) url.setFragment(anchor);
    m_browser->setSource(url);
    show();
    raise();
    activateWindow();
}

void TFormHTMLHelpViewer::Contents_ButClick() {
    if (m_browser->source().isEmpty()) return; // nothing shown yet, so no page to be relative to
    m_browser->setSource(m_browser->source().resolved(QUrl(kContentsPage)));
}

void TFormHTMLHelpViewer::Home_ButClick() {
    m_browser->home();
}
void TFormHTMLHelpViewer::Back_ButClick() {
    m_browser->backward();
}
void TFormHTMLHelpViewer::Forward_ButClick() {
    m_browser->forward();
}
void TFormHTMLHelpViewer::Close_ButClick() {
    hide();
}

void TFormHTMLHelpViewer::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    placeOnFirstShow();
    m_contents->setFocus();
}

// The first time it opens, the window sits in the middle of the screen; later it keeps where the user put it.
void TFormHTMLHelpViewer::placeOnFirstShow() {
    if (m_placed) return;
    m_placed = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}
