// The checker's own text helpers: registry differences, code-page text,
// nearest names, line splitting and JSON strings.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "check/closest_name.h"
#include "check/json_writer.h"
#include "check/plan.h"
#include "check/profile_layout.h"
#include "check/registry_diff.h"
#include "check/text_encoding.h"

namespace setup32::check {
namespace {

constexpr const char* kHeader = "REGEDIT4\n\n";

std::string Describe(const RegistryChange& change) {
    const auto text = [](const std::optional<std::string>& data) { return data ? *data : "-"; };
    return change.key + "|" + (change.value ? *change.value : "(key)") + "|" + text(change.before) +
           "|" + text(change.after);
}

TEST(CheckRegistryDiff, ReportsWhatChangedAndNothingElse) {
    const struct {
        const char* name;
        std::string before;
        std::string after;
        std::vector<std::string> changes;
    } cases[] = {
        {"key made with a value",
         "",
         "[HKEY_CURRENT_USER\\A]\n\"v\"=\"1\"\n",
         {"HKEY_CURRENT_USER\\A|(key)|-|", "HKEY_CURRENT_USER\\A|\"v\"|-|\"1\""}},
        {"value changed, another kept",
         "[HKEY_LOCAL_MACHINE\\S]\n\"Start\"=dword:00000002\n\"Keep\"=\"x\"\n",
         "[HKEY_LOCAL_MACHINE\\S]\n\"Start\"=dword:00000004\n\"Keep\"=\"x\"\n",
         {"HKEY_LOCAL_MACHINE\\S|\"Start\"|dword:00000002|dword:00000004"}},
        {"key deleted with its values",
         "[HKEY_LOCAL_MACHINE\\E]\n\"D\"=\"adapter\"\n",
         "",
         {"HKEY_LOCAL_MACHINE\\E|(key)||-"}},
        {"value removed",
         "[HKEY_CURRENT_USER\\A]\n\"v\"=\"1\"\n@=\"\"\n",
         "[HKEY_CURRENT_USER\\A]\n@=\"\"\n",
         {"HKEY_CURRENT_USER\\A|\"v\"|\"1\"|-"}},
        {"names compared without case",
         "[HKEY_CURRENT_USER\\Software\\X]\n\"Name\"=\"1\"\n",
         "[HKEY_CURRENT_USER\\SOFTWARE\\x]\n\"NAME\"=\"1\"\n",
         {}},
    };
    for (const auto& test : cases) {
        std::vector<std::string> described;
        for (const RegistryChange& change :
             DiffRegistry(kHeader + test.before, kHeader + test.after)) {
            described.push_back(Describe(change));
        }
        EXPECT_EQ(test.changes, described) << test.name;
    }
}

// A real machine's export: thousands of keys, named in other cases after
// the run; only the one changed value is a difference.
TEST(CheckRegistryDiff, LargeExportsDifferOnlyWhereTheyChanged) {
    std::string before = kHeader;
    std::string after = kHeader;
    for (int key = 0; key < 20000; ++key) {
        const std::string name = "HKEY_LOCAL_MACHINE\\Software\\Vendor" + std::to_string(key);
        before += "[" + name + "]\n\"Value\"=\"" + std::to_string(key) + "\"\n\n";
        std::string upper = name;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        after += "[" + upper + "]\n\"VALUE\"=\"" + std::to_string(key == 777 ? -1 : key) + "\"\n\n";
    }
    const std::vector<RegistryChange> changes = DiffRegistry(before, after);
    ASSERT_EQ(1u, changes.size());
    EXPECT_EQ("HKEY_LOCAL_MACHINE\\SOFTWARE\\VENDOR777|\"VALUE\"|\"777\"|\"-1\"",
              Describe(changes.front()));
}

TEST(CheckTextEncoding, TellsCodePageTextFromOtherBytes) {
    const struct {
        const char* bytes;
        unsigned codePage;
        bool text;
        bool utf8;
        const char* shown;
    } cases[] = {
        {"plain", 1252, true, false, "plain"},
        {"\x95\x5C", 932, true, false, "\xE8\xA1\xA8"},  // a trail byte that looks like "\"
        {"\x81", 1252, false, false, "\\x81"},
        {"A\x82", 932, false, false, "A\\x82"},  // a lead byte cut off at the end
        {"caf\xC3\xA9", 1252, true, true, "caf\xC3\x83\xC2\xA9"},
        {"\xEF\xBB\xBF[Display]", 1252, true, true, "\xC3\xAF\xC2\xBB\xC2\xBF[Display]"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(test.text, IsTextIn(test.bytes, test.codePage)) << test.bytes;
        EXPECT_EQ(test.utf8, LooksLikeUtf8(test.bytes)) << test.bytes;
        EXPECT_EQ(test.shown, ToUtf8(test.bytes, test.codePage)) << test.bytes;
    }
}

TEST(CheckClosestName, FindsTheNameMeant) {
    const std::vector<std::string> sections = {"Display", "Win98 Driver Files", "Win98 Inf File",
                                               "Win95 Driver Files", "Modify"};
    EXPECT_EQ("Win98 Driver Files", ClosestName("Win98 Driver File", sections));
    EXPECT_EQ("Win98 Inf File", ClosestName("WIN98 INF FILES", sections));
    EXPECT_EQ(0u, EditDistance("display", "DISPLAY"));
    EXPECT_EQ("", ClosestName("Display", {}));
}

TEST(ProfileFileLines, EndWhereTheProfileServiceEndsALine) {
    const std::vector<std::string_view> expected = {"a", "b", "", "c", "d"};
    EXPECT_EQ(expected, ProfileFileLines("a\r\nb\r\rc\nd"));
}

TEST(CheckJson, StringsAndNestingAreValidJson) {
    EXPECT_EQ("\"a\\\"b\\\\c\\n\\u0001\"", JsonQuoted("a\"b\\c\n\x01"));
    JsonWriter json;
    json.BeginObject().Key("list").BeginArray().Number(1).Null().EndArray();
    json.Key("empty").BeginObject().EndObject().EndObject();
    EXPECT_EQ("{\n  \"list\": [\n    1,\n    null\n  ],\n  \"empty\": {}\n}\n", json.Text());
}

// Where a run met a difference whose source does not say what 95 and 98
// do: once for each file, with the lines in order.
TEST(CheckPlan, UncertainDifferencesAreGivenOnceForEachFileWithTheirLines) {
    const std::vector<platform::sim::VersionDifferenceMet> met = {
        {"win9x-control-char", "A:\\SETUP32.INI", 5},
        {"win9x-control-char", "A:\\SETUP32.INI", 3},
        {"win9x-control-char", "C:\\windows\\SETUP.INI", 0},
        {"win9x-control-char", "A:\\SETUP32.INI", 5},
    };
    const std::vector<Uncertainty> uncertain = UncertaintiesOf(met, 1252);
    ASSERT_EQ(2u, uncertain.size());
    EXPECT_EQ("A:\\SETUP32.INI", uncertain[0].path);
    EXPECT_EQ((std::vector<int>{3, 5}), uncertain[0].lines);
    EXPECT_EQ("95 98", uncertain[0].versions);
    EXPECT_EQ(std::string(platform::sim::VersionDifferenceById("win9x-control-char").behaviour),
              uncertain[0].behaviour);
    EXPECT_EQ("C:\\windows\\SETUP.INI", uncertain[1].path);
    EXPECT_TRUE(uncertain[1].lines.empty());
}

}  // namespace
}  // namespace setup32::check
