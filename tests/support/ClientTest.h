#pragma once
// The fixture of tests of the client on the headless backend: as HeadlessTest, and once the test's own
// members are gone, the client's configuration, skin and set-up step go too.

#include "config/ClientConfig.h"
#include "skin/SkinDocument.h"
#include "support/HeadlessTest.h"

class ClientTest : public HeadlessTest {
protected:
    ~ClientTest() override {
        SkinDocument::DestroyInstance();
        ClientConfig::DestroyInstance();
        ClientConfig::InstallSetupStep(nullptr);
    }
};
