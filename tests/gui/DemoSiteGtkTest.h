#pragma once
// A desktop test of the client's views and windows on the real engine, with the build's configuration,
// the demo operator site on a port of its own, a fake frame and user folders of its own. Header only:
// the tests that use it link the client, the demo site and the user environment.

#include <webkit2/webkit2.h>

#include <optional>
#include <string>

#include "GtkFixture.h"
#include "UserEnvironment.h"
#include "browser/IEView.h"
#include "config/ClientConfig.h"
#include "platform/base/text.h"
#include "platform/gtk/gtk_browser.h"
#include "skin/SkinDocument.h"
#include "support/DemoSiteRunner.h"
#include "support/FakeFrameLink.h"

class DemoSiteGtkTest : public GtkTest {
protected:
    void SetUp() override {
        UseOwnUserFolders();
        GtkTest::SetUp();
        ClientConfig::Instance();  // the build's configuration: gameCheck "wd_entergame=1"
        SetFrameLink(&frame);
        DemoSiteOptions options;
        options.siteDir = DEMO_SITE_DIR;
        site.emplace(options);
        port = site->Port();
        ASSERT_GT(port, 0);
    }
    void TearDown() override {
        SetFrameLink(nullptr);
        site.reset();
        SkinDocument::DestroyInstance();
        ClientConfig::DestroyInstance();
        GtkTest::TearDown();
    }
    // The demo site's address for `path`.
    std::wstring Demo(const std::string& path) const {
        return platform::Utf8ToWide("http://127.0.0.1:" + std::to_string(port) + path);
    }
    static WebKitWebView* Engine(CIEView& view) {
        return static_cast<platform::gtk::GtkBrowser*>(view.GetBrowser())->View();
    }

    UserEnvironment user;
    FakeFrameLink frame;
    std::optional<DemoSiteRunner> site;
    int port = 0;
};
