// Test helper: one of several processes writing to the same registry store at once.
//   registry_writer CONFIG_HOME NAME COUNT
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/base/text.h"
#include "platform/os/registry.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        return 2;
    }
    setenv("XDG_CONFIG_HOME", argv[1], 1);
    std::wstring name = platform::Utf8ToWide(argv[2]);
    int count = std::atoi(argv[3]);
    // The two writers raise one number, one with even values and one with odd ones.
    const std::uint64_t parity = name == L"first" ? 0 : 1;
    std::uint64_t seen = 0;
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        // Each write opens its own key, as a client saving its settings does.
        platform::RegistryKey key;
        LONG rc = key.Create(HKEY_CURRENT_USER, L"SOFTWARE\\Velmora\\Race", KEY_READ | KEY_WRITE);
        if (rc == ERROR_SUCCESS) {
            rc = key.SetString(name + L"_" + std::to_wstring(i), std::to_wstring(i));
        }
        if (rc == ERROR_SUCCESS) {
            rc = key.SetString(L"Shared", name);
        }
        std::uint64_t newest = 0;
        const std::uint64_t value = 2 * static_cast<std::uint64_t>(i) + parity;
        if (rc == ERROR_SUCCESS) {
            rc = key.RaiseQword(L"Newest", value, newest);
        }
        if (rc == ERROR_SUCCESS && (newest < value || newest < seen)) {
            std::fprintf(stderr, "raise %d went down\n", i);
            rc = ERROR_INVALID_DATA;
        }
        seen = newest;
        if (rc != ERROR_SUCCESS) {
            std::fprintf(stderr, "write %d failed: %d\n", i, static_cast<int>(rc));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
