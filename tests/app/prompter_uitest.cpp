#include "app/prompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(Prompter, OnlyYesOrNoAnswerTheQuestion) {
    // Escape, then the window's close, then Yes; or straight away No.
    for (const bool yes : {true, false}) {
        bool afterEscape = false;
        bool afterClose = false;
        QTimer::singleShot(0, qApp, [&] {
            QPointer<QMessageBox> box =
                qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            EXPECT_EQ(box->windowTitle(), "Orvane");
            QTest::keyClick(box, Qt::Key_Escape);
            afterEscape = box && box->isVisible();
            if (box)
                box->close();
            afterClose = box && box->isVisible();
            if (box && box->isVisible())
                box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        Prompter prompter;
        EXPECT_EQ(prompter.askYesNo(nullptr, QStringLiteral("Do you want to save? ")), yes);
        EXPECT_TRUE(afterEscape);
        EXPECT_TRUE(afterClose);
    }
}

} // namespace
