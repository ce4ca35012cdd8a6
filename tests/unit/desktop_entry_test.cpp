#include <gtest/gtest.h>

#include <string>

#include "platform/os/shortcut.h"

using platform::DesktopEntryText;
using platform::HasUrlScheme;

TEST(DesktopEntry, ProgramTargetStartsItInItsFolder) {
    std::string text =
        DesktopEntryText("\u661F\u6D77", "/opt/game/\u661F\u6D77", "/icons/g.png", "\"/opt/game\"");
    EXPECT_EQ(text,
              "[Desktop Entry]\nVersion=1.0\nType=Application\nName=\u661F\u6D77\n"
              "Exec=\"/opt/game/\u661F\u6D77\"\nTerminal=false\nPath=/opt/game\nIcon=/icons/g.png\n")
        << "the quotes around the working folder are not part of its name";
}

TEST(DesktopEntry, AProgramsEntryNamesTheClassOfItsWindows) {
    const struct {
        const char* target;
        const char* windowClass;
        const char* line;  // null: no such line
    } cases[] = {
        {"/opt/game/run", "Velmora.\u661F\u6D77.1", "StartupWMClass=Velmora.\u661F\u6D77.1\n"},
        {"/opt/game/run", "", nullptr},
        {"/opt/game/run", "a\nExec=evil", "StartupWMClass=a\\nExec=evil\n"},
        {"http://127.0.0.1:8631/", "Velmora.x.1", nullptr},  // a link starts the user's browser
    };
    for (const auto& c : cases) {
        const std::string text = DesktopEntryText("x", c.target, "", "", c.windowClass);
        if (c.line == nullptr) {
            EXPECT_EQ(text.find("StartupWMClass"), std::string::npos) << text;
        } else {
            EXPECT_NE(text.find(c.line), std::string::npos) << text;
        }
    }
}

TEST(DesktopEntry, UrlTargetIsALink) {
    std::string text = DesktopEntryText("Official site", "http://127.0.0.1:8631/", "", "/opt/game");
    EXPECT_EQ(text,
              "[Desktop Entry]\nVersion=1.0\nType=Link\nName=Official site\nURL=http://127.0.0.1:8631/\n");
}

TEST(DesktopEntry, ExecPathsWithSpecialCharactersStayOneLiteralArgument) {
    // Reserved characters are escaped inside the quotes, '%' is doubled so it is no field code, and the
    // backslashes of that quoting are escaped once more by the string rules of the format.
    std::string text = DesktopEntryText("x", "/g/a \"b\" $c `d` 100%\\e", "", "");
    EXPECT_NE(text.find("Exec=\"/g/a \\\\\"b\\\\\" \\\\$c \\\\`d\\\\` 100%%\\\\\\\\e\"\n"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("Path="), std::string::npos) << "no working folder, no Path line";
}

TEST(DesktopEntry, LineBreaksInNamesCannotAddKeys) {
    std::string text = DesktopEntryText("a\nExec=evil", "http://h/\nExec=evil", "", "");
    EXPECT_EQ(text.find("\nExec="), std::string::npos) << text;
    EXPECT_NE(text.find("Name=a\\nExec=evil\n"), std::string::npos) << text;
}

TEST(DesktopEntry, UrlSchemesAreToldFromPaths) {
    EXPECT_TRUE(HasUrlScheme("http://h/"));
    EXPECT_TRUE(HasUrlScheme("mailto:a@b"));
    EXPECT_TRUE(HasUrlScheme("view-source+x.y:z"));
    EXPECT_FALSE(HasUrlScheme("/opt/game"));
    EXPECT_FALSE(HasUrlScheme("C:\\game\\a.exe")) << "a drive letter is no scheme";
    EXPECT_FALSE(HasUrlScheme("relative/file:x"));
    EXPECT_FALSE(HasUrlScheme("1http://h/"));
    EXPECT_FALSE(HasUrlScheme(""));
}
