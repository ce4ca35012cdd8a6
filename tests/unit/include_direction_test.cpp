// The platform layer's groups depend on each other one way (base <- os, net, gfx <- ui, web <- backends), and
// client code reaches the operating system only through the layer. Reads every include of src/.
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

const fs::path kSource = VELMORA_SOURCE_DIR;

// What each group of the layer may include besides the standard library. Client folders (anything under
// src/ that is not platform/) may include every group that is no backend, and each other.
const std::map<std::string, std::set<std::string>> kGroupMayInclude = {
    {"base", {"base"}},
    {"os", {"base", "os", "net"}},
    {"net", {"base", "net", "os"}},
    {"gfx", {"base", "gfx"}},
    {"ui", {"base", "gfx", "ui"}},
    {"web", {"base", "gfx", "ui", "web"}},
    {"gtk", {"base", "os", "net", "gfx", "ui", "web", "gtk"}},
    {"headless", {"base", "os", "net", "gfx", "ui", "web", "headless"}},
};
const std::set<std::string> kBackends = {"gtk", "headless"};
// The layer's own state, which the desktop backend reaches only through native.h and the web interface.
const std::set<std::string> kLayerInternals = {"platform/ui/window_system.h", "platform/ui/wnd.h",
                                               "platform/ui/wnd_internals.h", "platform/ui/pointer.h",
                                               "platform/ui/mouse_tracker.h"};
// Client folders kept below others: the browser view knows the frame and the windows only through its
// frame link; the configuration runs the application's set-up only as the step the application installs;
// the utilities serve everyone and know no one.
const std::map<std::string, std::set<std::string>> kClientMayNotInclude = {
    {"browser", {"windows", "app"}},
    {"config", {"app"}},
    {"util", {"config", "app"}},
};

// Headers of the toolkit and the browser engine: for backends only.
const std::vector<std::string> kDesktopHeaders = {"gtk/", "gdk/", "gdk-pixbuf/", "webkit2/", "X11/", "jsc/"};
// The one outside library client code uses directly: the XML parser its documents are read with.
const std::set<std::string> kClientLibraries = {"tinyxml.h"};

struct Include {
    std::string target;
    bool quoted;
};

// "platform/ui" for a file of the layer's ui group, "app" for a client file, "" for src/main.cpp.
std::string ComponentOf(const fs::path& relative) {
    auto part = relative.begin();
    if (std::next(part) == relative.end()) {
        return "";
    }
    const std::string first = part->string();
    if (first != "platform") {
        return first;
    }
    ++part;
    return std::next(part) == relative.end() ? first : first + "/" + part->string();
}

bool IsPlatform(const std::string& component) {
    return component.rfind("platform/", 0) == 0;
}

std::string GroupOf(const std::string& component) {
    return component.substr(std::string("platform/").size());
}

// Why `component` must not include `include`, or "" when it may.
std::string Violation(const std::string& component, const Include& include) {
    if (!include.quoted) {
        for (const std::string& prefix : kDesktopHeaders) {
            if (include.target.rfind(prefix, 0) == 0 &&
                !(IsPlatform(component) && kBackends.count(GroupOf(component)))) {
                return "only a backend includes the toolkit or the engine";
            }
        }
        const bool standard =
            include.target.find('/') == std::string::npos && include.target.find('.') == std::string::npos;
        if (!IsPlatform(component) && !standard && kClientLibraries.count(include.target) == 0) {
            return "client code reaches the system through the platform layer";
        }
        return "";
    }
    const std::string target = ComponentOf(include.target);
    if (target.empty() || target == "platform") {
        return "an include names its folder";
    }
    if (!IsPlatform(component)) {
        if (IsPlatform(target) && kBackends.count(GroupOf(target))) {
            return "client code never includes a backend";
        }
        auto below = kClientMayNotInclude.find(component);
        return below != kClientMayNotInclude.end() && below->second.count(target)
                   ? component + " stays below " + target
                   : "";
    }
    if (!IsPlatform(target)) {
        return "the layer does not include client code";
    }
    if (GroupOf(component) == "gtk" && kLayerInternals.count(include.target)) {
        return "the desktop backend knows the layer through native.h";
    }
    auto allowed = kGroupMayInclude.find(GroupOf(component));
    if (allowed == kGroupMayInclude.end()) {
        return "unknown group " + component;
    }
    return allowed->second.count(GroupOf(target)) ? "" : "includes point down the layer";
}

