// The about window: layout, the version shown on activation and the hover colours of the links.
#include "windows/About_Unit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

namespace {

// The window's fixed client area, the white panel across its top and the margins inside it.
constexpr int kWidth = 297, kHeight = 261, kPanelHeight = 209;
constexpr int kMargin = 8, kRowHeight = 20, kGap = 4;
constexpr int kTextLeft = kMargin + 80 + kMargin; // right of the picture
constexpr int kRight = kWidth - kMargin;

QFont windowFont(bool bold = false) {
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(15);
    f.setBold(bold);
    return f;
}

QPixmap programPicture() {
    QPixmap picture(80, 45);
    picture.fill(QColor(0, 51, 102));
    QPainter p(&picture);
    p.setPen(Qt::white);
    p.setFont(windowFont(true));
    p.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("ADSL"));
    return picture;
}

// A one-line text from x to the panel's right margin.
QLabel* line(QWidget* panel, const QString& text, int x, int y, const QFont& font = windowFont()) {
    auto* label = new QLabel(text, panel);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setGeometry(x, y, kRight - x, kRowHeight);
    return label;
}

// A caption and its value on one line: the value starts where the caption's text ends.
QLabel* captioned(QWidget* panel, const QString& caption, QLabel* value, int x, int y) {
    QLabel* name = line(panel, caption, x, y);
    const int valueLeft = x + name->fontMetrics().horizontalAdvance(caption) + kGap;
    name->setGeometry(x, y, valueLeft - x, kRowHeight);
    value->setTextFormat(Qt::PlainText);
    value->setGeometry(valueLeft, y, kRight - valueLeft, kRowHeight);
    return value;
}

QLabel* link(QWidget* panel, const char* name, const QString& text, bool underlined) {
    auto* label = new QLabel(text, panel);
    label->setObjectName(QString::fromLatin1(name));
    QFont f = windowFont();
    f.setUnderline(underlined);
    label->setFont(f);
    label->setStyleSheet(QStringLiteral("color: blue"));
    label->setMouseTracking(true);
    return label;
}

QFrame* whitePanel(QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(0, 0, kWidth, kPanelHeight);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel->setPalette(white);
    return panel;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                          Qt::WindowContextHelpButtonHint) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About Kestrune Utility"));
    setFont(windowFont());
    setFixedSize(kWidth, kHeight);

    QFrame* panel = whitePanel(this);
    ProgramIcon = new QLabel(panel);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(programPicture());
    ProgramIcon->setGeometry(kMargin, kMargin, 80, 45);
    ProgramIcon->setToolTip(QStringLiteral("http://www.dlink.com"));

    // Beside the picture: the product name and the version.
    line(panel, QStringLiteral("Kestrune Utility"), kTextLeft, kMargin, windowFont(true));
    Version_Label = new QLabel(QStringLiteral("x.x.x.x"), panel);
    Version_Label->setObjectName(QStringLiteral("Version_Label"));
    captioned(panel, QStringLiteral("Version:"), Version_Label, kTextLeft, kMargin + 25);

    // Below the picture, across the panel: the credits and the links.
    line(panel, QStringLiteral("For D-Link ADSL router owners"), kMargin, 70);
    line(panel, QStringLiteral("Free software, no warranty"), kMargin, 92);
    WebSite_Label = link(panel, "WebSite_Label", QStringLiteral("kestrune.example.org"), true);
    captioned(panel, QStringLiteral("Website:"), WebSite_Label, kMargin, 132);
    Email_Label = link(panel, "Email_Label", QStringLiteral("kestrune@example.org"), false);
    captioned(panel, QStringLiteral("Email:"), Email_Label, kMargin, 156);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    OKButton->setGeometry((kWidth - 75) / 2, kPanelHeight + (kHeight - kPanelHeight - 25) / 2, 75, 25);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    for (QLabel* label : {WebSite_Label, Email_Label})
        label->installEventFilter(this);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool TAboutBox::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) FormActivate();
    return QDialog::event(e);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* e) {
    const bool enter = e->type() == QEvent::Enter, leave = e->type() == QEvent::Leave;
    if (watched == WebSite_Label) {
        if (enter) WebSite_LabelMouseEnter();
        if (leave) WebSite_LabelMouseLeave();
    } else if (watched == Email_Label) {
        if (enter) Email_LabelMouseEnter();
        if (leave) Email_LabelMouseLeave();
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
