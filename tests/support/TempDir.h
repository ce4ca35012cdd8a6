#pragma once
// A fresh folder under $TMPDIR for one test, removed with everything in it afterwards.

#include <string>
#include <vector>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Test helpers for whole files.
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
// The names in a folder (not "." and ".."), in no particular order; empty when it cannot be read.
std::vector<std::string> FilesIn(const std::string& folder);
