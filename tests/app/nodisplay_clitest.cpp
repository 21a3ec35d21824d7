#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The window program started where there is no display: it says so and
// points to the recorder, instead of aborting; what only prints still works.
TEST(NoDisplay, TheWindowProgramSaysSoAndExitsOne) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcessEnvironment env; // nothing of the test's own: no display, no platform
    env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    env.insert(QStringLiteral("HOME"), home.path());
    struct Case {
        QStringList args;
        int status;
        const char* says;
    };
    for (const Case& c : {Case{{QStringLiteral("x.DovDat")}, 1, "no display"},
                          Case{{QStringLiteral("--version")}, 0, ""}}) {
        QProcess orvane;
        orvane.setProcessEnvironment(env);
        orvane.start(QStringLiteral(ORVANE_APP_PATH), c.args);
        ASSERT_TRUE(orvane.waitForFinished(10000)) << c.args.join(' ').toStdString();
        EXPECT_EQ(orvane.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(orvane.exitCode(), c.status) << c.args.join(' ').toStdString();
        const QByteArray said = orvane.readAllStandardError();
        EXPECT_TRUE(said.contains(c.says) && (c.status == 0 || said.contains("orvane-cli")))
            << said.toStdString();
    }
}

} // namespace
