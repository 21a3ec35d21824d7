#include "support/screenreader.h"
#include "support/windowrig.h"
#include "ui/panels/alarmbar.h"
#include "ui/panels/cdisplaypanel.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Visits every interface below `root`, depth first.
void walk(QAccessibleInterface* root, const std::function<void(QAccessibleInterface*)>& visit) {
    visit(root);
    for (int i = 0; i < root->childCount(); ++i)
        if (QAccessibleInterface* child = root->child(i); child && child->isValid())
            walk(child, visit);
}

// The first interface below `root` that `match` accepts.
QAccessibleInterface* find(QAccessibleInterface* root,
                           const std::function<bool(QAccessibleInterface*)>& match) {
    QAccessibleInterface* found = nullptr;
    walk(root, [&](QAccessibleInterface* item) {
        if (!found && match(item))
            found = item;
    });
    return found;
}

QAccessibleInterface* named(QAccessibleInterface* root, const QString& name) {
    return find(root, [&](QAccessibleInterface* i) { return i->text(QAccessible::Name) == name; });
}

// What a screen reader finds in the window: every control named, each figure
// of the instrument face as text, the captions tied to their fields, the
// status bar's text, the list's rows as cells.
TEST(Accessibility, AReaderFindsEveryControlByNameAndTheFaceAsText) {
    WindowRig rig({.show = true});
    rig.record({253, 254});
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(rig.frame.get());
    ASSERT_NE(window, nullptr);

    QStringList unnamed;
    walk(window, [&](QAccessibleInterface* item) {
        const QAccessible::Role role = item->role();
        const bool control = role == QAccessible::Button || role == QAccessible::PushButton ||
                             role == QAccessible::CheckBox || role == QAccessible::ComboBox ||
                             role == QAccessible::EditableText || role == QAccessible::ScrollBar ||
                             role == QAccessible::Table || role == QAccessible::MenuItem ||
                             role == QAccessible::Pane || role == QAccessible::Client ||
                             role == QAccessible::Grip;
        // The toolbar's separator lines are no controls.
        if (control && item->text(QAccessible::Name).isEmpty() && item->object() &&
            !item->object()->inherits("QToolBarSeparator"))
            unnamed << QString::fromLatin1(item->object()->metaObject()->className());
    });
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();

    // Each figure is a text named with its caption and value; its text is the
    // value. "Time:", "AlarmHI:" and "Lo:" label their fields.
    const QString port = QStringLiteral("COM %1").arg(rig.frame->line().port());
    for (const auto& [caption, value] : {std::pair<QString, QString>{"Reading", "25.4 C"},
                                         {"Lock", "UnLock"},
                                         {"Port", port},
                                         {"Line", "OffLine"}}) {
        QAccessibleInterface* field = named(window, caption + ": " + value);
        ASSERT_TRUE(field && field->textInterface()) << caption.toStdString();
        EXPECT_EQ(field->textInterface()->text(0, int(value.size())), value);
    }
    for (const auto& [field, caption] : {std::pair<QString, QString>{"Sample rate", "Time:"},
                                         {"High alarm limit", "AlarmHI:"},
                                         {"Low alarm limit", "Lo:"}}) {
        const auto labels = named(window, field)->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1) << field.toStdString();
        EXPECT_EQ(labels[0].first->text(QAccessible::Name), caption);
    }
    EXPECT_EQ(named(window, "Sample rate")->text(QAccessible::Value), "auto");
    EXPECT_EQ(named(window, "Ready")->text(QAccessible::Description), "Status");
    QAccessibleInterface* table =
        find(window, [](QAccessibleInterface* i) { return i->role() == QAccessible::Table; });
    ASSERT_NE(table, nullptr);
    ASSERT_NE(table->tableInterface(), nullptr);
    QAccessibleInterface* cell = table->tableInterface()->cellAt(1, 1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), "25.4");
}

