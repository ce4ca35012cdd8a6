// Several clients may run at once: their writes to one store must neither fail nor get lost.
#include <gtest/gtest.h>

#include "UserEnvironment.h"
#include "platform/base/text.h"
#include "platform/os/registry.h"
#include "support/Process.h"

namespace {

pid_t StartWriter(const std::string& configHome, const std::string& name, int count) {
    return StartProgram({REGISTRY_WRITER_PATH, configHome, name, std::to_string(count)});
}

}  // namespace

TEST(RegistryConcurrency, TwoProcessesWritingAtOnceLoseNothing) {
    UserEnvironment env;
    constexpr int kCount = 300;
    // Both start on a store that does not exist yet, so they also race to create it.
    pid_t first = StartWriter(env.ConfigHome(), "first", kCount);
    pid_t second = StartWriter(env.ConfigHome(), "second", kCount);
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    EXPECT_EQ(WaitForExit(first), 0) << "no write of the first process failed";
    EXPECT_EQ(WaitForExit(second), 0) << "no write of the second process failed";

    platform::RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, L"SOFTWARE\\Velmora\\Race", KEY_READ), ERROR_SUCCESS);
    for (const wchar_t* name : {L"first", L"second"}) {
        for (int i = 0; i < kCount; ++i) {
            std::wstring text;
            ASSERT_EQ(key.QueryString(name + (L"_" + std::to_wstring(i)), 1024, text), ERROR_SUCCESS)
                << platform::WideToUtf8(name) << " " << i;
            EXPECT_EQ(text, std::to_wstring(i));
        }
    }
    std::wstring shared;
    ASSERT_EQ(key.QueryString(L"Shared", 1024, shared), ERROR_SUCCESS);
    EXPECT_TRUE(shared == L"first" || shared == L"second") << "one whole value, never a mix";
    // Raising by nothing reads the number: the larger of the two writers' last values.
    platform::RegistryKey writable;
    ASSERT_EQ(writable.Open(HKEY_CURRENT_USER, L"SOFTWARE\\Velmora\\Race", KEY_READ | KEY_WRITE),
              ERROR_SUCCESS);
    std::uint64_t newest = 0;
    ASSERT_EQ(writable.RaiseQword(L"Newest", 0, newest), ERROR_SUCCESS);
    EXPECT_EQ(newest, 2u * kCount - 1) << "no raise was lost, and the number never went down";
}
