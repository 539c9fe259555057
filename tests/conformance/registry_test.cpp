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

}  // namespace
}  // namespace setup32::conformance
