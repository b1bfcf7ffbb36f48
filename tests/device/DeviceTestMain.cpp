#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // The device layer's queued calls, timers and socket notifiers need an event loop.
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
