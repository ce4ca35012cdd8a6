// The whole client as its own process on a test display with a compositor and a tray, against the demo
// operator site: the usual road from the launcher into the game and out of the process, and a tagged
// copy that goes straight into its player's game. Each run is a copy of the program in a throw-away
// user's folder, so its renaming and shortcuts touch nothing real. Pictures go to the build folder
// (client-launcher.png, client-game.png).
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <optional>

#include "DesktopProgram.h"
#include "DesktopState.h"
#include "ProgramControl.h"
#include "Screenshot.h"
#include "TestDisplay.h"
#include "UserEnvironment.h"
#include "WaitUntil.h"
#include "XErrorTrap.h"
#include "Xdotool.h"
#include "support/DemoSiteRunner.h"
#include "support/Process.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

using namespace std::chrono_literals;

// The operator site the test build's configuration names.
constexpr int kSitePort = CLIENT_TEST_PORT;
const char kLauncherTitle[] = "\xE6\x98\x9F\xE6\xB5\xB7\xE7\xBA\xAA\xE5\x85\x83";  // the skin's title
const char kGameTitlePrefix[] = "\xE6\x98\x9F\xE6\xB5\xB7\xE7\xBA\xAA\xE5\x85\x83 Ver ";
// Where the portal's page sits in the launcher (its "ie" area), and its "enter game" button in the page
// (the right column's first block in the portal's fixed 698x362 layout).
constexpr int kIeLeft = 333;
constexpr int kIeTop = 210;
constexpr int kEnterX = 556;
constexpr int kEnterY = 77;
// The game window's close button: 24x20, 3 pixels from the right and 1 from the top.
constexpr int kCloseFromRight = 3 + 12;
constexpr int kCloseFromTop = 1 + 10;

std::string TextProperty(Display* display, Window window, const char* name) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False,
                           AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
        data != nullptr) {
        text.assign(reinterpret_cast<char*>(data), count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return text;
}

std::vector<Window> Children(Display* display, Window parent) {
    Window root = 0;
    Window up = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> found;
    if (XQueryTree(display, parent, &root, &up, &children, &count) != 0 && children != nullptr) {
        found.assign(children, children + count);
        XFree(children);
    }
    return found;
}

// The shown top-level window whose title starts with `prefix` (all of it when `exact`).
std::optional<WindowRect> ShownWindow(const std::string& prefix, bool exact) {
    Display* display = TestDisplay::Get().Connection();
    XErrorTrap trap(display);  // the client's windows come and go while they are looked at
    for (Window window : Children(display, DefaultRootWindow(display))) {
        const std::string title = TextProperty(display, window, "_NET_WM_NAME");
        const bool matches = exact ? title == prefix : title.rfind(prefix, 0) == 0;
        if (matches && IsShownByServer(window)) {
            return WindowGeometry(window);
        }
    }
    return std::nullopt;
}

// Tray icons shown in the tray: embedded windows (they carry the embedding protocol's property).
int ShownTrayIcons(Display* display, Window parent) {
    int count = 0;
    for (Window window : Children(display, parent)) {
        if (!TextProperty(display, window, "_XEMBED_INFO").empty() && IsShownByServer(window)) {
            ++count;
        }
        count += ShownTrayIcons(display, window);
    }
    return count;
}

int ShownTrayIcons() {
    Display* display = TestDisplay::Get().Connection();
    XErrorTrap trap(display);
    return ShownTrayIcons(display, DefaultRootWindow(display));
}

bool IsPortalColour(uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) < 90 && ((rgb >> 8) & 0xFF) < 90 && (rgb & 0xFF) < 140;
}

bool IsGold(uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) > 170 && ((rgb >> 8) & 0xFF) > 110 && (rgb & 0xFF) < 140;
}

