// The udev rule that opens the instrument's node to the user must grant
// exactly what the program accepts: wider opens other devices, narrower leaves
// an accepted instrument that "could not be opened".
#include "core/link/DeviceRecognition.h"

#include <gtest/gtest.h>

#include <fnmatch.h>

#include <cctype>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace kavlon {
namespace {

// The USB strings of a device as sysfs shows them; a missing one has no attribute.
struct UsbStrings {
    std::optional<std::string> manufacturer;
    std::optional<std::string> product;
    std::optional<std::string> serial;
};

struct Key {
    std::string name; // SUBSYSTEM, ATTRS{product}, TAG, ...
    std::string op;
    std::string value;
};

std::vector<std::vector<Key>> readRules(const std::string& path) {
    std::ifstream in(path);
    EXPECT_TRUE(in) << path;
    static const std::regex key(R"re(\s*([A-Z]+(?:\{[^}]*\})?)\s*(==|!=|\+=|-=|:=|=)\s*"([^"]*)"\s*(,|$))re");
    std::vector<std::vector<Key>> rules;
    for (std::string line; std::getline(in, line);) {
        if (line.find_first_not_of(" \t") == std::string::npos || line[line.find_first_not_of(" \t")] == '#')
            continue;
        std::vector<Key> keys;
        std::size_t parsed = 0;
        for (std::sregex_iterator it(line.begin(), line.end(), key), end; it != end; ++it) {
            keys.push_back({(*it)[1], (*it)[2], (*it)[3]});
            parsed += std::size_t(it->length());
        }
        EXPECT_EQ(parsed, line.size()) << "a part of this line is no key: " << line;
        rules.push_back(keys);
    }
    return rules;
}

// udev's string match: '|' separates alternatives, each a shell glob.
bool globMatches(const std::string& patterns, const std::string& value) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = patterns.find('|', start);
        const std::string pattern = patterns.substr(start, bar - start);
        if (fnmatch(pattern.c_str(), value.c_str(), 0) == 0)
            return true;
        if (bar == std::string::npos)
            return false;
        start = bar + 1;
    }
}

// An ATTRS match as udev makes it: a missing attribute never matches, whatever
// the operator; trailing whitespace of the value is ignored unless the pattern
// itself ends in whitespace.
bool attributeMatches(const Key& key, const std::optional<std::string>& attribute) {
    if (!attribute)
        return false;
    std::string value = *attribute;
    if (!key.value.empty() && !std::isspace(static_cast<unsigned char>(key.value.back())))
        value.erase(value.find_last_not_of(" \t\n\r") + 1);
    return globMatches(key.value, value) == (key.op == "==");
}

bool keyMatches(const Key& key, const UsbStrings& usb) {
    const std::map<std::string, const std::optional<std::string>*> attributes = {
        {"ATTRS{manufacturer}", &usb.manufacturer},
        {"ATTRS{product}", &usb.product},
        {"ATTRS{serial}", &usb.serial},
    };
    if (key.name == "SUBSYSTEM")
        return globMatches(key.value, "hidraw") == (key.op == "==");
    const auto attribute = attributes.find(key.name);
    if (attribute == attributes.end()) {
        ADD_FAILURE() << "the rule uses a key this test cannot judge: " << key.name;
        return false;
    }
    return attributeMatches(key, *attribute->second);
}

// Runs the rules in order on a hidraw node; true when the user gets access.
bool ruleGrantsAccess(const std::vector<std::vector<Key>>& rules, const UsbStrings& usb) {
    std::set<std::string> tags;
    for (const auto& rule : rules) {
        bool matches = true;
        for (const Key& key : rule)
            if (key.op == "==" || key.op == "!=")
                matches = matches && keyMatches(key, usb);
        if (!matches)
            continue;
        for (const Key& key : rule) {
            if (key.name != "TAG")
                continue;
            if (key.op == "=" || key.op == ":=")
                tags.clear();
            if (key.op == "-=")
                tags.erase(key.value);
            else
                tags.insert(key.value);
        }
    }
    return tags.count("uaccess") == 1;
}

bool programAccepts(const UsbStrings& usb) {
    return isInstrumentDeviceString(deviceStringOf(
        {"", usb.manufacturer.value_or(""), usb.product.value_or(""), usb.serial.value_or("")}));
}

struct RuleCase {
    UsbStrings usb;
    bool instrument;
};

const std::optional<std::string> kNone;

// udev ignores trailing whitespace in an attribute and the program does not:
// an adapter whose product or serial string ends in blanks is the one case
// the rule cannot follow, and no instrument sends one.
const RuleCase kRuleCases[] = {
    {{"Quorvel", "Scope Interface", kNone}, true},
    {{"Quorvel", "Scope Interface", "SIM0001"}, true},
    {{"Quorvel", "Scope Interface 2", kNone}, true},
    {{"Quorvel", "Scope InterfaceX", "7"}, true},
    {{"Quorvel", "Scope Interface Rev. B", "A1"}, true},
    {{"Quorvel", "Scope Interfac", kNone}, false},
    {{"Quorvel", "scope interface", kNone}, false},
    {{"Quorvel", "Scope  Interface", kNone}, false},
    {{"Quorvel", "Old Scope Interface", kNone}, false},
    {{"Quorvel", kNone, kNone}, false},
    {{"Quorvel", "Serial Adapter Bench Scope", kNone}, true},
    {{"Quorvel", "Serial Adapter Bench Scope", "A1"}, false},
    {{"Quorvel", "Serial Adapter Bench Scope 2", kNone}, false},
    {{"Quorvel", "Serial Adapter Bench Scop", kNone}, false},
    {{"Quorvel", "USB Serial Adapter Bench Scope", kNone}, false},
    {{"Quorvel", "Other Bench Scope", kNone}, false},
    {{"Quorvel Ltd", "Serial Adapter Bench Scope", kNone}, false},
    {{"Quorvel Ltd", "Scope Interface", kNone}, false},
    {{"Quorvelo", "Scope Interface", kNone}, false},
    {{kNone, "Scope Interface", kNone}, false},
    {{"Other", "Serial Adapter Bench Scope", kNone}, false},
};

TEST(UdevRule, GrantsAccessToExactlyWhatTheProgramAccepts) {
    const auto rules = readRules(KAVLON_UDEV_RULES);
    ASSERT_FALSE(rules.empty());
    for (const RuleCase& c : kRuleCases) {
        const std::string shown = "manufacturer \"" + c.usb.manufacturer.value_or("(none)") +
                                  "\", product \"" + c.usb.product.value_or("(none)") + "\", serial \"" +
                                  c.usb.serial.value_or("(none)") + "\"";
        EXPECT_EQ(programAccepts(c.usb), c.instrument) << shown;
        EXPECT_EQ(ruleGrantsAccess(rules, c.usb), c.instrument) << shown;
    }
}

} // namespace
} // namespace kavlon
