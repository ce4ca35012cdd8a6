#pragma once
// Resources compiled into the executable: each one is found by its type ("XML", "PNG", "ICON", "MENU",
// "STRING") and numeric id. The build's resource compiler generates the table and registers it before
// main() runs; nothing is read from disk.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

struct ResourceEntry {
    const char* type;
    int id;
    const unsigned char* data;
    std::size_t size;
};

struct ResourceBytes {
    const unsigned char* data = nullptr;
    std::size_t size = 0;

    bool empty() const { return data == nullptr; }
    std::string_view view() const { return {reinterpret_cast<const char*>(data), size}; }
};

// Called by the generated table's static registrar; tables registered later are searched first.
void RegisterResources(const ResourceEntry* entries, std::size_t count);

// Type names compare without regard to case, as resource types do on Windows. Absent: empty().
ResourceBytes FindResource(std::string_view type, int id);

// A "STRING" resource (legacy ANSI text) as wide text; empty when absent.
std::wstring LoadResourceString(int id);

// Registers a table from a static initialiser of the generated file.
struct ResourceRegistrar {
    ResourceRegistrar(const ResourceEntry* entries, std::size_t count) { RegisterResources(entries, count); }
};

}  // namespace platform
