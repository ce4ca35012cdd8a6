// Stands in for a program another one starts: writes the arguments it got, one per line, and the
// number of open descriptors beyond the standard three, into the file $ARGV_RECORD.
#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int InheritedDescriptors() {
    DIR* folder = opendir("/proc/self/fd");
    if (folder == nullptr) {
        return -1;
    }
    int count = 0;
    while (dirent* entry = readdir(folder)) {
        int fd = std::atoi(entry->d_name);
        if (fd > 2 && fd != dirfd(folder)) {
            ++count;
        }
    }
    closedir(folder);
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    const char* record = std::getenv("ARGV_RECORD");
    if (record == nullptr) {
        return 2;
    }
    std::string text = "descriptors=" + std::to_string(InheritedDescriptors()) + "\n";
    for (int i = 1; i < argc; ++i) {
        text += std::string(argv[i]) + "\n";
    }
    // Written beside and renamed, so a reader never sees half of it.
    std::string partial = std::string(record) + ".partial";
    FILE* out = std::fopen(partial.c_str(), "wb");
    if (out == nullptr) {
        return 3;
    }
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
    return std::rename(partial.c_str(), record) == 0 ? 0 : 4;
}
