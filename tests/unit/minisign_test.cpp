// Signatures in the minisign tool's format: what the client accepts, what it refuses, and that the tool
// and the demo site's signer understand each other.
#include "util/Minisign.h"

#include <gtest/gtest.h>
#include <sodium.h>

#include <functional>
#include <string>
#include <vector>

#include "MinisignSigner.h"
#include "platform/base/signing.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

using minisign::PublicKey;
using minisign::SecretKey;

const std::string kDocument =
    "<VERSIONS><CLIENT version=\"1.0.1.0\" url=\"http://h/setup.sh\"/></VERSIONS>\n";
const std::string kComment = "timestamp:1765432100\tfile:version.xml\thashed";

SecretKey DemoKey() {
    SecretKey key;
    std::string why;
    EXPECT_TRUE(minisign::ReadSecretKey(ReadWholeFile(DEMO_SIGNING_KEY), key, why)) << why;
    return key;
}

SecretKey NewKey() {
    SecretKey key;
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    EXPECT_EQ(sodium_init() >= 0, true);
    crypto_sign_keypair(publicKey, key.key.data());
    randombytes_buf(key.id.data(), key.id.size());
    return key;
}

std::vector<PublicKey> Keys(const std::string& text) {
    std::vector<PublicKey> keys;
    EXPECT_TRUE(minisign::ParsePublicKeys(text, keys)) << text;
    return keys;
}

// `signature` with line `index` (0 to 3) changed by `change`.
template <typename Change>
std::string EditLine(std::string signature, int index, Change change) {
    std::size_t begin = 0;
    for (int i = 0; i < index; ++i) {
        begin = signature.find('\n', begin) + 1;
    }
    const std::size_t end = signature.find('\n', begin);
    std::string line = signature.substr(begin, end - begin);
    change(line);
    return signature.replace(begin, end - begin, line);
}

// A signature line whose bytes are changed by `change` after decoding.
template <typename Change>
std::string EditSignatureBytes(const std::string& signature, Change change) {
    return EditLine(signature, 1, [&](std::string& line) {
        std::string bytes;
        ASSERT_TRUE(platform::FromBase64(line, bytes));
        change(bytes);
        line = platform::ToBase64(bytes);
    });
}

int RunTool(const std::vector<std::string>& arguments) {
    return WaitForExit(StartProgram(arguments));
}

}  // namespace

TEST(Minisign, PublicKeysAreReadAsAListThatOneBadKeySpoils) {
    const SecretKey demo = DemoKey();
    const SecretKey other = NewKey();
    const std::string a = minisign::PublicKeyText(demo);
    const std::string b = minisign::PublicKeyText(other);
    const std::string notEd = platform::ToBase64("Xy" + std::string(40, 'k'));
    const struct {
        std::string text;
        std::size_t keys;  // 0: refused
    } cases[] = {
        {a, 1},
        {" " + a + ",\t" + b + " ,", 2},
        {"", 0},
        {" , ", 0},
        {a.substr(1), 0},
        {a + " " + b.substr(0, 55) + "=", 0},
        {a + "," + notEd, 0},
        {a.substr(0, 50) + "!!!!!!", 0},
    };
    for (const auto& c : cases) {
        std::vector<PublicKey> keys;
        EXPECT_EQ(minisign::ParsePublicKeys(c.text, keys), c.keys > 0) << c.text;
        EXPECT_EQ(keys.size(), c.keys) << c.text;
    }
    EXPECT_EQ(Keys(a)[0].id, demo.id);
    EXPECT_EQ(minisign::KeyIdText(demo.id), "66EED5D36D22A66D") << "as the tool named the demo key";
}

