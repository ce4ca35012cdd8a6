#pragma once
// The fixture of tests on the headless backend: the process-wide state of the window layer (windows,
// message queue, headless desktop) starts fresh for each test, and the queue is left empty after it.

#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/window_system.h"

class HeadlessTest : public ::testing::Test {
protected:
    HeadlessTest() {
        platform::WindowSystem::Reset();
        platform::MessageQueue::Instance().Reset();
        platform::headless::Backend().Reset();
    }
    ~HeadlessTest() override { platform::MessageQueue::Instance().Reset(); }
};
