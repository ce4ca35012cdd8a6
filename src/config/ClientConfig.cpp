#include "config/ClientConfig.h"

#include <tinyxml.h>

#include "platform/base/resources.h"
#include "platform/base/text.h"
#include "util/XmlBytes.h"

namespace {

constexpr int kConfigResourceId = 400;

std::unique_ptr<ClientConfig>& Slot() {
    static std::unique_ptr<ClientConfig> config;
    return config;
}

ClientConfig::SetupStep& InstalledStep() {
    static ClientConfig::SetupStep step;
    return step;
}

const TiXmlElement* FirstChildElement(const TiXmlNode* node) {
    for (const TiXmlNode* child = node->FirstChild(); child != nullptr; child = child->NextSibling()) {
        if (const TiXmlElement* element = child->ToElement()) {
            return element;
        }
    }
    return nullptr;
}

}  // namespace

ClientConfig& ClientConfig::Instance() {
    if (!Slot()) {
        // Published before the set-up runs, so code it calls that asks for the configuration gets this
        // one instead of creating a second.
        Slot() = std::make_unique<ClientConfig>();
        Slot()->LoadDocument();
        if (InstalledStep()) {
            InstalledStep()(*Slot());
        }
    }
    return *Slot();
}

void ClientConfig::InstallSetupStep(SetupStep step) {
    InstalledStep() = std::move(step);
}

void ClientConfig::DestroyInstance() {
    Slot().reset();
}

ClientConfig::ClientConfig() : m_pDocument(std::make_unique<TiXmlDocument>()) {}

ClientConfig::~ClientConfig() {
    m_settings.Save(m_strRegPath);
}

void ClientConfig::LoadDocument() {
    platform::ResourceBytes bytes = platform::FindResource("XML", kConfigResourceId);
    if (bytes.empty() || bytes.size == 0) {
        return;
    }
    LoadDocumentFromBytes(reinterpret_cast<const char*>(bytes.data), bytes.size);
}

void ClientConfig::LoadDocumentFromBytes(const char* data, std::size_t size) {
    m_pDocument = std::make_unique<TiXmlDocument>();
    m_bUtf8 = ParseXmlBytes(*m_pDocument, data, size);
}

std::wstring ClientConfig::Value(const char* key) const {
    const TiXmlElement* root = FirstChildElement(m_pDocument.get());
    const TiXmlElement* config = root != nullptr ? FirstChildElement(root) : nullptr;
    const char* value = config != nullptr ? config->Attribute(key) : nullptr;
    if (value == nullptr) {
        return {};
    }
    return m_bUtf8 ? platform::Utf8ToWide(value) : platform::AnsiToWide(value);
}
