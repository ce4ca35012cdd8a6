#pragma once
// The process-wide client configuration: the CLIENTCONFIG document compiled into the program (resource
// "XML" 400), answering lookups of named keys, plus the user settings and three texts filled during
// start-up.

#include <functional>
#include <memory>
#include <string>

#include "config/ConfigKeys.h"
#include "config/UserSettings.h"

class TiXmlDocument;

class ClientConfig {
public:
    using SetupStep = std::function<void(ClientConfig&)>;

    // The single configuration. The first call creates it, loads the embedded document and runs the
    // installed set-up step before returning; later calls return the same object.
    static ClientConfig& Instance();
    // The step the first Instance() runs once the document is loaded: the application installs the
    // environment set-up here before it first asks for the configuration. None installed: nothing runs.
    static void InstallSetupStep(SetupStep step);
    // Destroys the configuration (which writes the user settings back); the next Instance() starts
    // anew. The application object calls it at exit.
    static void DestroyInstance();

    ClientConfig();
    ~ClientConfig();
    ClientConfig(const ClientConfig&) = delete;
    ClientConfig& operator=(const ClientConfig&) = delete;

    // Loads resource "XML" 400; without it (or with size 0) the document stays empty.
    void LoadDocument();
    void LoadDocumentFromBytes(const char* data, std::size_t size);

    // The attribute `key` of the first element of the first element, as wide text; empty when absent.
    std::wstring Value(const char* key) const;

    std::wstring Value(ConfigKey key) const { return Value(NameOf(key)); }

    std::wstring UserClientAbout() const { return Value(ConfigKey::UserClientAbout); }
    // The frame's window class name.
    std::wstring ImClass() const { return Value(ConfigKey::ImClass); }
    std::wstring HomeUrl() const { return Value(ConfigKey::HomeUrl); }
    std::wstring GwUrl() const { return Value(ConfigKey::GwUrl); }
    std::wstring GwLink() const { return Value(ConfigKey::GwLink); }
    std::wstring PaymentUrl() const { return Value(ConfigKey::PaymentUrl); }
    std::wstring BbsUrl() const { return Value(ConfigKey::BbsUrl); }
    std::wstring KfUrl() const { return Value(ConfigKey::KfUrl); }
    std::wstring GameCheck() const { return Value(ConfigKey::GameCheck); }
    std::wstring LoginCheck() const { return Value(ConfigKey::LoginCheck); }
    std::wstring ConfigParam() const { return Value(ConfigKey::ConfigParam); }
    // The public keys, minisign's, that sign the version document: blanks or commas between them.
    std::wstring UpdateKey() const { return Value(ConfigKey::UpdateKey); }
    std::wstring UserInfoUrl() const { return Value(ConfigKey::UserInfoUrl); }
    std::wstring PwKey() const { return Value(ConfigKey::PwKey); }
    std::wstring RunPlugin() const { return Value(ConfigKey::RunPlugin); }
    std::wstring QuitTip() const { return Value(ConfigKey::QuitTip); }
    std::wstring Cache() const { return Value(ConfigKey::Cache); }

    UserSettings m_settings;
    std::wstring m_strPluginPath;  // set by the plug-in probe of the environment set-up
    std::wstring m_strFrameClass;  // the frame's registered window class name
    std::wstring m_strRegPath;     // "SOFTWARE\Velmora\<userClientAbout>", formed by the set-up

private:
    std::unique_ptr<TiXmlDocument> m_pDocument;
    bool m_bUtf8 = false;  // the document declared UTF-8; its values are not in the ANSI code page
};
