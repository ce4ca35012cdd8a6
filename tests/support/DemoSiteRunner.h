#pragma once
// The demo operator site serving on a thread of the test, with its request log readable while the
// site's threads write it.

#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include "DemoSite.h"

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

class DemoSiteRunner {
public:
    // Serves `options` on 127.0.0.1:`port` (0: any free one); Port() is -1 when it could not bind.
    explicit DemoSiteRunner(DemoSiteOptions options, int port = 0)
        : m_site(std::make_unique<DemoSite>(std::move(options), m_stream)) {
        m_port = m_site->Bind(port);
        if (m_port > 0) {
            m_serving = std::thread([this] { m_site->Run(); });
        }
    }
    ~DemoSiteRunner() {
        if (m_serving.joinable()) {
            m_site->Stop();
            m_serving.join();
        }
    }
    DemoSiteRunner(const DemoSiteRunner&) = delete;
    DemoSiteRunner& operator=(const DemoSiteRunner&) = delete;

    int Port() const { return m_port; }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }
    SiteLog& Log() { return m_log; }
    DemoSite& Site() { return *m_site; }

private:
    SiteLog m_log;
    std::ostream m_stream{&m_log};
    std::unique_ptr<DemoSite> m_site;
    int m_port = -1;
    std::thread m_serving;
};
