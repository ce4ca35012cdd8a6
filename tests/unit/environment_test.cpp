#include "platform/base/environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using platform::ExpandEnvironmentStrings;

namespace {

// Sets or clears a variable for one test.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name) {
        const char* old = std::getenv(name);
        m_had = old != nullptr;
        m_old = m_had ? old : "";
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedVariable() {
        if (m_had) {
            setenv(m_name, m_old.c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }

private:
    const char* m_name;
    bool m_had;
    std::string m_old;
};

}  // namespace

TEST(ExpandEnvironment, ReplacesSetVariablesAndKeepsTheRest) {
    ScopedVariable game("VELMORA_GAME", "/opt/game");
    ScopedVariable unset("VELMORA_UNSET", nullptr);
    EXPECT_EQ(ExpandEnvironmentStrings("%VELMORA_GAME%/setup.run"), "/opt/game/setup.run");
    EXPECT_EQ(ExpandEnvironmentStrings("%velmora_game%"), "/opt/game") << "names ignore case as on Windows";
    EXPECT_EQ(ExpandEnvironmentStrings("%VELMORA_UNSET%/x"), "%VELMORA_UNSET%/x");
    EXPECT_EQ(ExpandEnvironmentStrings("50% of %VELMORA_GAME%"), "50% of /opt/game");
    EXPECT_EQ(ExpandEnvironmentStrings("100%"), "100%");
    EXPECT_EQ(ExpandEnvironmentStrings("%%"), "%%");
    EXPECT_EQ(ExpandEnvironmentStrings("no variables"), "no variables");
}

TEST(ExpandEnvironment, TempFallsBackToTmpdirThenTmp) {
    ScopedVariable temp("TEMP", nullptr);
    ScopedVariable tmp("TMP", nullptr);
    {
        ScopedVariable tmpdir("TMPDIR", "/var/tmp/me");
        EXPECT_EQ(ExpandEnvironmentStrings("%TEMP%/setup.run"), "/var/tmp/me/setup.run");
        EXPECT_EQ(ExpandEnvironmentStrings("%Tmp%"), "/var/tmp/me");
    }
    ScopedVariable tmpdir("TMPDIR", nullptr);
    EXPECT_EQ(ExpandEnvironmentStrings("%TEMP%"), "/tmp");
    ScopedVariable set("TEMP", "/scratch");
    EXPECT_EQ(ExpandEnvironmentStrings("%TEMP%"), "/scratch") << "a TEMP of the user's own wins";
}
