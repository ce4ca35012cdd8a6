// The update check of a starting client on the headless backend, against test servers that play the
// operator's version document, its signature and the installer. The installer is a script that leaves a
// mark when it runs. Without update keys only https may start an installer, so the checks of the
// document itself run against the https server.
#include <gtest/gtest.h>
#include <sodium.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "HttpFixture.h"
#include "MinisignSigner.h"
#include "SkinTestSupport.h"
#include "TestCertificateAuthority.h"
#include "app/MainFrame.h"
#include "config/ClientConfig.h"
#include "download/DownloadThread.h"
#include "platform/base/checksum.h"
#include "platform/base/clock.h"
#include "platform/base/paths.h"
#include "platform/base/text.h"
#include "platform/headless/headless.h"
#include "platform/net/url_cache.h"
#include "platform/os/registry.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/native.h"
#include "platform/ui/win_api.h"
#include "platform/ui/window_system.h"
#include "skin/SkinDocument.h"
#include "windows/HtmlWnd.h"

namespace {

namespace fs = std::filesystem;
using Stage = CUpdateCheck::Stage;

const char kSkin[] =
    "<S><MAINWND width='400' height='300' title='Launcher'><RECT name='ie' left='10' top='40' width='380' "
    "height='250'/></MAINWND><GAMEWND width='600' height='400' titleHeight='32' border='1' title='Game'>"
    "<RECT name='ie' left='1' top='32' width='598' height='367'/></GAMEWND></S>";

constexpr std::int64_t kNow = 1765432100;

class FixedWallClock final : public platform::WallClock {
public:
    std::int64_t SecondsSince1970() const override { return kNow; }
};

// How a start's check ended.
struct Outcome {
    Stage stage = Stage::Idle;  // the last one seen while the frame was there
    bool exited = false;
};

class UpdateCheckTest : public HttpFixture {
protected:
    UpdateCheckTest() {
        RegisterPng(802, MakePng(24, 20, true, [](int, int) { return Rgba{0, 0, 255, 255}; }));
        platform::MakeDirectories(temp);
        env.Set("TEMP", temp);
        platform::SetWallClock(&clock);
        platform::SetHttpTrustedCaFile(ca.CaFile());
        // Of the start-up set-up, the check needs only the client's registry key.
        ClientConfig::InstallSetupStep(
            [](ClientConfig& config) { config.m_strRegPath = L"SOFTWARE\\Velmora\\Test"; });
    }
    ~UpdateCheckTest() override {
        Stop();
        ClientConfig::InstallSetupStep(nullptr);
        platform::SetWallClock(nullptr);
    }

    // The version document at /ver.xml as the client asks for it, and an installer at `installer`.
    void ServeDocument(const std::string& document, const std::string& query = "") {
        site->Get("/ver.xml?" + query + std::to_string(kNow),
                  [document](const httplib::Request&, httplib::Response& response) {
                      response.set_content(document, "text/xml");
                  });
    }
    std::string ServeInstaller(const std::string& installer) {
        site->Get(installer, [this](const httplib::Request&, httplib::Response& response) {
            response.set_content(Script(), "application/x-sh");
        });
        return site->Url(installer);
    }
    std::string Script() const { return "#!/bin/sh\nprintf ran > '" + marker + "'\n"; }
    static std::string Offer(const std::string& version, const std::string& url,
                             const std::string& extra = "") {
        return "<VERSIONS><CLIENT version=\"" + version + "\" url=\"" + url + "\"" + extra + "/></VERSIONS>";
    }

