// The About window: its texts, its links' colours, and what a click on a link opens.
#include "FakeUi.h"
#include "about/FrmAbout.h"
#include "about/LinkLabel.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

namespace {
void Mouse(QWidget *w, QEvent::Type type, QPoint at) {
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}
} // namespace

TEST(AboutWindow, Texts) {
    FakeUi ui;
    FrmAbout about(ui, nullptr);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("О программе"));
    EXPECT_EQ(about.LTitle->text(), QStringLiteral("Программа: \"Зорвика\""));
    EXPECT_EQ(about.LVersion->text(), QStringLiteral("Версия: 1.0"));
    EXPECT_TRUE(about.LAutor->text().startsWith(QStringLiteral("Автор программы: ")));
    EXPECT_GT(about.LAutor->text().size(), QStringLiteral("Автор программы: ").size());
    EXPECT_EQ(about.LMailInfo->text(), QStringLiteral("Электронная почта:"));
    EXPECT_EQ(about.LThanks->text(), QStringLiteral("Особая благодарность:"));
    ASSERT_EQ(about.LWebInfo.size(), 3);
    for (QLabel *l : about.LWebInfo)
        EXPECT_EQ(l->text(), QStringLiteral("Веб-сайту:"));
    EXPECT_EQ(about.CmdOK->text(), QStringLiteral("&ОК"));
    EXPECT_FALSE(about.ILogo->pixmap().isNull());
    EXPECT_EQ(about.ILogo->pixmap().size(), QSize(370, 80));
}

TEST(AboutWindow, LinksAreRedWhilePressedAndOpenOnAClick) {
    FakeUi ui;
    FrmAbout about(ui, nullptr);
    LinkLabel *mail = about.LMail;
    EXPECT_EQ(mail->textColour(), QColor(0, 0, 255));
    Mouse(mail, QEvent::MouseButtonPress, QPoint(2, 2));
    EXPECT_EQ(mail->textColour(), QColor(255, 0, 0));
    EXPECT_TRUE(ui.shellOpened.isEmpty());
    Mouse(mail, QEvent::MouseButtonRelease, QPoint(2, 2));
    EXPECT_EQ(mail->textColour(), QColor(0, 0, 255));
    EXPECT_EQ(ui.shellOpened, QStringList{QStringLiteral("mailto:") + mail->text()});

    // A press that is released away from the label only changes the colour back.
    LinkLabel *web = about.LWeb[1];
    Mouse(web, QEvent::MouseButtonPress, QPoint(2, 2));
    Mouse(web, QEvent::MouseButtonRelease, QPoint(-50, -50));
    EXPECT_EQ(web->textColour(), QColor(0, 0, 255));
    EXPECT_EQ(ui.shellOpened.size(), 1);
    Mouse(web, QEvent::MouseButtonPress, QPoint(2, 2));
    Mouse(web, QEvent::MouseButtonRelease, QPoint(2, 2));
    EXPECT_EQ(ui.shellOpened.last(), web->text());
}

TEST(AboutWindow, EveryLabelShowsItsWholeTextBesideTheOthersOnOneBaselinePerRow) {
    FakeUi ui;
    FrmAbout about(ui, nullptr);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    // Where each label draws its text, in the window, with its own font's metrics.
    auto textRect = [&](const QLabel *label) {
        const QRect inLabel = label->style()->itemTextRect(label->fontMetrics(), label->contentsRect(),
                                                           int(label->alignment()), true, label->text());
        return QRect(label->mapTo(&about, inLabel.topLeft()), inLabel.size());
    };
    QList<QLabel *> labels{about.LTitle,    about.LVersion, about.LAutor,
                           about.LMailInfo, about.LMail,    about.LThanks};
    labels << about.LWebInfo;
    for (LinkLabel *web : about.LWeb)
        labels << web;
    for (const QLabel *label : labels) {
        const QRect text = textRect(label);
        // The label is as wide as its text and the window shows all of it.
        EXPECT_TRUE(label->geometry().contains(text)) << label->text().toStdString();
        EXPECT_TRUE(about.rect().contains(text)) << label->text().toStdString();
        for (const QLabel *other : labels)
            if (other != label)
                EXPECT_FALSE(text.intersects(textRect(other)))
                    << label->text().toStdString() << " / " << other->text().toStdString();
    }
    // A link reads on the line of its label.
    EXPECT_EQ(textRect(about.LMail).top(), textRect(about.LMailInfo).top());
    EXPECT_GT(textRect(about.LMail).left(), textRect(about.LMailInfo).left());
    for (int i = 0; i < about.LWeb.size(); ++i) {
        EXPECT_EQ(textRect(about.LWeb[i]).top(), textRect(about.LWebInfo[i]).top()) << i;
        EXPECT_GT(textRect(about.LWeb[i]).left(), textRect(about.LWebInfo[i]).left()) << i;
    }
}
