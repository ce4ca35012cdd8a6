// The file helpers the update check relies on: the digest of a whole file, read in pieces, and making a
// downloaded installer runnable.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "platform/base/checksum.h"
#include "platform/base/files.h"
#include "support/TempDir.h"

namespace {

unsigned ModeOf(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

}  // namespace

TEST(FileDigest, AFileLargerThanOnePieceDigestsAsItsBytesAndAMissingOneAsNothing) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; i < 200000; ++i) {
        bytes += static_cast<char>(i * 7);
    }
    WriteWholeFile(dir / "setup.run", bytes);
    EXPECT_EQ(platform::Sha256FileHex(dir / "setup.run"), platform::Sha256Hex(bytes.data(), bytes.size()));
    EXPECT_EQ(platform::Sha256FileHex(dir / "absent"), "");
    EXPECT_EQ(platform::Sha256FileHex(dir.Path()), "") << "a folder has no content to digest";
}

TEST(MakeExecutable, EachClassThatMayReadMayRunAndOtherBitsStay) {
    TempDir dir;
    const struct {
        unsigned before;
        unsigned after;
    } cases[] = {
        {0644, 0755}, {0600, 0700},   {0640, 0750},
        {0755, 0755}, {04604, 04705},  // the set-user-id bit is kept, not granted
    };
    for (const auto& c : cases) {
        const std::string path = dir / "installer";
        WriteWholeFile(path, "#!/bin/sh\n");
        ASSERT_EQ(chmod(path.c_str(), c.before), 0);
        EXPECT_TRUE(platform::MakeExecutable(path)) << std::oct << c.before;
        EXPECT_EQ(ModeOf(path), c.after) << std::oct << c.before;
    }
    EXPECT_FALSE(platform::MakeExecutable(dir / "absent"));
    EXPECT_FALSE(platform::MakeExecutable(dir.Path())) << "only files";
}
