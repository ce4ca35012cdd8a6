// Maps the file operations onto POSIX calls.
#include "platform/base/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace platform {
namespace {

class Fd final {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return m_fd; }
    bool Close() {
        int fd = m_fd;
        m_fd = -1;
        return fd < 0 || close(fd) == 0;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t written = write(fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Hands the whole content of `fd` to `take` piece by piece; false on a read error or when `take` refuses.
template <typename Take>
bool ReadAll(int fd, Take take) {
    char buffer[65536];
    for (;;) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got == 0;
        }
        if (!take(buffer, static_cast<size_t>(got))) {
            return false;
        }
    }
}

// A temporary sibling of `path`, so that the final rename stays on one file system. The name is cut so
// that a file name near the system's limit still leaves room for the suffix.
std::string CreateSibling(const std::string& path, int& fd) {
    constexpr std::size_t kNameRoom = 200;
    std::string pattern = DirName(path) + "/." + BaseName(path).substr(0, kNameRoom) + ".XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    fd = mkostemp(buffer.data(), O_CLOEXEC);
    return fd >= 0 ? std::string(buffer.data()) : std::string();
}

// Writes what `fill` produces into a temporary sibling and renames it to `path`.
template <typename Fill>
bool ReplaceWith(const std::string& path, unsigned mode, bool overwrite, Fill fill) {
    int raw = -1;
    std::string temporary = CreateSibling(path, raw);
    if (temporary.empty()) {
        return false;
    }
    Fd fd(raw);
    bool ok = fill(fd.Get()) && fchmod(fd.Get(), mode) == 0 && fsync(fd.Get()) == 0;
    ok = fd.Close() && ok;
    if (ok) {
        // link() refuses an existing target, which gives "do not overwrite" without a race.
        ok = overwrite ? rename(temporary.c_str(), path.c_str()) == 0
                       : link(temporary.c_str(), path.c_str()) == 0;
    }
    if (!ok || !overwrite) {
        unlink(temporary.c_str());
    }
    return ok;
}

}  // namespace

bool PathExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && lstat(path.c_str(), &info) == 0;
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool RemoveFile(const std::string& path) {
    return !path.empty() && unlink(path.c_str()) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
    return !from.empty() && !to.empty() && rename(from.c_str(), to.c_str()) == 0;
}

bool CopyFile(const std::string& from, const std::string& to, bool overwrite) {
    Fd source(open(from.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (source.Get() < 0 || fstat(source.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    return ReplaceWith(to, info.st_mode & 07777, overwrite, [&](int target) {
        return ReadAll(source.Get(),
                       [&](const char* data, size_t size) { return WriteAll(target, data, size); });
    });
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, unsigned mode) {
    return ReplaceWith(path, mode, true, [&](int fd) { return WriteAll(fd, bytes.data(), bytes.size()); });
}

bool ReplaceFileWith(const std::string& path, unsigned mode,
                     const std::function<bool(const ByteSink&)>& produce) {
    return ReplaceWith(path, mode, true, [&](int fd) {
        bool written = true;
        bool produced = produce([&](const char* data, std::size_t size) {
            written = WriteAll(fd, data, size);
            return written;
        });
        return produced && written;
    });
}

bool GetFileSize(const std::string& path, std::uint64_t& size) {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

bool ReadFile(const std::string& path, std::string& bytes) {
    Fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        return false;
    }
    bytes.clear();
    return ReadAll(fd.Get(), [&](const char* data, size_t size) {
        bytes.append(data, size);
        return true;
    });
}

bool ReadFileInPieces(const std::string& path, const ByteSink& take) {
    Fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    return fd.Get() >= 0 && ReadAll(fd.Get(), take);
}

bool MakeExecutable(const std::string& path) {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    const mode_t readable = info.st_mode & (S_IRUSR | S_IRGRP | S_IROTH);
    // Each read bit gives the execute bit of the same class: r-- becomes r-x.
    return chmod(path.c_str(), (info.st_mode & 07777) | (readable >> 2)) == 0;
}

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DirName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace platform