// At start no control has the keyboard: keys typed before one is chosen
// change neither a limit nor the sample rate, Tab leads to the first control
// and a click gives an alarm field the caret. An alarm is an alert named with
// its message, announced as it is shown; Tab goes round every control once,
// out of the data list and back, and Shift+Tab goes the other way.
TEST(Accessibility, AnAlarmIsAnnouncedAndTabGoesRoundEveryControl) {
    ScreenReader reader;
    WindowRig rig({.show = true});
    rig.frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.frame.get()));
    ASSERT_EQ(QApplication::focusWidget(), rig.frame.get());
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Backspace, Qt::AltModifier}, {Qt::Key_Down, Qt::NoModifier}})
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    EXPECT_EQ(rig.rec().alarmLimits().high, 150);
    EXPECT_EQ(rig.frame->view().displayPanel()->sampleRateBox()->currentIndex(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->accessibleName(), "Sample rate");
    QTest::mouseClick(rig.frame->view().alarmBar()->lowEdit(), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget()->accessibleName(), "Low alarm limit");
    // Above the high limit, a new row; then below the low one, a new text in
    // the same row: each is shown and alerted once.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(rig.frame.get());
    for (const int tenths : {2000, -600}) {
        rig.feed(celsiusFrame(std::abs(tenths), tenths < 0 ? 0x05 : 0x04));
        const QString message = rig.frame->messageLine().text(MessageTopic::Alarm);
        QAccessibleInterface* alert = named(window, message);
        ASSERT_NE(alert, nullptr) << tenths;
        EXPECT_EQ(alert->role(), QAccessible::AlertMessage);
        for (const QAccessible::Event type : {QAccessible::ObjectShow, QAccessible::Alert})
            EXPECT_EQ(std::count_if(reader.heard.begin(), reader.heard.end(),
                                    [&](const auto& h) {
                                        return h.type == type &&
                                               h.role == QAccessible::AlertMessage &&
                                               h.name == message;
                                    }),
                      1)
                << tenths << " " << type;
    }

    const QStringList round = {"Sample rate",      "Value window of the graph",
                               "High alarm limit", "Low alarm limit",
                               "Recorded samples", "Close this message"};
    const auto walkKeys = [&](Qt::KeyboardModifiers modifiers) {
        rig.frame->view().displayPanel()->sampleRateBox()->setFocus();
        QStringList met;
        for (int i = 0; i <= round.size(); ++i) {
            met << QApplication::focusWidget()->accessibleName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
        }
        return met;
    };
    EXPECT_EQ(walkKeys(Qt::NoModifier).join(", "), (round + QStringList{"Sample rate"}).join(", "));
    QStringList back = round;
    std::reverse(back.begin() + 1, back.end());
    EXPECT_EQ(walkKeys(Qt::ShiftModifier).join(", "),
              (back + QStringList{"Sample rate"}).join(", "));
    // A menu opened from the keyboard closes with Escape, and a second Escape
    // leaves the menu bar for the control that had the focus.
    rig.frame->view().displayPanel()->sampleRateBox()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget()->accessibleName().toStdString(), "Sample rate");
}

// Seventeen readings a second become one notice a second: a text change of the
// reading with its new value, the last one told once the readings stop.
TEST(Accessibility, TheReadingIsToldAtMostOnceASecond) {
    ScreenReader reader;
    WindowRig rig;
    int tenths = 200;
    for (int i = 0; i < 25; ++i) {
        rig.record({++tenths});
        QTest::qWait(60);
    }
    std::vector<ScreenReader::Heard> told;
    const QString last = QStringLiteral("%1.%2 C").arg(tenths / 10).arg(tenths % 10);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            told.clear();
            for (const ScreenReader::Heard& h : reader.heard)
                if (h.type == QAccessible::TextUpdated && h.name.startsWith("Reading"))
                    told.push_back(h);
            return !told.empty() && told.back().inserted == last;
        },
        3000));
    ASSERT_GE(told.size(), 2u);
    for (std::size_t i = 1; i < told.size(); ++i)
        EXPECT_GE(told[i].ms - told[i - 1].ms, 990) << told[i].inserted.toStdString();
    EXPECT_TRUE(
        std::none_of(reader.heard.begin(), reader.heard.end(),
                     [](const ScreenReader::Heard& h) { return h.name.startsWith("Clock"); }));
}

} // namespace
