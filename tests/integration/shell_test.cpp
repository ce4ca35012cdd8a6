// Shortcuts, icons, desktop folder, starting programs and opening URLs, on a real file system.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "UserEnvironment.h"
#include "platform/base/files.h"
#include "platform/base/paths.h"
#include "platform/base/resources.h"
#include "platform/base/text.h"
#include "platform/os/process.h"
#include "platform/os/shell_open.h"
#include "platform/os/shortcut.h"
#include "util/Shell.h"

namespace {

// Polls for a file another process writes; empty when it did not appear within five seconds.
std::string WaitForFile(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        if (platform::PathExists(path)) {
            return ReadWholeFile(path);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
}

bool Gone(int pid) {
    for (int i = 0; i < 500; ++i) {
        if (access(("/proc/" + std::to_string(pid)).c_str(), F_OK) != 0) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

unsigned Mode(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

ino_t Inode(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

std::string IconBytes() {
    platform::ResourceBytes icon = platform::FindResource("ICON", 128);
    return std::string(reinterpret_cast<const char*>(icon.data), icon.size);
}

class ShellTest : public ::testing::Test {
protected:
    ShellTest() { env.Set("ARGV_RECORD", Record()); }
    std::string Record() const { return env.Path("record"); }

    UserEnvironment env;
};

}  // namespace

TEST_F(ShellTest, ShortcutIsAnExecutableEntryWithTheProgramIconInstalledOnce) {
    const std::string link = env.Desktop() + "/Star Sea.desktop";
    ASSERT_TRUE(platform::MakeDirectories(env.Desktop()));
    ASSERT_TRUE(CreateShortcut(platform::Utf8ToWide(link), L"/opt/game/StarSea", L"/opt/game/StarSea",
                               L"\"/opt/game\""));
    const std::string icon = env.DataHome() + "/icons/velmora/StarSea.png";
    EXPECT_EQ(ReadWholeFile(link),
              "[Desktop Entry]\nVersion=1.0\nType=Application\nName=Star Sea\nExec=\"/opt/game/StarSea\"\n"
              "Terminal=false\nPath=/opt/game\nIcon=" +
                  icon + "\n");
    EXPECT_EQ(Mode(link), 0755u) << "desktops start only entries marked executable";
    ASSERT_FALSE(IconBytes().empty());
    EXPECT_TRUE(ReadWholeFile(icon) == IconBytes()) << "the icon resource is what the entry shows";

    const ino_t first = Inode(icon);
    ASSERT_TRUE(platform::WriteShortcut(link, "/opt/game/StarSea", "/opt/game/StarSea", ""));
    EXPECT_EQ(Inode(icon), first) << "an icon already in place is not written again";
    WriteWholeFile(icon, "stale");
    ASSERT_TRUE(platform::WriteShortcut(link, "/opt/game/StarSea", "/opt/game/StarSea", ""));
    EXPECT_TRUE(ReadWholeFile(icon) == IconBytes()) << "a different icon file is brought up to date";
}

TEST_F(ShellTest, ShortcutIntoABlockedFolderFailsAndLeavesNothing) {
    WriteWholeFile(env.Path("blocked"), "a file where the desktop should be");
    EXPECT_FALSE(
        CreateShortcut(platform::Utf8ToWide(env.Path("blocked") + "/x.desktop"), L"/opt/g", L"", L""));
    EXPECT_EQ(ReadWholeFile(env.Path("blocked")), "a file where the desktop should be");
}

TEST_F(ShellTest, DesktopFolderFollowsTheUserDirsSettingAndIsCreated) {
    EXPECT_EQ(platform::DesktopDir(), env.Desktop()) << "without settings: ~/Desktop";
    EXPECT_TRUE(platform::PathExists(env.Desktop()));

    WriteWholeFile(env.ConfigHome() + "/user-dirs.dirs",
                   "# written by xdg-user-dirs-update\nXDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
                   "XDG_DESKTOP_DIR=\"$HOME/\u684C\u9762\"\n");
    EXPECT_EQ(platform::DesktopDir(), env.Home() + "/\u684C\u9762");
    EXPECT_TRUE(platform::PathExists(env.Home() + "/\u684C\u9762"));

    WriteWholeFile(env.ConfigHome() + "/user-dirs.dirs",
                   "XDG_DESKTOP_DIR=\"" + env.Path("abs desk") + "/\"\n");
    EXPECT_EQ(platform::DesktopDir(), env.Path("abs desk"));

    WriteWholeFile(env.ConfigHome() + "/user-dirs.dirs", "XDG_DESKTOP_DIR=relative\n");
    EXPECT_EQ(platform::DesktopDir(), env.Desktop()) << "an unusable setting falls back";
}

TEST_F(ShellTest, ProgramGetsItsArgumentsLiterallyAndNoneOfOurDescriptors) {
    // Without close-on-exec, as a careless library might leave one.
    int leaky = open("/dev/null", O_RDONLY);
    ASSERT_GE(leaky, 3);
    int pid = 0;
    EXPECT_TRUE(platform::StartCommandLine(
        std::string("\"") + ARGV_RECORDER_PATH + "\" \"$HOME; rm -rf *\" a\\\"b `id` %TEMP%", &pid));
    close(leaky);
    EXPECT_EQ(WaitForFile(Record()), "descriptors=0\n$HOME; rm -rf *\na\"b\n`id`\n%TEMP%\n");
    EXPECT_TRUE(Gone(pid)) << "the finished child is reaped, not left a zombie";
}

TEST_F(ShellTest, BareProgramNameIsFoundBesideTheRunningProgramFirst) {
    ASSERT_TRUE(platform::CopyFile(ARGV_RECORDER_PATH, env.ProgramFolder() + "/velmora-helper", false));
    EXPECT_TRUE(RunProcess(L"velmora-helper --from-beside"));
    EXPECT_EQ(WaitForFile(Record()), "descriptors=0\n--from-beside\n");
}

TEST_F(ShellTest, MissingProgramIsAFailure) {
    EXPECT_FALSE(RunProcess(L"/nonexistent/setup.run /S"));
    EXPECT_FALSE(RunProcess(L"velmora-no-such-program"));
    EXPECT_FALSE(RunProcess(L""));
    EXPECT_FALSE(platform::PathExists(Record()));
}

TEST_F(ShellTest, OpeningGoesToTheUsersOpenerWithoutAShell) {
    const std::string bin = env.Path("bin");
    ASSERT_TRUE(platform::MakeDirectories(bin));
    ASSERT_TRUE(platform::CopyFile(ARGV_RECORDER_PATH, bin + "/xdg-open", false));
    env.Set("PATH", bin + ":" + std::string(getenv("PATH") != nullptr ? getenv("PATH") : "/usr/bin"));

    OpenInShell(L"http://127.0.0.1:8631/pay?a=1&b=$(id)");
    EXPECT_EQ(WaitForFile(Record()), "descriptors=0\nhttp://127.0.0.1:8631/pay?a=1&b=$(id)\n");

    unlink(Record().c_str());
    char* cwd = getcwd(nullptr, 0);
    EXPECT_TRUE(platform::OpenWithDefaultProgram("-help.html"));
    EXPECT_EQ(WaitForFile(Record()), "descriptors=0\n" + std::string(cwd) + "/-help.html\n")
        << "a relative file goes as an absolute path, never as an option";
    free(cwd);
    EXPECT_FALSE(platform::OpenWithDefaultProgram(""));
}

TEST_F(ShellTest, WithoutXdgOpenTheDesktopsDefaultHandlerIsAsked) {
    // A handler for web links of the user's own, found the way desktops find them.
    const std::string bin = env.Path("empty-bin");
    ASSERT_TRUE(platform::MakeDirectories(bin));
    env.Set("PATH", bin);
    ASSERT_TRUE(platform::MakeDirectories(env.DataHome() + "/applications"));
    WriteWholeFile(env.DataHome() + "/applications/velmora-test-browser.desktop",
                   std::string("[Desktop Entry]\nType=Application\nName=Test browser\nExec=") +
                       ARGV_RECORDER_PATH + " %u\nMimeType=x-scheme-handler/http;\n");
    WriteWholeFile(env.ConfigHome() + "/mimeapps.list",
                   "[Default Applications]\nx-scheme-handler/http=velmora-test-browser.desktop\n");
    EXPECT_TRUE(platform::OpenWithDefaultProgram("http://127.0.0.1:8631/bbs?a=1&b=;x"));
    const std::string said = WaitForFile(Record());
    EXPECT_EQ(said.substr(said.find('\n') + 1), "http://127.0.0.1:8631/bbs?a=1&b=;x\n")
        << "the URL as one argument";
}

TEST_F(ShellTest, CopyKeepsPermissionsAndRefusesToReplaceUnlessAsked) {
    const std::string source = env.Path("source");
    const std::string target = env.Path("target");
    WriteWholeFile(source, "new");
    chmod(source.c_str(), 0751);
    WriteWholeFile(target, "old");
    EXPECT_FALSE(platform::CopyFile(source, target, false));
    EXPECT_EQ(ReadWholeFile(target), "old");
    EXPECT_TRUE(platform::CopyFile(source, target, true));
    EXPECT_EQ(ReadWholeFile(target), "new");
    EXPECT_EQ(Mode(target), 0751u);
    EXPECT_FALSE(platform::CopyFile(env.Path("missing"), target, true));
    EXPECT_EQ(ReadWholeFile(target), "new") << "a failed copy leaves the target as it was";
}
