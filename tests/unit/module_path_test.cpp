#include "util/ModulePath.h"

#include <gtest/gtest.h>

#include "platform/base/module.h"

namespace {

class ModulePathTest : public ::testing::Test {
protected:
    ~ModulePathTest() override { platform::OverrideModuleFileName(""); }
};

}  // namespace

TEST_F(ModulePathTest, FolderIsThePathUpToTheLastSeparator) {
    platform::OverrideModuleFileName("/opt/\u661F\u6D77/client_4711.run");
    EXPECT_EQ(GetModulePath(true), L"/opt/\u661F\u6D77/client_4711.run");
    EXPECT_EQ(GetModulePath(false), L"/opt/\u661F\u6D77");
}

TEST_F(ModulePathTest, ProgramInTheRootHasAnEmptyFolder) {
    platform::OverrideModuleFileName("/velmora");
    EXPECT_EQ(GetModulePath(false), L"") << "folder + '/' + name still gives the file";
}

TEST_F(ModulePathTest, RealAnswerIsThisTestProgram) {
    std::wstring path = GetModulePath(true);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), L'/');
    EXPECT_EQ(path.substr(path.find_last_of(L'/') + 1), L"unit_tests");
}
