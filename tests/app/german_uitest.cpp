#include "engine/translations.h"
#include "support/windowrig.h"

#include <QCoreApplication>
#include <QMenuBar>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

// The window as a German desktop shows it: the translation the locale chooses.
TEST(GermanWindow, TheMenusAndTheSaveQuestionSpeakGerman) {
    ASSERT_TRUE(installTranslations(*QCoreApplication::instance(), QLocale(QLocale::German)));
    {
        WindowRig rig;
        const QList<QAction*> popups = rig.frame->menuBar()->actions();
        ASSERT_EQ(popups.size(), 3);
        EXPECT_EQ(popups[0]->text(), "&Datei(D)");
        rig.record({123});
        rig.frame->OnClearAll();
        EXPECT_EQ(rig.messages, QStringList{"Möchten Sie speichern?"});
    }
    for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

} // namespace