std::vector<Include> IncludesOf(const fs::path& file) {
    static const std::regex directive(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<Include> includes;
    std::ifstream in(file);
    std::string line;
    std::smatch match;
    while (std::getline(in, line)) {
        if (std::regex_search(line, match, directive)) {
            includes.push_back(Include{match[2], match[1] == "\""});
        }
    }
    return includes;
}

bool IsSource(const fs::path& file) {
    return file.extension() == ".h" || file.extension() == ".cpp";
}

}  // namespace

TEST(IncludeDirection, TheRuleTellsRightFromWrong) {
    struct Case {
        const char* component;
        Include include;
        bool allowed;
    };
    const Case cases[] = {
        {"platform/ui", {"platform/gfx/canvas.h", true}, true},
        {"platform/ui", {"platform/os/process.h", true}, false},
        {"platform/gtk", {"platform/ui/native.h", true}, true},
        {"platform/gtk", {"platform/ui/wnd.h", true}, false},
        {"platform/base", {"platform/ui/wnd.h", true}, false},
        {"platform/gfx", {"platform/net/http.h", true}, false},
        {"platform/os", {"platform/net/url_cache.h", true}, true},
        {"platform/gtk", {"platform/ui/native.h", true}, true},
        {"platform/gtk", {"platform/headless/headless.h", true}, false},
        {"platform/ui", {"app/EnvironmentSetup.h", true}, false},
        {"platform/ui", {"wnd.h", true}, false},
        {"platform/unknown", {"platform/base/text.h", true}, false},
        {"app", {"platform/ui/wnd.h", true}, true},
        {"app", {"platform/gtk/gtk_backend.h", true}, false},
        {"", {"config/ClientConfig.h", true}, true},
        {"util", {"tinyxml.h", false}, true},
        {"util", {"string_view", false}, true},
        {"util", {"strings.h", false}, false},
        {"download", {"curl/curl.h", false}, false},
        {"platform/net", {"curl/curl.h", false}, true},
        {"platform/ui", {"gtk/gtk.h", false}, false},
        {"platform/gtk", {"gtk/gtk.h", false}, true},
        {"platform/web", {"platform/os/process.h", true}, false},
        {"platform/web", {"webkit2/webkit2.h", false}, false},
        {"platform/gtk", {"platform/web/browser.h", true}, true},
        {"browser", {"config/ClientConfig.h", true}, true},
        {"browser", {"windows/SkinWnd.h", true}, false},
        {"browser", {"app/MainFrame.h", true}, false},
        {"windows", {"browser/IEView.h", true}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Violation(c.component, c.include).empty(), c.allowed)
            << c.component << " including " << c.include.target;
    }
}

TEST(IncludeDirection, TheLayerIsGroupedWithNothingLeftLoose) {
    std::set<std::string> groups;
    for (const fs::directory_entry& entry : fs::directory_iterator(kSource / "platform")) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(entry.is_directory()) << name << " lies loose in platform/";
        EXPECT_TRUE(kGroupMayInclude.count(name)) << "platform/" << name << " is not a group the rule knows";
        groups.insert(name);
    }
    for (const auto& [group, allowed] : kGroupMayInclude) {
        EXPECT_TRUE(groups.count(group)) << "platform/" << group << " is missing";
    }
}

TEST(IncludeDirection, EveryIncludeOfTheSourceTreeFollowsTheRule) {
    std::map<std::string, int> filesPerComponent;
    std::vector<std::string> violations;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(kSource)) {
        if (!entry.is_regular_file() || !IsSource(entry.path())) {
            continue;
        }
        const fs::path relative = fs::relative(entry.path(), kSource);
        const std::string component = ComponentOf(relative);
        ++filesPerComponent[component];
        for (const Include& include : IncludesOf(entry.path())) {
            const std::string why = Violation(component, include);
            if (!why.empty()) {
                violations.push_back(relative.string() + ": " + include.target + ": " + why);
            }
        }
    }
    for (const char* component : {"platform/base", "platform/ui", "platform/gtk", "app", "util", ""}) {
        EXPECT_GT(filesPerComponent[component], 0) << "no sources found for '" << component << "'";
    }
    for (const std::string& violation : violations) {
        ADD_FAILURE() << violation;
    }
}
