#pragma once
// Whole-file operations the client needs beyond reading resources. Paths are UTF-8. Every operation
// that writes a file writes a temporary sibling first and renames it into place, so a failure never
// leaves a half-written file behind.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace platform {

// The longest path the system opens, in bytes (PATH_MAX without its terminator).
constexpr std::size_t kMaxPathBytes = 4095;

// True when anything (file, folder, link) exists at the path.
bool PathExists(const std::string& path);
bool IsRegularFile(const std::string& path);
bool RemoveFile(const std::string& path);
// Renames within one file system, replacing an existing file at `to` in one step.
bool RenameFile(const std::string& from, const std::string& to);
// Copies the bytes and the permission bits; fails when `to` exists and `overwrite` is false.
bool CopyFile(const std::string& from, const std::string& to, bool overwrite);
bool WriteFileAtomically(const std::string& path, const std::string& bytes, unsigned mode);
// Streams bytes into `path`: `produce` hands them to the sink it is given, and the file takes its
// place only when `produce` returns true and every byte was written. False leaves `path` as it was.
using ByteSink = std::function<bool(const char* data, std::size_t size)>;
bool ReplaceFileWith(const std::string& path, unsigned mode,
                     const std::function<bool(const ByteSink&)>& produce);
// The size of a regular file; false for anything else or when it cannot be read.
bool GetFileSize(const std::string& path, std::uint64_t& size);
bool ReadFile(const std::string& path, std::string& bytes);
// Hands the file's bytes to `take` piece by piece, for files too large to hold at once; false when it
// cannot be read or `take` refuses a piece.
bool ReadFileInPieces(const std::string& path, const ByteSink& take);
// Lets the file be run by whoever may read it (a download written 0644 becomes 0755).
bool MakeExecutable(const std::string& path);

// The part after the last '/', and the part before it: "" for a file in the root, "." without a '/'.
std::string BaseName(const std::string& path);
std::string DirName(const std::string& path);

}  // namespace platform
