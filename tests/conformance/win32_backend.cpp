// The conformance backend on the real Win32 API: scratch directories below
// %TEMP% and scratch keys below HKCU\Software\Setup32Conformance\<pid>, all
// removed when the backend goes.
#include <gtest/gtest.h>
#include <process.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "backend.h"
#include "platform/win32/win32_machine.h"

namespace setup32::conformance {
namespace {

namespace fs = std::filesystem;
using platform::RegRoot;

// The suite has no dialog windows; any use of them is a fault in a case.
class NoDialogs final : public platform::Dialogs {
  public:
    platform::FontHandle MakeFont(int, const std::string&) override { return Unexpected(0); }
    std::string ResourceString(unsigned) override { return Unexpected(std::string()); }
    int RunModal(int, platform::DialogHandler&, platform::WindowHandle) override {
        return Unexpected(0);
    }
    std::unique_ptr<platform::DialogView> CreateModeless(int, platform::DialogHandler&) override {
        return Unexpected(std::unique_ptr<platform::DialogView>());
    }

  private:
    template <typename T>
    T Unexpected(T value) {
        ADD_FAILURE() << "a conformance case used the dialog windows";
        return value;
    }
};

// Removes `subkey` and everything below it; false when some key stayed.
bool DeleteKeyTree(platform::Registry& registry, const std::string& subkey) {
    {
        long error = 0;
        const platform::RegKey key = platform::OpenRegKey(registry, RegRoot::CurrentUser, subkey,
                                                          platform::RegAccess::AllAccess, error);
        if (!key) return false;
        std::string child;
        while (registry.EnumKey(key.get(), 0, child) == 0) {
            if (!DeleteKeyTree(registry, subkey + "\\" + child)) return false;
        }
    }
    return registry.DeleteKey(RegRoot::CurrentUser, subkey) == 0;
}

// Clears read-only attributes so that the whole tree can be removed.
void RemoveTree(const fs::path& root) {
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(root, error)) {
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, error);
    }
    fs::remove_all(root, error);
}

class Win32Backend final : public Backend {
  public:
    Win32Backend()
        : machine_(std::make_unique<NoDialogs>()),
          id_(std::to_string(_getpid())),
          keyRoot_("Software\\Setup32Conformance\\" + id_) {}

    ~Win32Backend() override {
        for (const std::string& directory : directories_) RemoveTree(directory);
        DeleteKeyTree(machine_.machine().registry, keyRoot_);
        // Stays when another run still has keys there.
        machine_.machine().registry.DeleteKey(RegRoot::CurrentUser, "Software\\Setup32Conformance");
    }

    platform::Machine& machine() override { return machine_.machine(); }
    const char* Name() const override { return "win32"; }

    std::string ScratchDirectory() override {
        const char* temp = std::getenv("TEMP");
        std::string directory = std::string(temp ? temp : "C:\\") + "\\s32c" + id_ + "_" +
                                std::to_string(directories_.size());
        RemoveTree(directory);
        EXPECT_EQ(machine().files.MakeDirectory(directory), 0u) << directory;
        directories_.push_back(directory);
        return directory;
    }

    void WriteFile(const std::string& windowsPath, const std::string& bytes) override {
        std::ofstream out(windowsPath, std::ios::binary | std::ios::trunc);
        out << bytes;
        EXPECT_TRUE(out.good()) << "cannot write " << windowsPath;
    }

    std::string ReadFile(const std::string& windowsPath) override {
        std::ifstream in(windowsPath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::string ScratchRegistryKey() override {
        const std::string key = keyRoot_ + "\\" + std::to_string(keys_++);
        DeleteKeyTree(machine().registry, key);
        return key;
    }

    bool Configure(std::uint32_t, std::uint32_t) override { return false; }

    std::shared_ptr<void> HoldForReading(const std::string& windowsPath) override {
        // _lopen with OF_READ opens for reading and shares reading and writing.
        platform::FileSystem& files = machine().files;
        std::uint32_t error = 0;
        auto stream =
            std::make_shared<platform::FileStream>(files, files.OpenForRead(windowsPath, error));
        EXPECT_TRUE(*stream) << windowsPath << ": error " << error;
        return stream;
    }

  private:
    platform::win32::Win32Machine machine_;
    std::string id_;
    std::string keyRoot_;
    std::vector<std::string> directories_;
    int keys_ = 0;
};

}  // namespace

std::unique_ptr<Backend> MakeBackend() {
    return std::make_unique<Win32Backend>();
}

}  // namespace setup32::conformance
