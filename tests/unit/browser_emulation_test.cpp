#include <gtest/gtest.h>

#include "app/EnvironmentSetup.h"
#include "platform/os/engine.h"

TEST(BrowserEmulation, MajorVersionsMapToDocumentModes) {
    EXPECT_EQ(BrowserEmulationValueFor(8), 8888u);
    EXPECT_EQ(BrowserEmulationValueFor(10), 10001u);
    EXPECT_EQ(BrowserEmulationValueFor(11), 11000u);
    for (int other : {0, 2, 7, 9, 12}) {
        EXPECT_EQ(BrowserEmulationValueFor(other), 9999u) << other;
    }
}

TEST(BrowserEmulation, TheBuiltEngineIsKnown) {
    EXPECT_EQ(platform::BrowserEngineMajorVersion(), 2) << "WebKitGTK 2.x";
    EXPECT_EQ(BrowserEmulationValue(), 9999u);
}
