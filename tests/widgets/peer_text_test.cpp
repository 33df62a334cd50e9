// Texts from peers are shown as the characters they are, in boxes that fit the screen.
#include "support/MainFormHarness.h"

#include "net/core/MibObjects.h"
#include "ui/UiSeam.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>

#include <gtest/gtest.h>

using testsupport::MainFormHarness;

namespace {

const QString Markup = QStringLiteral("<a href=x>click</a>");

} // namespace

TEST(PeerText, LabelsShowingRouterTextsAndTheStatusLineArePlainText) {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) { r.set(mib::sysDescr, 0x04, Markup.toStdString()); };
    MainFormHarness h(o);
    EXPECT_EQ(h.find<QLabel>("RouterDesc_Label")->text(), Markup);
    h.form().setStatus(QStringLiteral(" ") + Markup);
    for (const char* name : {"StatusLine_Label", "RouterDesc_Label", "firmware_ver_label", "uptime_label",
                             "InReceives_Label", "DownSpeed_Label"}) {
        auto* label = h.find<QLabel>(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << name;
    }
    EXPECT_EQ(h.find<QLabel>("StatusLine_Label")->text(), QStringLiteral(" ") + Markup);
}

TEST(PeerText, AMessageBoxShowsPlainTextCutToFitTheScreen) {
    struct Case {
        const char* what;
        QString text;
        bool cut;
    };
    const Case cases[] = {
        {"markup", Markup, false},
        {"the telnet failure", QStringLiteral("Telnet is not responding!\r\r1) a;\r2) b;\r\rDisabling!"),
         false},
        {"one line of 1 MiB", QString(1 << 20, QLatin1Char('x')), true},
        {"1 MiB of words", QStringLiteral("word ").repeated((1 << 20) / 5), true},
        {"1 MiB of short lines", QStringLiteral("line\r\n").repeated((1 << 20) / 6), true},
        {"short lines, then long", QStringLiteral("a\n").repeated(20) + QStringLiteral("word ").repeated(999),
         true},
    };
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const Case& c : cases) {
        UiSeam::resetTestRecord();
        UiSeam::information(nullptr, QStringLiteral("Title"), c.text);
        ASSERT_EQ(UiSeam::messages().size(), 1u);
        const QString shown = UiSeam::messages()[0].text;
        EXPECT_EQ(shown, UiSeam::boxText(c.text)) << c.what;
        EXPECT_EQ(shown != c.text, c.cut) << c.what;
        EXPECT_EQ(shown.endsWith(QLatin1String("...")), c.cut) << c.what;
        EXPECT_LE(shown.size(), UiSeam::kBoxMaxCharacters + 3) << c.what;

        auto box = UiSeam::makeBox(nullptr, UiSeam::BoxKind::Information, QStringLiteral("Title"), c.text);
        EXPECT_EQ(box->textFormat(), Qt::PlainText) << c.what;
        box->show();
        QCoreApplication::processEvents();
        EXPECT_LE(box->frameGeometry().width(), screen.width()) << c.what;
        EXPECT_LE(box->frameGeometry().height(), screen.height()) << c.what;
        box->hide();
    }
}
