#include "tests/panels/panelsupport.h"
#include "ui/panels/alarmbar.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>

namespace {

// The values a spy has seen, in order.
std::vector<int> seen(const QSignalSpy& spy) {
    std::vector<int> out;
    for (const QList<QVariant>& args : spy)
        out.push_back(args.at(0).toInt());
    return out;
}

TEST(AlarmBar, StartsWithTheGivenLimitsWithoutNotifying) {
    AlarmBar bar(150, -50);
    EXPECT_EQ(bar.highEdit()->text(), "150");
    EXPECT_EQ(bar.lowEdit()->text(), "-50");
    EXPECT_EQ(bar.barAlarmHigh(), 150);
    EXPECT_EQ(bar.barAlarmLow(), -50);

    // The pan bar is shown but never reacts to the user.
    bar.resize(729, 45);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    keepShot(bar.grab().toImage(), "alarmbar.png");
    EXPECT_TRUE(bar.panBar()->isVisible());
    EXPECT_FALSE(bar.panBar()->isEnabled());
    const int before = bar.panBar()->value();
    bar.panBar()->setRange(0, 100);
    QTest::mouseClick(bar.panBar(), Qt::LeftButton, {}, QPoint(bar.panBar()->width() - 30, 8));
    EXPECT_EQ(bar.panBar()->value(), before);

    // The controls at two pixels per template unit.
    EXPECT_EQ(bar.panBar()->geometry(), QRect(0, 0, 560, 16));
    EXPECT_EQ(bar.highLabel()->text(), "AlarmHI:");
    EXPECT_EQ(bar.highLabel()->geometry(), QRect(292, 18, 58, 22));
    EXPECT_EQ(bar.highEdit()->geometry(), QRect(352, 16, 80, 24));
    EXPECT_EQ(bar.lowLabel()->text(), "Lo:");
    EXPECT_EQ(bar.lowLabel()->geometry(), QRect(438, 18, 28, 22));
    EXPECT_EQ(bar.lowEdit()->geometry(), QRect(468, 16, 90, 24));
}

TEST(AlarmBar, EveryKeystrokeSetsTheLimit) {
    AlarmBar bar(150, -50);
    QSignalSpy high(&bar, &AlarmBar::highLimitEdited);
    QSignalSpy low(&bar, &AlarmBar::lowLimitEdited);

    bar.highEdit()->clear();
    QTest::keyClicks(bar.highEdit(), "150");
    EXPECT_EQ(seen(high), (std::vector<int>{1, 15, 150}));
    EXPECT_EQ(bar.barAlarmHigh(), 150);

    // Clearing the edit gives 0 at once.
    QTest::keyClick(bar.highEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(bar.highEdit(), Qt::Key_Backspace);
    EXPECT_EQ(bar.highEdit()->text(), "");
    EXPECT_EQ(high.back().at(0).toInt(), 0);
    EXPECT_EQ(bar.barAlarmHigh(), 0);

    // A lone minus sign is 0, then -2 and -20; a decimal point ends the number.
    bar.lowEdit()->clear();
    QTest::keyClicks(bar.lowEdit(), "-20.7");
    EXPECT_EQ(seen(low), (std::vector<int>{0, -2, -20, -20, -20}));
    EXPECT_EQ(bar.barAlarmLow(), -20);
    EXPECT_EQ(bar.barAlarmHigh(), 0); // each edit sets its own limit only
}

TEST(AlarmBar, LettersAndOtherCharactersAreDropped) {
    AlarmBar bar(150, -50);
    QSignalSpy high(&bar, &AlarmBar::highLimitEdited);
    QSignalSpy low(&bar, &AlarmBar::lowLimitEdited);
    QTest::keyClicks(bar.highEdit(), "a+ e,");
    QTest::keyClicks(bar.lowEdit(), "x");
    EXPECT_EQ(bar.highEdit()->text(), "150");
    EXPECT_EQ(bar.lowEdit()->text(), "-50");
    EXPECT_EQ(high.count(), 0);
    EXPECT_EQ(low.count(), 0);
    EXPECT_EQ(bar.barAlarmHigh(), 150);

    // Keys that type nothing keep working: Home, Delete.
    QTest::keyClick(bar.highEdit(), Qt::Key_Home);
    QTest::keyClick(bar.highEdit(), Qt::Key_Delete);
    EXPECT_EQ(bar.highEdit()->text(), "50");
    EXPECT_EQ(bar.barAlarmHigh(), 50);
}

TEST(AlarmBar, PastedTextKeepsOnlyWhatCouldBeTyped) {
    AlarmBar bar(150, -50);
    QSignalSpy high(&bar, &AlarmBar::highLimitEdited);
    QGuiApplication::clipboard()->setText(QStringLiteral("1e2 C"));
    if (QGuiApplication::clipboard()->text() != QLatin1String("1e2 C"))
        GTEST_SKIP() << "no clipboard on this platform";
    bar.highEdit()->selectAll();
    bar.highEdit()->paste();
    EXPECT_EQ(bar.highEdit()->text(), "12");
    EXPECT_EQ(seen(high), std::vector<int>{12});
}

TEST(AlarmBar, EnterAndEscapeAreSwallowed) {
    QWidget host;
    KeyWatch watch;
    host.installEventFilter(&watch);
    auto* bar = new AlarmBar(150, -50, &host);
    QSignalSpy returnPressed(bar->highEdit(), &QLineEdit::returnPressed);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(bar->highEdit(), key);
        QTest::keyClick(bar->lowEdit(), key);
        QTest::keyClick(bar, key);
    }
    EXPECT_EQ(watch.keys, 0);
    EXPECT_EQ(returnPressed.count(), 0);
}

TEST(AlarmBar, ConversionFollowsTheCLibrary) {
    const std::pair<const char*, int> cases[] = {
        {"", 0},
        {"-", 0},
        {"12.7", 12},
        {"-20", -20},
        {"  42", 42},
        {"+7", 7},
        {"--5", 0},
        {"5-3", 5},
        {".5", 0},
        {"007", 7},
        {"2147483647", INT_MAX},
        {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999999999999", INT_MIN},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(AlarmBar::toLimit(QString::fromLatin1(text)), value) << text;
}

} // namespace
