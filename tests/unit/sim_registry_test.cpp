// The simulated registry: names without regard to case, typed values,
// handles, the two families' key deletion, denied writes and REGEDIT4 text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_fixture.h"

namespace setup32::testing {
namespace {

using platform::RegAccess;
using platform::RegHandle;
using platform::RegRoot;
using platform::RegType;
namespace win_error = platform::win_error;
namespace version = platform::sim::version;

std::vector<char> Text(const std::string& text) {
    std::vector<char> data(text.begin(), text.end());
    data.push_back('\0');
    return data;
}

class SimRegistry : public SimFixture {
  protected:
    platform::Registry& registry() { return machine().registry; }
    RegHandle Create(RegRoot root, const std::string& subkey) {
        RegHandle key = 0;
        EXPECT_EQ(registry().CreateKey(root, subkey, key, nullptr), 0) << subkey;
        return key;
    }
};

TEST_F(SimRegistry, NamesMatchWithoutCaseButKeepTheirFirstSpelling) {
    bool created = false;
    RegHandle key = 0;
    ASSERT_EQ(registry().CreateKey(RegRoot::CurrentUser, "Software\\Disk Tools", key, &created), 0);
    EXPECT_TRUE(created);
    ASSERT_EQ(registry().SetValue(key, "Installed1", RegType::String, Text("C:\\A.SYS")), 0);
    ASSERT_EQ(registry().SetValue(key, "INSTALLED1", RegType::String, Text("C:\\B.SYS")), 0);
    ASSERT_EQ(registry().CloseKey(key), 0);

    ASSERT_EQ(registry().CreateKey(RegRoot::CurrentUser, "SOFTWARE\\disk tools", key, &created), 0);
    EXPECT_FALSE(created);
    std::vector<char> data;
    EXPECT_EQ(registry().QueryValue(key, "installed1", 260, data), 0);
    EXPECT_EQ(data, Text("C:\\B.SYS"));
    EXPECT_EQ(registry().CloseKey(key), 0);
    EXPECT_EQ(registry().CloseKey(key), win_error::kInvalidHandle);

    EXPECT_EQ(sim().ValueNames(RegRoot::CurrentUser, "software\\DISK TOOLS"),
              std::vector<std::string>{"Installed1"});
    EXPECT_EQ(sim().SaveRegistry("HKEY_CURRENT_USER\\software"),
              "REGEDIT4\n\n"
              "[HKEY_CURRENT_USER\\Software]\n\n"
              "[HKEY_CURRENT_USER\\Software\\Disk Tools]\n"
              "\"Installed1\"=\"C:\\\\B.SYS\"\n\n");
    EXPECT_FALSE(sim().KeyExists(RegRoot::LocalMachine, "Software\\Disk Tools"));
}

TEST_F(SimRegistry, ValuesAreQueriedWithinTheCallersCapacity) {
    const RegHandle key = Create(RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\X");
    const std::vector<char> four = {4, 0, 0, 0};
    ASSERT_EQ(registry().SetValue(key, "Start", RegType::Dword, four), 0);
    EXPECT_EQ(
        sim().DwordValue(RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\X", "start"),
        4u);
    std::vector<char> data = {'x'};
    EXPECT_EQ(registry().QueryValue(key, "Start", 3, data),
              static_cast<long>(win_error::kMoreData));
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(registry().QueryValue(key, "Start", 4, data), 0);
    EXPECT_EQ(data, four);
    EXPECT_EQ(registry().QueryValue(key, "None", 4, data),
              static_cast<long>(win_error::kFileNotFound));
    EXPECT_EQ(registry().DeleteValue(key, "start"), 0);
    EXPECT_EQ(registry().DeleteValue(key, "start"), static_cast<long>(win_error::kFileNotFound));
    registry().CloseKey(key);
}

TEST_F(SimRegistry, SubkeysAreEnumeratedInOrderOfName) {
    for (const char* name : {"b", "C", "a"})
        Create(RegRoot::LocalMachine, std::string("Enum\\") + name);
    RegHandle key = 0;
    ASSERT_EQ(registry().OpenKey(RegRoot::LocalMachine, "enum", RegAccess::Read, key), 0);
    std::vector<std::string> names;
    std::string name;
    for (std::uint32_t i = 0; registry().EnumKey(key, i, name) == 0; ++i) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "C"}));
    EXPECT_EQ(registry().EnumKey(key, 3, name), static_cast<long>(win_error::kNoMoreItems));
}

TEST_F(SimRegistry, DeletingAKeyWithSubkeysDependsOnTheFamily) {
    struct Row {
        std::uint32_t version;
        long error;
        bool keyLeft;
    } const rows[] = {
        {version::kWindows95, 0, false},
        {version::kWindows98, 0, false},
        {version::kWindowsNT4, static_cast<long>(win_error::kAccessDenied), true},
        {version::kWindows2000, static_cast<long>(win_error::kAccessDenied), true},
    };
    const std::string device = "Enum\\PCI\\VEN_7A3E&DEV_6E02";
    for (const Row& row : rows) {
        sim().SetVersion(row.version);
        registry().CloseKey(Create(RegRoot::LocalMachine, device + "\\BUS_00&DEV_0A"));
        EXPECT_EQ(registry().DeleteKey(RegRoot::LocalMachine, device), row.error) << row.version;
        EXPECT_EQ(sim().KeyExists(RegRoot::LocalMachine, device), row.keyLeft) << row.version;
    }
    EXPECT_EQ(registry().DeleteKey(RegRoot::LocalMachine, device + "\\bus_00&dev_0a"), 0);
    EXPECT_EQ(registry().DeleteKey(RegRoot::LocalMachine, device), 0);
    EXPECT_EQ(registry().DeleteKey(RegRoot::LocalMachine, device),
              static_cast<long>(win_error::kFileNotFound));
}

TEST_F(SimRegistry, OnlyTheNtFamilyRefusesWritesThroughAReadHandle) {
    registry().CloseKey(Create(RegRoot::CurrentUser, "Software\\X"));
    const struct {
        std::uint32_t version;
        long error;
    } rows[] = {{version::kWindows95, 0},
                {version::kWindowsNT4, static_cast<long>(win_error::kAccessDenied)}};
    for (const auto& row : rows) {
        sim().SetVersion(row.version);
        RegHandle key = 0;
        ASSERT_EQ(registry().OpenKey(RegRoot::CurrentUser, "Software\\X", RegAccess::Read, key), 0);
        EXPECT_EQ(registry().SetValue(key, "v", RegType::String, Text("1")), row.error);
        EXPECT_EQ(registry().DeleteValue(key, "v"), row.error);
        registry().CloseKey(key);
    }
}

TEST_F(SimRegistry, AHandleToADeletedKeyReportsIt) {
    const RegHandle key = Create(RegRoot::CurrentUser, "Software\\Gone\\Child");
    ASSERT_EQ(registry().DeleteKey(RegRoot::CurrentUser, "Software\\Gone"), 0);  // Windows 95
    EXPECT_EQ(registry().SetValue(key, "x", RegType::String, Text("y")),
              static_cast<long>(win_error::kKeyDeleted));
    EXPECT_EQ(registry().CloseKey(key), 0);
}

TEST_F(SimRegistry, DeniedWritesFailWhileReadsGoOn) {
    sim().LoadRegistry(
        "REGEDIT4\n\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\UnInstall]\n"
        "\"Kept\"=\"yes\"\n");
    const std::string uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\UnInstall";
    sim().DenyRegistryWrites(RegRoot::LocalMachine, "SOFTWARE\\Microsoft");
    const long denied = win_error::kAccessDenied;

    RegHandle key = 0;
    EXPECT_EQ(registry().CreateKey(RegRoot::LocalMachine, uninstall + "\\Disk Tools", key, nullptr),
              denied);
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(registry().OpenKey(RegRoot::LocalMachine, uninstall, RegAccess::AllAccess, key),
              denied);
    EXPECT_EQ(registry().SetDefaultValue(RegRoot::LocalMachine, uninstall, "x"), denied);
    EXPECT_EQ(registry().DeleteKey(RegRoot::LocalMachine, uninstall), denied);

    ASSERT_EQ(registry().OpenKey(RegRoot::LocalMachine, uninstall, RegAccess::Read, key), 0);
    std::vector<char> data;
    EXPECT_EQ(registry().QueryValue(key, "Kept", 10, data), 0);
    EXPECT_EQ(registry().SetValue(key, "New", RegType::String, Text("x")), denied);
    EXPECT_EQ(registry().DeleteValue(key, "Kept"), denied);
    registry().CloseKey(key);

    EXPECT_EQ(registry().SetDefaultValue(RegRoot::LocalMachine, "Software\\Other", "ok"), 0);
    EXPECT_EQ(sim().StringValue(RegRoot::LocalMachine, "Software\\Other", ""), "ok");
}

TEST_F(SimRegistry, RegeditTextRoundTrips) {
    const std::string text =
        "REGEDIT4\n\n"
        "[HKEY_CURRENT_USER\\Software\\Disk Tools]\n"
        "@=\"default\"\n"
        "\"Path\"=\"C:\\\\WINDOWS\\\\\\\"quoted\\\"\"\n"
        "\"Count\"=dword:0000000a\n"
        "\"Bytes\"=hex:01,ff,00\n"
        "\"Expand\"=hex(2):25,00\n"
        "\"Lines\"=hex(1):61,0d,0a,00\n\n"
        "[HKEY_CURRENT_USER\\Software\\Disk Tools\\Empty]\n\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM]\n\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\Setup]\n"
        "\"Short\"=hex(4):01,02\n\n";
    ASSERT_TRUE(sim().LoadRegistry(text));
    EXPECT_EQ(sim().SaveRegistry(),
              "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\n" + text.substr(10));
    EXPECT_EQ(sim().StringValue(RegRoot::CurrentUser, "Software\\Disk Tools", "path"),
              "C:\\WINDOWS\\\"quoted\"");
    EXPECT_EQ(sim().DwordValue(RegRoot::CurrentUser, "Software\\Disk Tools", "Count"), 10u);
}

TEST_F(SimRegistry, RegeditTextDeletesAndJoinsContinuedLines) {
    ASSERT_TRUE(sim().LoadRegistry(
        "REGEDIT4\r\n\r\n[HKLM\\A\\B]\r\n\"v\"=\"1\"\r\n\"w\"=hex:01,\\\r\n  02\r\n"
        "[HKEY_LOCAL_MACHINE\\C]\r\n"));
    EXPECT_EQ(sim().ValueNames(RegRoot::LocalMachine, "A\\B"),
              (std::vector<std::string>{"v", "w"}));
    ASSERT_TRUE(sim().LoadRegistry(
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\\B]\n\"v\"=-\n[-HKEY_LOCAL_MACHINE\\C]\n"));
    EXPECT_EQ(sim().ValueNames(RegRoot::LocalMachine, "A\\B"), std::vector<std::string>{"w"});
    EXPECT_FALSE(sim().KeyExists(RegRoot::LocalMachine, "C"));
}

TEST_F(SimRegistry, MalformedRegeditTextChangesNothing) {
    const char* const texts[] = {
        "[HKEY_LOCAL_MACHINE\\A]\n",             // no REGEDIT4 line
        "REGEDIT4\n\"v\"=\"before any key\"\n",  // value without a key
        "REGEDIT4\n[HKEY_CLASSES_ROOT\\A]\n",    // a root we do not have
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=dword:123456789\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=hex:1g\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=\"open\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=\"bad \\n escape\"\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\nv=\"unquoted name\"\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\n",
    };
    for (const char* text : texts) {
        EXPECT_FALSE(sim().LoadRegistry(text)) << text;
        EXPECT_FALSE(sim().KeyExists(RegRoot::LocalMachine, "A")) << text;
    }
}

}  // namespace
}  // namespace setup32::testing