// How many pixels of the area `matches` (every other one in each direction).
int PixelsWhere(const WindowRect& area, bool (*matches)(uint32_t)) {
    const Screenshot shot = TakeScreenshot();
    int count = 0;
    for (int y = area.y; y < area.y + area.height; y += 2) {
        for (int x = area.x; x < area.x + area.width; x += 2) {
            count += matches(shot.Pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

// The part of the screen a window covers, as a picture.
bool SaveWindowPicture(const WindowRect& rect, const std::string& path) {
    const Screenshot shot = TakeScreenshot();
    std::vector<uint32_t> pixels;
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        for (int x = rect.x; x < rect.x + rect.width; ++x) {
            pixels.push_back(shot.Pixel(x, y));
        }
    }
    return Screenshot(rect.width, rect.height, std::move(pixels)).SavePng(path);
}

void Click(int x, int y) {
    RunXdotool({"mousemove", std::to_string(x), std::to_string(y), "click", "1"});
}

// A copy of the program run as a player would start it, on the test display, with the site beside it.
class ClientRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestDisplay::Get();
        compositor.emplace(DesktopProgram::Compositor());
        tray.emplace(DesktopProgram::Tray());
        site.emplace(SiteOptions(), kSitePort);
        ASSERT_EQ(site->Port(), kSitePort) << "127.0.0.1:" << kSitePort << " is taken";
    }
    virtual DemoSiteOptions SiteOptions() {
        DemoSiteOptions options;
        options.siteDir = DEMO_SITE_DIR;
        return options;
    }
    void TearDown() override {
        if (pid > 0 && !HasExited(pid)) {
            StopProgram(pid, 3s);
        }
    }
    void Start(const std::string& fileName, std::vector<std::string> arguments = {},
               const char* build = TEST_CLIENT_PATH) {
        const std::string folder = user.ProgramFolder();
        std::filesystem::create_directories(folder);
        program = folder + "/" + fileName;
        std::filesystem::copy_file(build, program);
        arguments.insert(arguments.begin(), program);
        pid = StartProgram(arguments, user.Path("client.log"));
        ASSERT_GT(pid, 0);
    }
    // Waits until the client has ended; its exit status, or -1 when it did not end in time.
    int WaitForEnd(std::chrono::milliseconds timeout = 20s) {
        int status = 0;
        if (!WaitUntil([&] { return HasExited(pid, &status); }, timeout)) {
            return -1;
        }
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string ClientLog() { return TailOfFile(user.Path("client.log")); }
    bool Logged(const std::string& line) { return site->Log().Count(line) > 0; }

    UserEnvironment user;
    std::optional<DesktopProgram> compositor;
    std::optional<DesktopProgram> tray;
    std::optional<DemoSiteRunner> site;
    std::string program;
    pid_t pid = -1;
};

TEST_F(ClientRunTest, FromThePortalIntoTheGameAndOutOfTheProcess) {
    Start("velmora");
    std::optional<WindowRect> launcher;
    ASSERT_TRUE(WaitUntil(
        [&] {
            launcher = ShownWindow(kLauncherTitle, true);
            return launcher && Logged("GET /js/portal.js 200") && ShownTrayIcons() == 1;
        },
        30s))
        << "no launcher with the portal and a tray icon; " << ClientLog();
    EXPECT_FALSE(ShownWindow(kGameTitlePrefix, false)) << "the game window waits hidden";

    // The portal has drawn once its dark page and its golden "enter game" button are on screen.
    const int enterX = launcher->x + kIeLeft + kEnterX;
    const int enterY = launcher->y + kIeTop + kEnterY;
    ASSERT_TRUE(WaitUntil(
        [&] {
            const Screenshot shot = TakeScreenshot();
            return IsPortalColour(shot.Pixel(launcher->x + kIeLeft + 200, launcher->y + kIeTop + 340)) &&
                   IsGold(shot.Pixel(enterX - 100, enterY + 25));
        },
        20s))
        << "the portal did not show in the launcher";
    EXPECT_TRUE(SaveWindowPicture(*launcher, SCREENSHOT_DIR "/client-launcher.png"));

    Click(enterX, enterY);
    std::optional<WindowRect> game;
    ASSERT_TRUE(WaitUntil(
        [&] {
            game = ShownWindow(kGameTitlePrefix, false);
            return game && Logged("GET /js/game.js 200") && !ShownWindow(kLauncherTitle, true);
        },
        30s))
        << "the game did not replace the launcher; " << ClientLog();
    EXPECT_EQ(*game, (WindowRect{0, 0, TestDisplay::Get().Width(), TestDisplay::Get().Height()}))
        << "the game window fills the work area";
    EXPECT_EQ(site->Log().Count("GET /userinfo"), 0) << "an untagged program asks for no game URL";
    // The game page has painted once its start card's golden button shows below the toolbar (an empty
    // page is white, one still drawing is black).
    const WindowRect page{game->x, game->y + 40, game->width, game->height - 40};
    ASSERT_TRUE(WaitUntil([&] { return PixelsWhere(page, IsGold) > 1000; }, 20s))
        << "the game page did not show";
    EXPECT_TRUE(SaveWindowPicture(*game, SCREENSHOT_DIR "/client-game.png"));

    Click(game->x + game->width - kCloseFromRight, game->y + kCloseFromTop);
    EXPECT_EQ(WaitForEnd(), 0) << "leaving a game entered with a URL ends the client; " << ClientLog();
    EXPECT_EQ(ShownTrayIcons(), 0) << "the tray icon went with the client";
    EXPECT_TRUE(std::filesystem::exists(user.ProgramFolder() + "/" + kLauncherTitle))
        << "the start-up gave the program the product's name";
}

TEST_F(ClientRunTest, ATaggedCopyGoesStraightIntoItsPlayersGameAndEndsWhenAsked) {
    Start("client_4711.run");
    std::optional<WindowRect> game;
    ASSERT_TRUE(WaitUntil(
        [&] {
            game = ShownWindow(kGameTitlePrefix, false);
            return game && Logged("GET /js/game.js 200") && ShownTrayIcons() == 1;
        },
        30s))
        << "no game window; " << ClientLog() << "\nsite: " << site->Log().Text();
    EXPECT_EQ(site->Log().Count("GET /userinfo 200"), 1);
    EXPECT_FALSE(ShownWindow(kLauncherTitle, true)) << "the launcher stays hidden";
    EXPECT_TRUE(Logged("GET / 200")) << "the hidden launcher still loads the portal";

    // Ended by the session, the client leaves as from its own exit command.
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    EXPECT_EQ(WaitForEnd(), 0) << ClientLog();
    EXPECT_EQ(ShownTrayIcons(), 0);
}

// The same with the site offering a newer client.
class ClientUpdateTest : public ClientRunTest {
protected:
    DemoSiteOptions SiteOptions() override {
        DemoSiteOptions options = ClientRunTest::SiteOptions();
        options.offerUpdate = true;
        options.installerMarker = marker;
        return options;
    }

    std::string marker = user.Path("installed");
};

TEST_F(ClientUpdateTest, ANewerVersionOnTheSiteIsInstalledAndTheClientMakesWayForIt) {
    Start("velmora");
    EXPECT_EQ(WaitForEnd(30s), 0) << "the client ends for its installer; " << ClientLog();
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(marker); }, 10s))
        << "the installer did not run; site: " << site->Log().Text();
    EXPECT_EQ(ReadWholeFile(marker), "installed 1.0.1.0\n");
    EXPECT_EQ(site->Log().Count("GET /version.xml 200"), 1);
    EXPECT_EQ(site->Log().Count("GET /version.xml.minisig 200"), 1) << "the demo build trusts signed offers only";
    EXPECT_EQ(ShownTrayIcons(), 0);
    EXPECT_FALSE(ShownWindow(kLauncherTitle, true)) << "no window is left behind";
    EXPECT_FALSE(std::filesystem::exists(user.ProgramFolder() + "/config.xml"));
}

