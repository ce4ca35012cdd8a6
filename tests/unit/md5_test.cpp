#include "util/Md5Hex.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/base/checksum.h"

namespace {

std::string Md5Of(const std::string& text) {
    char out[33];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(Md5Hex(text.data(), text.size(), out), 0);
    EXPECT_EQ(out[32], '\0') << "the digest is terminated";
    return std::string(out, 32);
}

}  // namespace

TEST(Md5Hex, MatchesTheReferenceSuite) {
    EXPECT_EQ(Md5Of(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Of("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(Md5Of("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Md5Of("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(Md5Of("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(Md5Of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(Md5Of("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(Md5Hex, CountsBytesNotCharactersSoZerosInsideAreDigested) {
    const char bytes[] = {'a', '\0', 'b'};
    char out[33];
    ASSERT_EQ(Md5Hex(bytes, sizeof bytes, out), 0);
    EXPECT_EQ(std::string(out), platform::Md5Hex(bytes, 3));
    EXPECT_NE(std::string(out), Md5Of("a")) << "the digest does not stop at the zero byte";
}

TEST(Md5Hex, AbsentDataFailsAndLeavesTheOutputAlone) {
    char out[33] = "untouched";
    EXPECT_EQ(Md5Hex(nullptr, 0, out), 1);
    EXPECT_EQ(Md5Hex(nullptr, 5, out), 1);
    EXPECT_STREQ(out, "untouched");
}

TEST(Checksum, Sha256OfAReferenceText) {
    EXPECT_EQ(platform::Sha256Hex("abc", 3),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}
