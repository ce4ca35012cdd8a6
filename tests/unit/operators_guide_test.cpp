// The operator's guide names every configuration key and every skin element and attribute the parsers
// read, each in the part of the guide about it, and marks the keys the shipped configuration carries
// that nothing reads.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <sstream>
#include <string>
#include <vector>

#include "config/ConfigKeys.h"
#include "skin/SkinSchema.h"
#include "support/TempDir.h"

namespace {

std::string Quoted(const std::string& name) {
    return "`" + name + "`";
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

int HeadingLevel(const std::string& line) {
    const std::size_t hashes = line.find_first_not_of('#');
    return hashes != std::string::npos && hashes > 0 && line[hashes] == ' ' ? static_cast<int>(hashes) : 0;
}

// The text under the first heading that names `name` in backticks, down to the next heading of the same
// or a higher level; empty when no heading names it.
std::string PartAbout(const std::vector<std::string>& lines, const std::string& name) {
    std::string part;
    int level = 0;
    for (const std::string& line : lines) {
        const int heading = HeadingLevel(line);
        if (level == 0) {
            level = heading > 0 && line.find(Quoted(name)) != std::string::npos ? heading : 0;
        } else if (heading > 0 && heading <= level) {
            break;
        }
        if (level > 0) {
            part += line + "\n";
        }
    }
    return part;
}

class OperatorsGuide : public ::testing::Test {
protected:
    std::string guide = ReadWholeFile(OPERATORS_GUIDE);
    std::vector<std::string> lines = Lines(guide);
};

TEST_F(OperatorsGuide, NamesEveryConfigurationKey) {
    ASSERT_FALSE(guide.empty()) << OPERATORS_GUIDE;
    for (const ConfigKeyName& key : kConfigKeys) {
        EXPECT_NE(guide.find(Quoted(key.name)), std::string::npos) << key.name;
    }
}

TEST_F(OperatorsGuide, DescribesEverySkinElementWithItsAttributesUnderItsOwnHeading) {
    for (const SkinElementSchema* schema : SkinSchema()) {
        // A window's section is named by the window; the launcher's stands for both.
        const std::string element = *schema->element != '\0' ? schema->element : "MAINWND";
        const std::string part = PartAbout(lines, element);
        ASSERT_FALSE(part.empty()) << "no heading names " << Quoted(element);
        for (const char* attribute : schema->attributes) {
            EXPECT_NE(part.find(Quoted(attribute)), std::string::npos) << element << " " << attribute;
        }
    }
}

TEST_F(OperatorsGuide, MarksTheShippedKeysNothingReadsAsIgnored) {
    TiXmlDocument shipped;
    ASSERT_TRUE(shipped.LoadFile(SHIPPED_CONFIG)) << SHIPPED_CONFIG;
    const TiXmlElement* config = shipped.RootElement()->FirstChildElement();
    ASSERT_NE(config, nullptr);
    for (const TiXmlAttribute* attribute = config->FirstAttribute(); attribute;
         attribute = attribute->Next()) {
        const std::string name = attribute->Name();
        bool read = false;
        for (const ConfigKeyName& key : kConfigKeys) {
            read = read || name == key.name;
        }
        if (read) {
            continue;
        }
        bool marked = false;
        for (const std::string& line : lines) {
            marked = marked || (line.find(Quoted(name)) != std::string::npos &&
                                line.find("ignored") != std::string::npos);
        }
        EXPECT_TRUE(marked) << Quoted(name) << " is read by nothing: the guide must say it is ignored";
    }
}

}  // namespace
