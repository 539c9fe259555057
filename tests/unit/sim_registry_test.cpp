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
    EXPECT_EQ(sim().SaveRegistry("HKEY_CURRENT_USER\\software\\disk tools"),
              "REGEDIT4\n\n"
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
        "[HKEY_CURRENT_USER\\Software\\Disk Tools]\n"
        "@=\"default\"\n"
        "\"Path\"=\"C:\\\\WINDOWS\\\\\\\"quoted\\\"\"\n"
        "\"Count\"=dword:0000000a\n"
        "\"Bytes\"=hex:01,ff,00\n"
        "\"Expand\"=hex(2):25,00\n"
        "\"Lines\"=hex(1):61,0d,0a,00\n\n"
        "[HKEY_CURRENT_USER\\Software\\Disk Tools\\Empty]\n\n";
    const std::string more =
        "[HKEY_LOCAL_MACHINE\\HARDWARE]\n\n"
        "[HKEY_LOCAL_MACHINE\\HARDWARE\\Setup]\n"
        "\"Short\"=hex(4):01,02\n\n";
    ASSERT_TRUE(sim().LoadRegistry("REGEDIT4\n\n" + text + more));
    EXPECT_EQ(sim().SaveRegistry("HKEY_CURRENT_USER\\Software\\Disk Tools"), "REGEDIT4\n\n" + text);
    EXPECT_EQ(sim().SaveRegistry("HKEY_LOCAL_MACHINE\\HARDWARE"), "REGEDIT4\n\n" + more);
    EXPECT_EQ(sim().StringValue(RegRoot::CurrentUser, "Software\\Disk Tools", "path"),
              "C:\\WINDOWS\\\"quoted\"");
    EXPECT_EQ(sim().DwordValue(RegRoot::CurrentUser, "Software\\Disk Tools", "Count"), 10u);
}

// The keys a machine of each version has before anything was installed,
// whole; setting another version takes away the keys of the one before.
TEST(SimRegistryOfVersion, HoldsTheKeysEveryMachineOfItsVersionHas) {
    platform::sim::SimMachine sim;
    EXPECT_EQ(sim.SaveRegistry(),
              "REGEDIT4\n\n"
              "[HKEY_CURRENT_USER\\Software]\n\n"
              "[HKEY_CURRENT_USER\\Software\\Microsoft]\n\n"
              "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows]\n\n"
              "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion]\n\n"
              "[HKEY_LOCAL_MACHINE\\Enum]\n\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft]\n\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows]\n\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\n\n"
              "[HKEY_LOCAL_MACHINE\\System]\n\n"
              "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet]\n\n"
              "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control]\n\n"
              "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services]\n\n"
              "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class]\n\n"
              "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD]\n\n");
    sim.LoadRegistry("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Enum\\PCI]\n");
    sim.SetVersion(version::kWindowsNT4);
    EXPECT_EQ(sim.SaveRegistry("HKEY_LOCAL_MACHINE"),
              "REGEDIT4\n\n"
              "[HKEY_LOCAL_MACHINE]\n\n"
              "[HKEY_LOCAL_MACHINE\\Enum]\n\n"
              "[HKEY_LOCAL_MACHINE\\Enum\\PCI]\n\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft]\n\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows]\n\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\n\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT]\n\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\n\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM]\n\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet]\n\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control]\n\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum]\n\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services]\n\n");
}

// Windows 95 and 98 refuse a value name past 255 bytes and a value past
// 16,300 bytes, and Windows 95 a key past 61,440 bytes of names, data and 16
// bytes a value; each refusal is recorded with the value it would have
// written.
TEST_F(SimRegistry, TheWindows9xLimitsAreRecordedWhereTheyRefuseAWrite) {
    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\Disk Tools";
    const std::string where = "HKEY_LOCAL_MACHINE\\" + key + "\\";
    const RegHandle handle = Create(RegRoot::LocalMachine, key);
    const std::vector<char> full(16300, 'x');
    EXPECT_EQ(registry().SetValue(handle, std::string(256, 'N'), RegType::String, Text("x")), 87);
    EXPECT_EQ(registry().SetValue(handle, "Big", RegType::String, std::vector<char>(16301)), 14);
    for (const char* name : {"A", "B", "C"}) {
        ASSERT_EQ(registry().SetValue(handle, name, RegType::String, full), 0);
    }
    EXPECT_EQ(registry().SetValue(handle, "E", RegType::String, std::vector<char>(12473)), 14);
    EXPECT_EQ(registry().SetValue(handle, "E", RegType::String, std::vector<char>(12472)), 0);
    sim().SetVersion(version::kWindows98);
    EXPECT_EQ(registry().SetValue(handle, "F", RegType::String, Text("more")), 0);
    EXPECT_EQ(registry().SetDefaultValue(RegRoot::LocalMachine, key, std::string(16300, 'x')), 14);
    registry().CloseKey(handle);

    const std::vector<platform::sim::VersionDifferenceMet> met = {
        {"registry-value-name-255", where + std::string(256, 'N'), 0},
        {"registry-value-16300", where + "Big", 0},
        {"registry-key-60k", where + "E", 0},
        {"registry-value-16300", "HKEY_LOCAL_MACHINE\\" + key, 0},
    };
    EXPECT_EQ(sim().VersionDifferencesMet(), met);
}

// On the NT family names and strings reach the registry through the code
// page: a Shift-JIS product key on a Chinese system is stored with "?" for
// each pair Big5 lacks, and each such name is recorded; Windows 95 and 98
// store the bytes as written.
TEST_F(SimRegistry, TheNtFamilyStoresNamesThroughTheCodePage) {
    sim().SetLcid(0x0404);
    const std::string product = "Software\\\x83\x77\x83\x8B\x83\x76";
    for (const std::uint32_t v : {version::kWindows98, version::kWindowsNT4}) {
        sim().SetVersion(v);
        const RegHandle key = Create(RegRoot::CurrentUser, product);
        ASSERT_EQ(registry().SetValue(key, "\x83\x8B", RegType::String, Text("\x83\x77\x83\x8B")),
                  0);
        std::vector<char> data;
        EXPECT_EQ(registry().QueryValue(key, "\x83\x8B", 100, data), 0);
        registry().CloseKey(key);
    }
    EXPECT_EQ(sim().StringValue(RegRoot::CurrentUser, product, "\x83\x8B"), "\x83\x77\x83\x8B");
    EXPECT_EQ(sim().StringValue(RegRoot::CurrentUser, "Software\\\x83\x77?\x83\x76", "?"),
              "\x83\x77?");
    const std::string where = "HKEY_CURRENT_USER\\" + product;
    const std::string stored = "HKEY_CURRENT_USER\\Software\\\x83\x77?\x83\x76\\\x83\x8B";
    const std::vector<platform::sim::VersionDifferenceMet> met = {
        {"registry-name-code-page", where, 0},
        {"registry-name-code-page", stored, 0},
        {"registry-name-code-page", stored, 0},
        {"registry-name-code-page", stored, 0},
    };
    EXPECT_EQ(sim().VersionDifferencesMet(), met);
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