// The installer arrives while the box of a picture missing from the build is open, that is while the
// frame is still building the launcher: it runs once the box is answered, and the client ends cleanly.
TEST_F(ClientUpdateTest, AnInstallerArrivingWhileTheSkinsFailureBoxIsOpenRunsOnceItIsAnswered) {
    Start("velmora", {}, TEST_CLIENT_MISSING_PICTURE_PATH);
    ASSERT_TRUE(WaitUntil([&] { return ShownWindow("Error", true).has_value(); }, 30s))
        << "no box for the missing picture; " << ClientLog();
    const std::string cached = user.CacheHome() + "/Velmora/urlcache";
    const auto installerCached = [&] {
        std::error_code error;
        for (auto it = std::filesystem::recursive_directory_iterator(cached, error);
             it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
            if (it->path().filename() == "velmora-setup-1.0.1.0.sh") {
                return true;
            }
        }
        return false;
    };
    ASSERT_TRUE(WaitUntil(installerCached, 20s)) << "site: " << site->Log().Text();
    EXPECT_FALSE(HasExited(pid)) << "nothing ends while the box is open; " << ClientLog();
    EXPECT_TRUE(ShownWindow("Error", true)) << "the box is still there";

    RunXdotool({"key", "Return"});
    EXPECT_EQ(WaitForEnd(30s), 0) << "the client ends for its installer; " << ClientLog();
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(marker); }, 10s))
        << "the installer did not run";
    EXPECT_EQ(ReadWholeFile(marker), "installed 1.0.1.0\n");
    EXPECT_FALSE(ShownWindow("Error", true));
}

}  // namespace