    // A client started with `configParam` on the site and `updateKey`, run until its check has ended.
    Outcome Run(const std::string& configParam = "/ver.xml") {
        Stop();
        platform::WindowSystem::Reset();
        platform::MessageQueue::Instance().Reset();
        platform::headless::Backend().Reset();
        const std::string config =
            "<CLIENTCONFIG><C userClientAbout='Demo' imClass='UpdateTestFrame' homeUrl='http://portal.test/' "
            "gameCheck='entergame=1' updateKey='" +
            updateKey + "' configParam='" + (configParam.empty() ? "" : site->Url(configParam)) +
            "'/></CLIENTCONFIG>";
        ClientConfig::Instance().LoadDocumentFromBytes(config.data(), config.size());
        SkinDocument::Instance().LoadDocumentFromBytes(kSkin, sizeof kSkin - 1);
        frame = std::make_unique<CMainFrame>(L"", L"");
        EXPECT_TRUE(frame->LoadFrame());

        Outcome outcome;
        bool timedOut = false;
        auto& queue = platform::MessageQueue::Instance();
        auto task = queue.Schedule(20000, [&] { timedOut = true; });
        // The program's own loop, not a nested one, which would hold back the client's end.
        const auto done = [&] {
            if (const CUpdateCheck* check = frame->GetUpdateCheck()) {
                outcome.stage = check->GetStage();
            }
            return outcome.stage == Stage::Finished || frame->m_hWnd == nullptr || timedOut;
        };
        while (!done()) {
            if (!platform::PumpOne()) {
                platform::GetBackend().WaitForEvents(20);
            }
        }
        queue.Cancel(task);
        platform::PumpUntilIdle();
        outcome.exited = frame->m_hWnd == nullptr;
        EXPECT_FALSE(timedOut) << "the check did not end";
        return outcome;
    }
    void Stop() {
        frame.reset();
        SkinDocument::DestroyInstance();
        ClientConfig::DestroyInstance();
        platform::MessageQueue::Instance().Reset();
    }
    // The installer's mark, which the detached script leaves a moment after it was started.
    bool InstallerRan() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!fs::exists(marker) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return fs::exists(marker);
    }
    int RequestsFor(const std::string& path) const {
        int count = 0;
        for (const auto& request : site->Requests()) {
            count += request.path == path ? 1 : 0;
        }
        return count;
    }
    // The downloaded installer's file, from the downloader's record of the second request.
    std::string InstallerFile() {
        THREAD_PARAM_DOWN record;
        if (frame && frame->GetDownloadThread()) {
            frame->GetDownloadThread()->GetResult(1, record);
        }
        return platform::WideToUtf8(record.strUrl);
    }

    // Neither a cache entry for `url` nor a half-written download is left.
    static bool LeftNothingOf(const std::string& url) {
        const platform::UrlCache cache = platform::UrlCache::Default();
        std::string path;
        std::error_code error;
        const fs::path downloads = cache.Folder() + "/tmp";
        return !cache.Lookup(url, path) && (!fs::exists(downloads) || fs::is_empty(downloads, error));
    }

