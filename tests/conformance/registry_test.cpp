// Registry calls: keys, values, the default value, enumeration and deletion.
#include <algorithm>
#include <string>
#include <vector>

#include "fixture.h"

namespace setup32::conformance {
namespace {

using platform::RegAccess;
using platform::RegKey;
using platform::RegRoot;
using platform::RegType;
namespace win_error = platform::win_error;

// A string value as stored: its bytes and the terminating NUL.
std::vector<char> StringData(const std::string& text) {
    std::vector<char> data(text.begin(), text.end());
    data.push_back('\0');
    return data;
}

class RegistryTest : public ConformanceTest {
  protected:
    RegistryTest() : registry_(machine_.registry), base_(backend_->ScratchRegistryKey()) {}

    RegKey Create(const std::string& subkey, bool* created = nullptr) {
        long error = -1;
        RegKey key =
            platform::CreateRegKey(registry_, RegRoot::CurrentUser, subkey, error, created);
        EXPECT_EQ(error, 0) << subkey;
        return key;
    }

    long OpenError(const std::string& subkey) {
        long error = -1;
        platform::OpenRegKey(registry_, RegRoot::CurrentUser, subkey, RegAccess::Read, error);
        return error;
    }

    std::vector<std::string> SubkeyNames(const std::string& subkey) {
        const RegKey key = Create(subkey);
        std::vector<std::string> names;
        std::string name;
        long error = 0;
        for (std::uint32_t index = 0; (error = registry_.EnumKey(key.get(), index, name)) == 0;
             ++index) {
            names.push_back(name);
        }
        EXPECT_EQ(error, win_error::kNoMoreItems);
        return names;
    }

