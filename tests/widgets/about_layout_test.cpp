// The about window's texts all fit at its fixed client size, clear of the picture and of each other.
#include "windows/About_Unit.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>

#include <gtest/gtest.h>

TEST(AboutLayout, EveryTextFitsItsLabelInsideThePanelAndClearOfThePicture) {
    QCoreApplication::setApplicationVersion(QStringLiteral("1.2.0.1"));
    TAboutBox about;
    about.show();
    ASSERT_EQ(about.size(), QSize(297, 261));
    auto* panel = about.findChild<QFrame*>("Panel1");
    auto* picture = about.findChild<QLabel*>("ProgramIcon");
    ASSERT_TRUE(panel && picture);
    EXPECT_EQ(panel->geometry(), QRect(0, 0, 297, 209));
    EXPECT_EQ(picture->size(), QSize(80, 45));
    const QList<QLabel*> labels = panel->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 10); // the picture and nine texts
    for (QLabel* label : labels) {
        if (label == picture) continue;
        const std::string what = label->text().toStdString();
        EXPECT_EQ(label->font().pixelSize(), 15) << what;
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
            << what;
        EXPECT_LE(label->fontMetrics().height(), label->contentsRect().height()) << what;
        EXPECT_TRUE(panel->contentsRect().contains(label->geometry())) << what;
        EXPECT_FALSE(label->geometry().intersects(picture->geometry())) << what;
        for (QLabel* other : labels) {
            if (other == label || other == picture) continue;
            EXPECT_FALSE(label->geometry().intersects(other->geometry()))
                << what << " / " << other->text().toStdString();
        }
    }
}