TEST(Minisign, OnlyAWholeHashedSignatureByAConfiguredKeyWithATimeStampVerifies) {
    const SecretKey demo = DemoKey();
    const SecretKey other = NewKey();
    const std::vector<PublicKey> demoOnly = Keys(minisign::PublicKeyText(demo));
    const std::vector<PublicKey> otherThenDemo =
        Keys(minisign::PublicKeyText(other) + "," + minisign::PublicKeyText(demo));
    const std::string good = minisign::Sign(demo, kDocument, kComment);
    std::string crlf;
    for (char c : good) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    const struct {
        const char* name;
        std::string document;
        std::string signature;
        std::vector<PublicKey> keys;
        bool valid;
    } cases[] = {
        {"good", kDocument, good, demoOnly, true},
        {"second-key", kDocument, good, otherThenDemo, true},
        {"crlf", kDocument, crlf, demoOnly, true},
        {"other-key", kDocument, minisign::Sign(other, kDocument, kComment), demoOnly, false},
        {"document-flipped", std::string(kDocument).replace(29, 1, "2"), good, demoOnly, false},
        {"comment-flipped", kDocument, EditLine(good, 2, [](std::string& line) { line.back() = 'X'; }),
         demoOnly, false},
        {"legacy", kDocument, EditSignatureBytes(good, [](std::string& bytes) { bytes[1] = 'd'; }), demoOnly,
         false},
        {"no-timestamp", kDocument, minisign::Sign(demo, kDocument, "file:version.xml\thashed"), demoOnly,
         false},
        {"timestamp-not-a-number", kDocument, minisign::Sign(demo, kDocument, "timestamp:17654x"), demoOnly,
         false},
        {"truncated", kDocument, good.substr(0, good.size() / 2), demoOnly, false},
        {"bad-base64", kDocument, EditLine(good, 1, [](std::string& line) { line[10] = '!'; }), demoOnly,
         false},
        {"trailing-junk", kDocument, good + "more\n", demoOnly, false},
        {"empty", kDocument, "", demoOnly, false},
    };
    for (const auto& c : cases) {
        const minisign::Verdict verdict = minisign::Verify(c.document, c.signature, c.keys);
        EXPECT_EQ(verdict.valid, c.valid) << c.name << ": " << verdict.why;
        EXPECT_EQ(verdict.why.empty(), c.valid) << c.name;
        if (c.valid) {
            EXPECT_EQ(verdict.timestamp, 1765432100u) << c.name;
        }
    }
}

// Needs the minisign program (package minisign).
TEST(Minisign, TheToolAndTheDemoSignerWriteTheSameFilesAndReadEachOthers) {
    TempDir dir;
    const std::string document = dir / "version.xml";
    WriteWholeFile(document, kDocument);
    ASSERT_EQ(RunTool({"/usr/bin/minisign", "-S", "-s", DEMO_SIGNING_KEY, "-m", document}), 0);
    const std::string byTool = ReadWholeFile(document + ".minisig");

    const SecretKey demo = DemoKey();
    const std::vector<PublicKey> keys = Keys(minisign::PublicKeyText(demo));
    const minisign::Verdict verdict = minisign::Verify(kDocument, byTool, keys);
    EXPECT_TRUE(verdict.valid) << verdict.why;

    // Ed25519 is deterministic: with the tool's trusted comment, the demo signer writes the same bytes.
    const std::size_t comment = byTool.find("\ntrusted comment: ") + 18;
    const std::string toolComment = byTool.substr(comment, byTool.find('\n', comment) - comment);
    EXPECT_EQ(minisign::Sign(demo, kDocument, toolComment), byTool);

    WriteWholeFile(document + ".minisig", minisign::Sign(demo, kDocument, kComment));
    EXPECT_EQ(RunTool({"/usr/bin/minisign", "-V", "-q", "-P", minisign::PublicKeyText(demo), "-m", document}),
              0);

    ASSERT_EQ(RunTool({"/usr/bin/minisign", "-S", "-l", "-s", DEMO_SIGNING_KEY, "-m", document}), 0);
    EXPECT_FALSE(minisign::Verify(kDocument, ReadWholeFile(document + ".minisig"), keys).valid)
        << "the tool's legacy signatures are refused";
}

TEST(Minisign, OnlyAnUnencryptedIntactSecretKeyFileSigns) {
    const std::string file = ReadWholeFile(DEMO_SIGNING_KEY);
    const std::size_t line = file.find('\n') + 1;
    std::string bytes;
    ASSERT_TRUE(platform::FromBase64(file.substr(line, file.find('\n', line) - line), bytes));
    const auto withBytes = [&](const std::function<void(std::string&)>& change) {
        std::string changed = bytes;
        change(changed);
        return file.substr(0, line) + platform::ToBase64(changed) + "\n";
    };
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"encrypted", withBytes([](std::string& b) { b.replace(2, 2, "Sc"); })},
        {"damaged", withBytes([](std::string& b) { b[70] ^= 1; })},
        {"short", withBytes([](std::string& b) { b.pop_back(); })},
        {"public-key",
         "untrusted comment: minisign public key\n" + minisign::PublicKeyText(DemoKey()) + "\n"},
    };
    for (const auto& c : cases) {
        SecretKey key;
        std::string why;
        EXPECT_FALSE(minisign::ReadSecretKey(c.text, key, why)) << c.name;
        EXPECT_FALSE(why.empty()) << c.name;
    }
}
