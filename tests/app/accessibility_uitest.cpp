#include "support/windowrig.h"

#include <QAccessible>
#include <QAccessibleInterface>

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

// What a screen reader finds in the window: every control named, the
// painted reading among the panel's figures, the list's rows as cells.
TEST(Accessibility, AReaderFindsEveryControlByNameAndTheCurrentReading) {
    WindowRig rig({.show = true});
    rig.record({253, 254});
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(rig.frame.get());
    ASSERT_NE(window, nullptr);

    QStringList unnamed;
    QString reading;
    QString panelSays;
    QAccessibleInterface* table = nullptr;
    walk(window, [&](QAccessibleInterface* item) {
        const QAccessible::Role role = item->role();
        const QString name = item->text(QAccessible::Name);
        const bool control = role == QAccessible::Button || role == QAccessible::PushButton ||
                             role == QAccessible::ComboBox || role == QAccessible::EditableText ||
                             role == QAccessible::ScrollBar || role == QAccessible::Table ||
                             role == QAccessible::MenuItem || role == QAccessible::Pane ||
                             role == QAccessible::Client;
        // The toolbar's separator lines and its overflow arrow are no controls.
        if (control && name.isEmpty() && !item->state().invisible && item->object() &&
            item->object()->objectName() != QLatin1String("qt_toolbar_ext_button") &&
            !item->object()->inherits("QToolBarSeparator"))
            unnamed << QString::fromLatin1(item->object()->metaObject()->className());
        if (role == QAccessible::StaticText && name == QLatin1String("Reading"))
            reading = item->text(QAccessible::Value);
        if (name == QLatin1String("Instrument display"))
            panelSays = item->text(QAccessible::Description);
        if (role == QAccessible::Table)
            table = item;
    });
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();
    EXPECT_EQ(reading, "25.4");
    EXPECT_TRUE(panelSays.startsWith("Reading 25.4, Unit C, Mode EMS, Emissivity "))
        << panelSays.toStdString();
    ASSERT_NE(table, nullptr);
    ASSERT_NE(table->tableInterface(), nullptr);
    QAccessibleInterface* cell = table->tableInterface()->cellAt(1, 1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), "25.4");
}

} // namespace
