#include <QCoreApplication>

#include <gtest/gtest.h>

// The engine's timers need an event loop, nothing more.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
