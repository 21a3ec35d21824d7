#include <QApplication>

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
    qInstallMessageHandler(filterMessages);
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
