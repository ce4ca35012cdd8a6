#include "config_check.h"

#include <tinyxml.h>

#include "config/ConfigKeys.h"
#include "util/Minisign.h"

namespace resc {
namespace {

std::string Attribute(const TiXmlElement& element, const char* name) {
    const char* value = element.Attribute(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::vector<std::string> CheckClientConfig(const std::vector<ManifestEntry>& entries,
                                           const std::string& name) {
    std::vector<std::string> warnings;
    for (const ManifestEntry& entry : entries) {
        if (entry.type != "XML" || entry.id != kClientConfigId) {
            continue;
        }
        TiXmlDocument document;
        document.Parse(entry.bytes.c_str());
        const TiXmlElement* root = document.FirstChildElement();
        const TiXmlElement* config = root != nullptr ? root->FirstChildElement() : nullptr;
        if (document.Error() || config == nullptr) {
            continue;  // the client runs without a configuration it cannot read; nothing to warn of here
        }
        const std::string where = name + ":" + std::to_string(entry.line) + ": warning: ";
        const std::string keyText = Attribute(*config, NameOf(ConfigKey::UpdateKey));
        std::vector<minisign::PublicKey> keys;
        if (keyText.find_first_not_of(" \t\r\n,") == std::string::npos) {
            if (!Attribute(*config, NameOf(ConfigKey::ConfigParam)).empty()) {
                warnings.push_back(where + "configParam without updateKey: updates run only over https");
            }
        } else if (!minisign::ParsePublicKeys(keyText, keys)) {
            warnings.push_back(where + "updateKey is malformed (each key is the 56-character line of a " +
                               "minisign public key): every version document will be refused");
        }
    }
    return warnings;
}

}  // namespace resc
