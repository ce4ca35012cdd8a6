#pragma once
// The demo operator site serving on a thread of the test, with its request log readable while the
// site's threads write it.

#include <memory>
#include <string>
#include <thread>

#include "DemoSite.h"
#include "SiteLog.h"

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
