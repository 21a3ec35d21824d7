#include "ui/base/prompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(Prompter, OnlyYesOrNoAnswerTheQuestion) {
    // Escape and the window's close leave the question up; Yes answers it.
    bool afterEscape = false;
    bool afterClose = false;
    QTimer::singleShot(0, qApp, [&] {
        QPointer<QMessageBox> box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        QTest::keyClick(box, Qt::Key_Escape);
        afterEscape = box && box->isVisible();
        if (box)
            box->close();
        afterClose = box && box->isVisible();
        if (afterClose)
            box->button(QMessageBox::Yes)->click();
    });
    Prompter prompter;
    EXPECT_TRUE(prompter.askYesNo(nullptr, QStringLiteral("Do you want to save? ")));
    EXPECT_TRUE(afterEscape);
    EXPECT_TRUE(afterClose);
}

} // namespace