    FixedWallClock clock;
    TestCertificateAuthority ca{"Update test CA", env.Path("ca.pem")};
    TestHttpServer secure{ca};
    TestHttpServer* site = &secure;  // where the document and the installer are
    std::string updateKey;
    std::string temp = env.Path("temp");
    std::string marker = env.Path("installed");
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(UpdateCheckTest, OnlyANewerVersionInTheFirstClientBringsTheInstallerAndEndsTheClient) {
    const std::string huge = "9" + std::string(199, '9');
    const auto repeat = [](const std::string& piece, int times) {
        std::string text;
        for (int i = 0; i < times; ++i) {
            text += piece;
        }
        return text;
    };
    const struct {
        const char* name;
        std::string document;  // "$" stands for the installer's URL
        bool runs;
    } cases[] = {
        {"same", Offer("1.0.0.1", "$"), false},
        {"two", Offer("2", "$"), false},
        {"letters", Offer("1.0.0.x", "$"), false},
        {"newer", Offer("1.0.1.0", "$"), true},
        {"huge", Offer(huge, "$"), true},  // saturates, and so is newer
        {"first-newer", "<V><CLIENT version='1.0.1.0' url='$'/><CLIENT version='1.0.0.1' url='$'/></V>",
         true},
        {"first-older", "<V><CLIENT version='1.0.0.1' url='$'/><CLIENT version='1.0.1.0' url='$'/></V>",
         false},
        {"not-xml", "<html><body>Bad Gateway", false},
        {"no-client", "<VERSIONS><SERVER version='1.0.1.0' url='$'/></VERSIONS>", false},
        {"no-url", Offer("1.0.1.0", ""), false},
        {"too-large", Offer("1.0.1.0", "$") + "<!--" + std::string(1024 * 1024, ' ') + "-->", false},
        {"too-deep",
         "<V><CLIENT version='1.0.1.0' url='$'/>" + repeat("<a>", 40000) + repeat("</a>", 40000) + "</V>",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(marker);
        const std::string path = std::string("/setup-") + c.name + ".sh";
        std::string document = c.document;
        for (std::size_t at = document.find('$'); at != std::string::npos; at = document.find('$', at)) {
            document.replace(at, 1, site->Url(path));
        }
        ServeInstaller(path);
        ServeDocument(document);
        const int asked = RequestsFor("/ver.xml");

        const Outcome outcome = Run();
        EXPECT_EQ(RequestsFor("/ver.xml"), asked + 1);
        EXPECT_EQ(RequestsFor(path), c.runs ? 1 : 0);
        EXPECT_EQ(outcome.exited, c.runs);
        EXPECT_EQ(outcome.stage, c.runs ? Stage::InstallerStarted : Stage::Finished);
        EXPECT_EQ(c.runs ? InstallerRan() : fs::exists(marker), c.runs);
        EXPECT_FALSE(fs::exists(env.ProgramFolder() + "/config.xml")) << "the working copy is gone";
        if (!c.runs) {
            EXPECT_TRUE(frame->GetLauncher()->IsWindowVisible()) << "the client runs on";
        }
    }
}

TEST_F(UpdateCheckTest, AnInstallerRunsOnlyWhenItArrivedAndMatchesTheDigestTheDocumentGives) {
    const std::string digest = platform::Sha256Hex(Script().data(), Script().size());
    std::string upper = digest;
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const struct {
        const char* name;
        std::string extra;
        bool served;
        bool runs;
    } cases[] = {
        {"matching", " sha256='" + digest + "'", true, true},
        {"upper-case", " sha256='" + upper + "'", true, true},
        {"other", " sha256='" + std::string(64, '0') + "'", true, false},
        {"cut", " sha256='" + digest.substr(0, 63) + "'", true, false},
        {"missing", "", false, false},  // 404
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(marker);
        const std::string path = std::string("/setup-") + c.name + ".sh";
        if (c.served) {
            ServeInstaller(path);
        }
        ServeDocument(Offer("1.0.1.0", site->Url(path), c.extra));

        const Outcome outcome = Run();
        EXPECT_EQ(RequestsFor(path), 1);
        EXPECT_EQ(outcome.exited, c.runs);
        EXPECT_EQ(c.runs ? InstallerRan() : fs::exists(marker), c.runs);
        if (!c.runs) {
            ASSERT_NE(frame->m_hWnd, nullptr);
            EXPECT_TRUE(frame->GetLauncher()->IsWindowVisible()) << "the client runs on";
            const std::string file = InstallerFile();
            EXPECT_EQ(file.empty(), !c.served);
            EXPECT_FALSE(!file.empty() && fs::exists(file)) << "a refused installer is deleted";
        }
    }
}

TEST_F(UpdateCheckTest, AnswersLongerThanOfferedFailAsTheyArriveAndAnInstallerMustHaveTheOfferedSize) {
    const std::size_t length = Script().size();
    const struct {
        const char* name;
        std::size_t size;
        bool endless;
        bool runs;
    } cases[] = {
        {"exact", length, false, true},
        {"longer", length - 1, false, false},
        {"shorter", length + 1, false, false},
        {"endless", 4096, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(marker);
        const std::string path = std::string("/setup-") + c.name + ".sh";
        if (c.endless) {
            ServeEndlessly(secure, path);
        } else {
            ServeInstaller(path);
        }
        ServeDocument(Offer("1.0.1.0", site->Url(path), " size='" + std::to_string(c.size) + "'"));

        const Outcome outcome = Run();
        EXPECT_EQ(outcome.exited, c.runs);
        EXPECT_EQ(c.runs ? InstallerRan() : fs::exists(marker), c.runs);
        if (!c.runs) {
            EXPECT_TRUE(LeftNothingOf(site->Url(path)));
        }
    }
}

TEST_F(UpdateCheckTest, AnEndlessVersionDocumentFailsAsItArrives) {
    ServeEndlessly(secure, "/ver.xml?" + std::to_string(kNow));
    EXPECT_EQ(Run().stage, Stage::Finished);
    EXPECT_TRUE(LeftNothingOf(site->Url("/ver.xml?" + std::to_string(kNow))));
}

TEST_F(UpdateCheckTest, WithoutAnAddressNothingIsAsked) {
    EXPECT_EQ(Run("").stage, Stage::Finished);
    EXPECT_EQ(site->Connections(), 0);
}

TEST_F(UpdateCheckTest, AWorkingCopyThatCannotBeWrittenBesideTheProgramGoesToTheTemporaryFolder) {
    const std::string blocked = env.ProgramFolder() + "/config.xml";
    fs::create_directories(blocked + "/keep");
    ServeDocument(Offer("1.0.1.0", ServeInstaller("/setup.sh")));

    const Outcome outcome = Run();
    EXPECT_TRUE(outcome.exited);
    EXPECT_TRUE(InstallerRan());
    EXPECT_TRUE(fs::is_directory(blocked + "/keep")) << "what stood there is untouched";
    EXPECT_TRUE(fs::is_empty(temp)) << "the copy in the temporary folder is gone too";
}

}  // namespace

namespace {

// A client with update keys, and an operator who signs with a key of this test's own. Over plain http:
// the signature is what is trusted.
class SignedUpdateTest : public UpdateCheckTest {
protected:
    SignedUpdateTest() {
        unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
        crypto_sign_keypair(publicKey, key.key.data());
        randombytes_buf(key.id.data(), key.id.size());
        updateKey = minisign::PublicKeyText(key);
        site = &server;
    }

    // The signature file the client finds beside the document; a 404 for an empty one.
    void ServeSignature(const std::string& signature) {
        site->Get("/ver.xml.minisig?" + std::to_string(kNow),
                  [signature](const httplib::Request&, httplib::Response& response) {
                      response.status = signature.empty() ? 404 : 200;
                      response.set_content(signature, "text/plain");
                  });
    }
    std::string Sign(const std::string& document, std::uint64_t signedAt) const {
        return minisign::Sign(key, document,
                              "timestamp:" + std::to_string(signedAt) + "\tfile:ver.xml\thashed");
    }
    // The newest signature time kept for this user.
    std::uint64_t KeptTimestamp() const {
        platform::RegistryKey registry;
        std::uint64_t newest = 0;
        EXPECT_EQ(
            registry.Open(HKEY_CURRENT_USER, ClientConfig::Instance().m_strRegPath, KEY_READ | KEY_WRITE),
            ERROR_SUCCESS);
        EXPECT_EQ(registry.RaiseQword(CUpdateCheck::kTimestampValue, 0, newest), ERROR_SUCCESS);
        return newest;
    }

    minisign::SecretKey key;
};

}  // namespace

// One user's starts in a row: the newest signature time seen carries from one to the next.
TEST_F(SignedUpdateTest, OnlyADocumentSignedByAnUpdateKeyAndNotOlderThanOneSeenBringsItsInstaller) {
    const std::string digest = " sha256='" + platform::Sha256Hex(Script().data(), Script().size()) + "'";
    constexpr std::uint64_t kSigned = 1765400000;
    enum class Signature { Own, None, OtherDocument };
    const struct {
        const char* name;
        std::string extra;  // attributes of CLIENT besides version and url
        Signature signature;
        std::uint64_t signedAt;
        const char* key;      // null: the test's own
        const char* refusal;  // null: the installer runs
    } cases[] = {
        {"signed", digest, Signature::Own, kSigned, nullptr, nullptr},
        {"unsigned", digest, Signature::None, kSigned, nullptr, "no signature arrived"},
        {"other-documents-signature", digest, Signature::OtherDocument, kSigned, nullptr, "does not match"},
        {"replayed-older", digest, Signature::Own, kSigned - 60, nullptr, "an old document sent again"},
        {"same-time-again", digest, Signature::Own, kSigned, nullptr, nullptr},
        {"no-digest", "", Signature::Own, kSigned + 60, nullptr, "names no sha256"},
        {"malformed-key", digest, Signature::Own, kSigned + 60, "RWQnot-a-key", "updateKey is malformed"},
    };
    const std::string ownKey = updateKey;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(marker);
        const std::string path = std::string("/setup-") + c.name + ".sh";
        const std::string document = Offer("1.0.1.0", ServeInstaller(path), c.extra);
        ServeDocument(document);
        ServeSignature(c.signature == Signature::None ? ""
                       : c.signature == Signature::OtherDocument
                           ? Sign(Offer("1.0.0.1", site->Url(path), c.extra), c.signedAt)
                           : Sign(document, c.signedAt));
        updateKey = c.key != nullptr ? c.key : ownKey;

        testing::internal::CaptureStderr();
        const Outcome outcome = Run();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(RequestsFor("/ver.xml.minisig"), RequestsFor("/ver.xml")) << "each start asks for both";
        EXPECT_EQ(RequestsFor(path), c.refusal == nullptr ? 1 : 0);
        EXPECT_EQ(outcome.exited, c.refusal == nullptr);
        EXPECT_EQ(c.refusal == nullptr ? InstallerRan() : fs::exists(marker), c.refusal == nullptr);
        if (c.refusal != nullptr) {
            EXPECT_NE(said.find(c.refusal), std::string::npos) << said;
        }
    }
    EXPECT_EQ(KeptTimestamp(), kSigned + 60) << "a verified document raises the time even if refused later";
}

TEST_F(UpdateCheckTest, WithoutAnUpdateKeyOnlyADocumentAndAnInstallerBothOverHttpsRun) {
    const struct {
        const char* name;
        bool documentSecure;
        bool installerSecure;
        bool runs;
    } cases[] = {
        {"both-http", false, false, false},
        {"http-document", false, true, false},
        {"http-installer", true, false, false},
        {"both-https", true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(marker);
        const std::string path = std::string("/setup-") + c.name + ".sh";
        site = c.installerSecure ? &secure : &server;
        const std::string installer = ServeInstaller(path);
        site = c.documentSecure ? &secure : &server;
        ServeDocument(Offer("1.0.1.0", installer));

        testing::internal::CaptureStderr();
        const Outcome outcome = Run();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(outcome.exited, c.runs);
        EXPECT_EQ(c.runs ? InstallerRan() : fs::exists(marker), c.runs);
        site = c.installerSecure ? &secure : &server;
        EXPECT_EQ(RequestsFor(path), c.runs ? 1 : 0) << "an installer that may not run is not even fetched";
        EXPECT_EQ(said.find("updates run only over https") != std::string::npos, !c.runs) << said;
    }
}
