#pragma once
// The demo site's request log kept in memory, for the programs that serve the site on a thread of their
// own and read the log while the site's threads write it.

#include <mutex>
#include <sstream>
#include <string>

// A string buffer several threads write lines into.
class SiteLog : public std::stringbuf {
public:
    // How often `line` occurs in the log so far.
    int Count(const std::string& line) {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        const std::string text = str();
        int count = 0;
        for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) {
            ++count;
        }
        return count;
    }
    std::string Text() {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        return str();
    }

protected:
    int sync() override {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        return std::stringbuf::sync();
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        return std::stringbuf::xsputn(s, n);
    }
    int overflow(int c) override {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        return std::stringbuf::overflow(c);
    }

private:
    std::recursive_mutex m_lock;  // the library's xsputn calls overflow
};