    platform::Registry& registry_;
    const std::string base_;
};

TEST_F(RegistryTest, CreateTellsWhetherTheKeyIsNew) {
    const std::string nested = base_ + "\\software\\Disk Tools\\Deep";
    EXPECT_EQ(OpenError(nested), static_cast<long>(win_error::kFileNotFound));
    bool created = false;
    EXPECT_TRUE(Create(nested, &created));
    EXPECT_TRUE(created);
    EXPECT_TRUE(Create(nested, &created));
    EXPECT_FALSE(created);
    // Key names are matched without regard to case.
    EXPECT_EQ(OpenError(base_ + "\\SOFTWARE\\disk tools\\deep"), 0);
}

TEST_F(RegistryTest, BackslashesInARowOrAtTheEndCountAsOne) {
    struct Row {
        int line;
        const char* created;
        const char* opened;
    };
    const Row rows[] = {
        ROW("\\A\\\\B", "\\A\\B"),
        ROW("\\C\\D\\\\", "\\C\\D"),
        ROW("\\E\\", "\\\\E\\\\\\"),
        ROW("\\\\F\\\\\\G", "\\F\\G\\"),
    };
    for (const Row& row : rows) {
        TRACE_ROW(row);
        bool created = false;
        EXPECT_TRUE(Create(base_ + row.created, &created));
        EXPECT_TRUE(created);
        EXPECT_EQ(OpenError(base_ + row.opened), 0);
        EXPECT_TRUE(Create(base_ + row.opened, &created));
        EXPECT_FALSE(created);
    }
    EXPECT_EQ(SubkeyNames(base_), (std::vector<std::string>{"A", "C", "E", "F"}));
}

TEST_F(RegistryTest, ALeadingBackslashIsABadPathOnTheNtFamily) {
    if (IsWindows9x()) GTEST_SKIP() << "Windows 95 and 98 read a leading backslash otherwise";
    long error = -1;
    platform::CreateRegKey(registry_, RegRoot::CurrentUser, "\\" + base_, error, nullptr);
    EXPECT_EQ(error, static_cast<long>(win_error::kBadPathname));
    EXPECT_EQ(OpenError("\\" + base_), static_cast<long>(win_error::kBadPathname));
}

TEST_F(RegistryTest, QueryHonoursTheCapacity) {
    const RegKey key = Create(base_);
    const std::vector<char> path = StringData("C:\\WINDOWS\\X.SYS");  // 17 bytes
    const std::vector<char> four = {4, 0, 0, 0};
    ASSERT_EQ(registry_.SetValue(key.get(), "Path", RegType::String, path), 0);
    ASSERT_EQ(registry_.SetValue(key.get(), "Start", RegType::Dword, four), 0);

    struct Row {
        int line;
        const char* name;
        std::uint32_t capacity;
        long error;
        std::vector<char> data;  // when the query succeeds
    };
    const Row rows[] = {
        ROW("Path", 255, 0, path),
        ROW("path", 17, 0, path),
        ROW("Path", 16, win_error::kMoreData, {}),
        ROW("Path", 0, win_error::kMoreData, {}),
        ROW("Start", 4, 0, four),
        ROW("Start", 3, win_error::kMoreData, {}),
        ROW("Missing", 255, win_error::kFileNotFound, {}),
    };
    for (const Row& row : rows) {
        TRACE_ROW(row);
        std::vector<char> data;
        EXPECT_EQ(registry_.QueryValue(key.get(), row.name, row.capacity, data), row.error);
        if (row.error == 0) {
            EXPECT_EQ(data, row.data);
        }
    }
}

TEST_F(RegistryTest, SetValueReplacesAndDeleteValueRemoves) {
    const RegKey key = Create(base_);
    ASSERT_EQ(registry_.SetValue(key.get(), "Item", RegType::String, StringData("first")), 0);
    ASSERT_EQ(registry_.SetValue(key.get(), "ITEM", RegType::String, StringData("second")), 0);
    std::vector<char> data;
    EXPECT_EQ(registry_.QueryValue(key.get(), "Item", 255, data), 0);
    EXPECT_EQ(data, StringData("second"));

    EXPECT_EQ(registry_.DeleteValue(key.get(), "Item"), 0);
    EXPECT_EQ(registry_.QueryValue(key.get(), "Item", 255, data),
              static_cast<long>(win_error::kFileNotFound));
    EXPECT_EQ(registry_.DeleteValue(key.get(), "Item"),
              static_cast<long>(win_error::kFileNotFound));
}

TEST_F(RegistryTest, SetDefaultValueCreatesTheKeyAndSetsTheUnnamedValue) {
    const std::string subkey = base_ + "\\software\\Disk Tools";
    struct Row {
        int line;
        const char* text;
    };
    const Row rows[] = {ROW("Disk Tools"), ROW("")};
    for (const Row& row : rows) {
        TRACE_ROW(row);
        EXPECT_EQ(registry_.SetDefaultValue(RegRoot::CurrentUser, subkey, row.text), 0);
        const RegKey key = Create(subkey);
        std::vector<char> data;
        EXPECT_EQ(registry_.QueryValue(key.get(), "", 255, data), 0);
        EXPECT_EQ(data, StringData(row.text));
    }
}

TEST_F(RegistryTest, EnumKeyListsEverySubkeyOnce) {
    for (const char* name : {"Gamma", "alpha", "Beta"}) Create(base_ + "\\" + name);
    std::vector<std::string> names = SubkeyNames(base_);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Beta", "Gamma", "alpha"}));
    EXPECT_TRUE(SubkeyNames(base_ + "\\alpha").empty());
}

TEST_F(RegistryTest, DeleteKeyRemovesALeafKey) {
    Create(base_ + "\\Leaf");
    EXPECT_EQ(registry_.DeleteKey(RegRoot::CurrentUser, base_ + "\\leaf"), 0);
    EXPECT_EQ(OpenError(base_ + "\\Leaf"), static_cast<long>(win_error::kFileNotFound));
    EXPECT_EQ(registry_.DeleteKey(RegRoot::CurrentUser, base_ + "\\Leaf"),
              static_cast<long>(win_error::kFileNotFound));
}

TEST_F(RegistryTest, DeleteKeyWithSubkeysDependsOnTheFamily) {
    const std::string device = base_ + "\\Enum\\PCI\\VEN_7A3E&DEV_6E02";
    const std::string instance = device + "\\BUS_00&DEV_0B&FUNC_00";
    Create(instance);
    const long error = registry_.DeleteKey(RegRoot::CurrentUser, device);
    if (IsWindows9x()) {
        // Windows 95 and 98 take the whole subtree.
        EXPECT_EQ(error, 0);
        EXPECT_EQ(OpenError(device), static_cast<long>(win_error::kFileNotFound));
    } else {
        // The NT family refuses, and nothing is removed.
        EXPECT_EQ(error, static_cast<long>(win_error::kAccessDenied));
        EXPECT_EQ(OpenError(instance), 0);
    }
}

TEST_F(RegistryTest, ReadAccessRefusesWritesOnTheNtFamily) {
    if (IsWindows9x()) GTEST_SKIP() << "Windows 95 and 98 do not check access to keys";
    Create(base_);
    long error = -1;
    const RegKey key =
        platform::OpenRegKey(registry_, RegRoot::CurrentUser, base_, RegAccess::Read, error);
    ASSERT_EQ(error, 0);
    EXPECT_EQ(registry_.SetValue(key.get(), "Start", RegType::Dword, {4, 0, 0, 0}),
              static_cast<long>(win_error::kAccessDenied));
}

// The registry of Windows 95 and 98 takes value names of at most 255
// characters and values of at most 16,300 bytes (RegSetValue in the Win32
// reference of their time); Windows 95's keys hold "approximately 60
// kilobytes (KB) per key. This limit consists of value names, value data,
// and some fixed overhead" (knowledge base Q122867, which adds "This
// limitation has been removed in Microsoft Windows 98"). The article sizes
// neither the limit nor the overhead: the simulated machine holds 61,440
// bytes a key, 16 of them a value besides its name and data
// (registry-key-60k, uncertain). NT 4.0 and 2000 take all of these. Wine behaves
// as NT in every version setting (registry-limits-9x): the 95 and 98 rows
// run on the simulated machine only. The errors of the refused writes are
// not documented.
TEST_F(RegistryTest, SizeLimitsOfTheWindows9xRegistry) {
    constexpr long kOutOfMemory = 14;
    constexpr long kInvalidParameter = 87;
    const std::string name255(255, 'N');
    const std::string name256(256, 'N');
    const std::vector<char> value16300(16300, 'v');
    const std::vector<char> value16301(16301, 'v');
    struct Write {
        std::string name;
        std::vector<char> data;
    };
    // Three values of 16 + 1 + 16,300 bytes and one of 16 + 1 + 12,472 fill
    // 61,440 bytes.
    const std::vector<Write> three = {{"A", value16300}, {"B", value16300}, {"C", value16300}};
    std::vector<Write> fill = three;
    fill.push_back({"D", std::vector<char>(12472, 'v')});
    struct Row {
        int line;
        std::uint32_t version;
        std::vector<Write> before;  // written first, each must succeed
        Write write;
        long error;
    };
    const Row rows[] = {
        ROW(version::kWindows95, {}, {name255, {1, 0, 0, 0}}, 0),
        ROW(version::kWindows95, {}, {name256, {1, 0, 0, 0}}, kInvalidParameter),
        ROW(version::kWindows98, {}, {name256, {1, 0, 0, 0}}, kInvalidParameter),
        ROW(version::kWindowsNT4, {}, {name256, {1, 0, 0, 0}}, 0),
        ROW(version::kWindows2000, {}, {name256, {1, 0, 0, 0}}, 0),
        ROW(version::kWindows95, {}, {"V", value16300}, 0),
        ROW(version::kWindows95, {}, {"V", value16301}, kOutOfMemory),
        ROW(version::kWindows98, {}, {"V", value16301}, kOutOfMemory),
        ROW(version::kWindowsNT4, {}, {"V", value16301}, 0),
        ROW(version::kWindows95, three, {"D", std::vector<char>(12472, 'w')}, 0),
        ROW(version::kWindows95, three, {"D", std::vector<char>(12473, 'w')}, kOutOfMemory),
        ROW(version::kWindows95, fill, {"D", std::vector<char>(12472, 'w')}, 0),
        ROW(version::kWindows95, fill, {"E", {}}, kOutOfMemory),
        ROW(version::kWindows98, fill, {"E", {}}, 0),
        ROW(version::kWindows2000, fill, {"E", {}}, 0),
    };
    for (const Row& row : rows) {
        if (!RunsAs(row.version, Language())) continue;
        TRACE_ROW(row);
        const std::string subkey = backend_->ScratchRegistryKey();
        const RegKey key = Create(subkey);
        for (const Write& write : row.before) {
            ASSERT_EQ(registry_.SetValue(key.get(), write.name, RegType::String, write.data), 0);
        }
        EXPECT_EQ(registry_.SetValue(key.get(), row.write.name, RegType::String, row.write.data),
                  row.error);
        std::vector<char> data;
        EXPECT_EQ(registry_.QueryValue(key.get(), row.write.name, 65536, data) == 0,
                  row.error == 0);
    }
}

// On NT 4.0 and 2000 a key's name is turned into Unicode through the ANSI
// code page, and a byte pair the code page lacks becomes "?" (Big5 has no
// trail byte 0x8B); Windows 95 and 98 keep the bytes as written. Wine
// behaves as NT in every version setting (registry-ansi-names).
TEST_F(RegistryTest, KeyNamesThroughTheCodePage) {
    struct Row {
        int line;
        std::uint32_t version;
        std::uint32_t lcid;
        const char* written;
        const char* stored;
    };
    const Row rows[] = {
        ROW(version::kWindowsNT4, 0x0404, "\x83\x77\x83\x8B", "\x83\x77?"),
        ROW(version::kWindows2000, 0x0404, "\x83\x77\x83\x8B", "\x83\x77?"),
        ROW(version::kWindowsNT4, 0x0411, "\x83\x77\x83\x8B", "\x83\x77\x83\x8B"),
        ROW(version::kWindows95, 0x0404, "\x83\x77\x83\x8B", "\x83\x77\x83\x8B"),
        ROW(version::kWindows98, 0x0404, "\x83\x77\x83\x8B", "\x83\x77\x83\x8B"),
    };
    for (const Row& row : rows) {
        if (!RunsAs(row.version, row.lcid)) continue;
        TRACE_ROW(row);
        const std::string subkey = backend_->ScratchRegistryKey();
        Create(subkey + "\\" + row.written);
        EXPECT_EQ(SubkeyNames(subkey), std::vector<std::string>{row.stored});
    }
}

// Every machine has these keys before any program runs, as its version
// spells them; a program that opens them finds them.
TEST_F(RegistryTest, KeysEveryMachineOfTheVersionHas) {
    struct Row {
        int line;
        std::uint32_t version;
        const char* subkey;
    };
    const Row rows[] = {
        ROW(version::kWindows95, "System\\CurrentControlSet\\Services\\Class"),
        ROW(version::kWindows98, "Enum"),
        ROW(version::kWindowsNT4, "SYSTEM\\CurrentControlSet\\Services"),
        ROW(version::kWindowsNT4, "SYSTEM\\CurrentControlSet\\Control"),
        ROW(version::kWindows2000, "SYSTEM\\CurrentControlSet\\Enum"),
        ROW(version::kWindows2000, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"),
    };
    for (const Row& row : rows) {
        if (!RunsAs(row.version, Language())) continue;
        TRACE_ROW(row);
        long error = -1;
        platform::OpenRegKey(registry_, RegRoot::LocalMachine, row.subkey, RegAccess::Read, error);
        EXPECT_EQ(error, 0);
    }
}

}  // namespace
}  // namespace setup32::conformance
