// The about window: layout, the version shown on activation and the hover colours of the links.
#include "windows/About_Unit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPixmap programPicture() {
    QPixmap picture(80, 45);
    picture.fill(QColor(0, 51, 102));
    QPainter p(&picture);
    p.setPen(Qt::white);
    p.setFont(QFont(QStringLiteral("MS Sans Serif"), 15, QFont::Bold));
    p.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("ADSL"));
    return picture;
}

QLabel* link(const QString& name, const QString& text, bool underlined, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont f = label->font();
    f.setUnderline(underlined);
    label->setFont(f);
    label->setStyleSheet(QStringLiteral("color: blue"));
    label->setMouseTracking(true);
    return label;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                          Qt::WindowContextHelpButtonHint) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About Kestrune Utility"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 15));
    setFixedSize(297, 261);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFixedSize(297, 209);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel->setPalette(white);

    ProgramIcon = new QLabel(panel);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(programPicture());
    ProgramIcon->setFixedSize(80, 45);
    ProgramIcon->setToolTip(QStringLiteral("http://www.dlink.com"));
    Version_Label = new QLabel(QStringLiteral("x.x.x.x"), panel);
    Version_Label->setObjectName(QStringLiteral("Version_Label"));
    WebSite_Label =
        link(QStringLiteral("WebSite_Label"), QStringLiteral("kestrune.example.org"), true, panel);
    Email_Label = link(QStringLiteral("Email_Label"), QStringLiteral("kestrune@example.org"), false, panel);

    auto* grid = new QGridLayout(panel);
    grid->addWidget(ProgramIcon, 0, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Kestrune Utility"), panel), 1, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Version:"), panel), 2, 0);
    grid->addWidget(Version_Label, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("A companion for D-Link ADSL router owners"), panel), 3, 0, 1,
                    2);
    grid->addWidget(new QLabel(QStringLiteral("Free software, without any warranty"), panel), 4, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Website:"), panel), 5, 0);
    grid->addWidget(WebSite_Label, 5, 1);
    grid->addWidget(new QLabel(QStringLiteral("Email:"), panel), 6, 0);
    grid->addWidget(Email_Label, 6, 1);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 8);
    rows->addWidget(panel);
    rows->addWidget(OKButton, 0, Qt::AlignHCenter);

    for (QLabel* label : {WebSite_Label, Email_Label, ProgramIcon})
        label->installEventFilter(this);
}

bool TAboutBox::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) FormActivate();
    return QDialog::event(e);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* e) {
    const bool enter = e->type() == QEvent::Enter, leave = e->type() == QEvent::Leave;
    const bool click = e->type() == QEvent::MouseButtonRelease;
    if (watched == WebSite_Label) {
        if (enter) WebSite_LabelMouseEnter();
        if (leave) WebSite_LabelMouseLeave();
        if (click) WebSite_LabelClick();
    } else if (watched == Email_Label) {
        if (enter) Email_LabelMouseEnter();
        if (leave) Email_LabelMouseLeave();
        if (click) Email_LabelClick();
    } else if (watched == ProgramIcon && click) {
        ProgramIconClick();
    }
    return QDialog::eventFilter(watched, e);
}

void TAboutBox::FormActivate() {
    Version_Label->setText(QCoreApplication::applicationVersion());
}

void TAboutBox::hover(QLabel* label, bool inside) {
    label->setCursor(inside ? Qt::PointingHandCursor : Qt::ArrowCursor);
    label->setStyleSheet(inside ? QStringLiteral("color: red") : QStringLiteral("color: blue"));
}

void TAboutBox::WebSite_LabelMouseEnter() {
    hover(WebSite_Label, true);
}
void TAboutBox::WebSite_LabelMouseLeave() {
    hover(WebSite_Label, false);
}
void TAboutBox::Email_LabelMouseEnter() {
    hover(Email_Label, true);
}
void TAboutBox::Email_LabelMouseLeave() {
    hover(Email_Label, false);
}
