#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Writes an executable shell script.
void script(const QString& path, const QByteArray& body) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + body);
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// scripts/run --cli in a tree of its own, with a build and a package check
// that talk on the standard output as ninja and apt do: only the program's
// own output reaches the standard output, ready for a pipe or a file.
TEST(RunScript, OnlyTheProgramWritesTheStandardOutput) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("scripts") && QDir(root.path()).mkpath("build/cli") &&
                QDir(root.path()).mkpath("bin"));
    for (const char* name : {"scripts/run", "scripts/deps.sh"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(ORVANE_SOURCE_DIR "/") + name, root.filePath(name)));
    QFile(root.filePath("build/build.ninja")).open(QIODevice::WriteOnly);
    script(root.filePath("build/cli/orvane-cli"), "echo \"program $*\"\n");
    script(root.filePath("bin/cmake"), "echo 'ninja: no work to do.'\n");
    script(root.filePath("bin/dpkg-query"), "echo 'not installed'\n");
    script(root.filePath("bin/sudo"), "\"$@\"\n");
    script(root.filePath("bin/apt-get"), "echo 'Reading package lists...'\n");

    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PATH", root.filePath("bin") + ":" + env.value("PATH"));
    run.setProcessEnvironment(env);
    run.start("bash", {root.filePath("scripts/run"), "--cli", "convert", "x.DovDat", "--csv"});
    ASSERT_TRUE(run.waitForFinished(10000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    EXPECT_EQ(run.readAllStandardOutput(), "program convert x.DovDat --csv\n");
    EXPECT_TRUE(run.readAllStandardError().contains("ninja: no work to do."));
}

} // namespace
