#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The window program started where there is no display, or one that does not
// answer: it says so and points to the recorder, instead of aborting; what
// only prints still works.
TEST(NoDisplay, TheWindowProgramSaysSoAndExitsOne) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcessEnvironment env; // nothing of the test's own: no display, no platform
    env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    env.insert(QStringLiteral("HOME"), home.path());
    struct Case {
        QStringList args;
        const char* display;
        int status;
        const char* says;
    };
    for (const Case& c : {Case{{QStringLiteral("x.DovDat")}, nullptr, 1, "no display"},
                          Case{{}, ":4711", 1, "could not be reached (DISPLAY=:4711"},
                          Case{{QStringLiteral("--version")}, nullptr, 0, ""}}) {
        QProcess orvane;
        QProcessEnvironment caseEnv = env;
        if (c.display)
            caseEnv.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(c.display));
        orvane.setProcessEnvironment(caseEnv);
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
