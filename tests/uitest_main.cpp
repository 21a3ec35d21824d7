#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

#include <gtest/gtest.h>

// Widget and integration tests need a QApplication; they run on the offscreen
// platform unless the environment says otherwise.
namespace {

// The offscreen platform warns about window features it lacks; nothing to see.
void filterMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("propagateSizeHints")))
        return;
    qt_message_output(type, context, text);
}

} // namespace

int main(int argc, char** argv) {
    // No test may reach the user's own configuration: the default folder is an
    // empty one of this run's own, and nothing may appear in it.
    QTemporaryDir config;
    if (!config.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    qInstallMessageHandler(filterMessages);
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (QFileInfo::exists(config.path() + "/Orvane")) {
        std::fprintf(stderr, "A test wrote to the default configuration folder.\n");
        return 1;
    }
    return result;
}
