// The table sub-pages of the IP, TCP and UDP pages: the pane and its two buttons.
#include "views/TablePane.h"

#include "ui/PaneText.h"

#include <QFont>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

void writeTable(QPlainTextEdit& pane, const QStringList& appends) {
    appendToPane(pane, appends);
    pane.moveCursor(QTextCursor::Start);
    pane.ensureCursorVisible();
}

TablePane addTablePane(const PaneTools& tools, QWidget* container, const char* paneName, const char* copyName,
                       const char* saveName) {
    auto* row = new QHBoxLayout(container);
    auto* pane = new QPlainTextEdit(container);
    pane->setObjectName(QString::fromLatin1(paneName));
    pane->setReadOnly(true);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont font(QStringLiteral("adobe-courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(13);
    pane->setFont(font);
    row->addWidget(pane, 1);

    auto* buttons = new QVBoxLayout;
    auto* copy = new QPushButton(QStringLiteral("Copy table"), container);
    copy->setObjectName(QString::fromLatin1(copyName));
    QObject::connect(copy, &QPushButton::clicked, copy, [copy, run = tools.copy] { run(copy); });
    auto* save = new QPushButton(QStringLiteral("Save table"), container);
    save->setObjectName(QString::fromLatin1(saveName));
    QObject::connect(save, &QPushButton::clicked, save, [save, run = tools.save] { run(save); });
    buttons->addWidget(copy);
    buttons->addWidget(save);
    buttons->addStretch(1);
    row->addLayout(buttons);
    return {pane, copy, save};
}
