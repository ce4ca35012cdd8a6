// The resource compiler as the build runs it: exit status, messages and what it leaves on disk.
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/Process.h"
#include "support/TempDir.h"

namespace {

// Runs the compiler with `args`, its stderr going to `errPath`; returns its exit status.
int RunCompiler(std::vector<std::string> args, const std::string& errPath) {
    args.insert(args.begin(), RESC_PATH);
    return WaitForExit(StartProgram(args, errPath));
}

}  // namespace

TEST(ResourceCompiler, BadManifestFailsTheBuildNamingTheLineAndWritesNothing) {
    TempDir dir;
    WriteWholeFile(dir / "res.manifest", "# resources\nXML 400 missing.xml\n");
    EXPECT_EQ(RunCompiler({dir / "res.manifest", dir / "out.cpp", dir / "out.d"}, dir / "err"), 1);
    EXPECT_NE(ReadWholeFile(dir / "err").find("res.manifest:2: cannot read"), std::string::npos)
        << ReadWholeFile(dir / "err");
    EXPECT_EQ(access((dir / "out.cpp").c_str(), F_OK), -1);
    EXPECT_EQ(access((dir / "out.d").c_str(), F_OK), -1);
}

TEST(ResourceCompiler, GoodManifestWritesTheSourceAndItsDependencies) {
    TempDir dir;
    WriteWholeFile(dir / "config.xml", "<C/>");
    WriteWholeFile(dir / "res.manifest", "XML 400 config.xml\n");
    EXPECT_EQ(RunCompiler({dir / "res.manifest", dir / "out.cpp", dir / "out.d"}, dir / "err"), 0);
    EXPECT_NE(ReadWholeFile(dir / "out.cpp").find("{\"XML\", 400, kData0, 4}"), std::string::npos);
    EXPECT_NE(ReadWholeFile(dir / "out.d").find(dir / "config.xml"), std::string::npos);
}

TEST(ResourceCompiler, MissingManifestOrWrongArgumentsFail) {
    TempDir dir;
    EXPECT_EQ(RunCompiler({dir / "absent.manifest", dir / "out.cpp"}, dir / "err"), 1);
    EXPECT_NE(ReadWholeFile(dir / "err").find("cannot read the manifest"), std::string::npos);
    EXPECT_EQ(RunCompiler({}, dir / "err"), 2);
    EXPECT_NE(ReadWholeFile(dir / "err").find("usage"), std::string::npos);
}

TEST(ResourceCompiler, UnwritableOutputIsAnError) {
    TempDir dir;
    WriteWholeFile(dir / "config.xml", "<C/>");
    WriteWholeFile(dir / "res.manifest", "XML 400 config.xml\n");
    EXPECT_EQ(RunCompiler({dir / "res.manifest", dir / "no/such/folder/out.cpp"}, dir / "err"), 1);
    EXPECT_NE(ReadWholeFile(dir / "err").find("cannot write"), std::string::npos);
}

TEST(ResourceCompiler, AConfigurationThatLeavesUpdatesUnsafeOrImpossibleIsWarnedOfButBuilds) {
    const std::string key = "RWRtpiJt09XuZhjUQLUN6/AHCWx1IX80dxhb+yWqLtp9ShVeB578Bnkb";
    const struct {
        std::string attributes;
        const char* warning;  // null: none
    } cases[] = {
        {"configParam='http://h/v.xml'",
         "res.manifest:3: warning: configParam without updateKey: updates run "
         "only over https"},
        {"configParam='http://h/v.xml' updateKey=' , '", "configParam without updateKey"},
        {"configParam='http://h/v.xml' updateKey='" + key + ",RWQshort'",
         "res.manifest:3: warning: updateKey "
         "is malformed"},
        {"configParam='http://h/v.xml' updateKey='" + key + "'", nullptr},
        {"configParam=''", nullptr},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteWholeFile(dir / "config.xml", "<CLIENTCONFIG><CONFIG " + c.attributes + "/></CLIENTCONFIG>");
        WriteWholeFile(dir / "res.manifest", "# the branding\n\nXML 400 config.xml\n");
        EXPECT_EQ(RunCompiler({dir / "res.manifest", dir / "out.cpp"}, dir / "err"), 0) << c.attributes;
        const std::string said = ReadWholeFile(dir / "err");
        EXPECT_EQ(c.warning == nullptr ? said.empty() : said.find(c.warning) != std::string::npos, true)
            << c.attributes << ": " << said;
        EXPECT_EQ(access((dir / "out.cpp").c_str(), F_OK), 0);
    }
}
