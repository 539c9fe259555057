// The registry, one method per Win32 call, and a move-only owner of an open
// key. Every method returns the Windows error code (0 on success).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace setup32::platform {

enum class RegRoot { CurrentUser, LocalMachine };
enum class RegAccess { Read, AllAccess };
enum class RegType : std::uint32_t { String = 1, Dword = 4 };
using RegHandle = std::uintptr_t;

class Registry {
  public:
    virtual ~Registry() = default;
    // RegSetValueA with REG_SZ: creates root\subkey when needed and sets its
    // default value to `text`.
    virtual long SetDefaultValue(RegRoot root, const std::string& subkey,
                                 const std::string& text) = 0;
    // RegCreateKeyExA with full access (RegCreateKeyA behaves alike). When
    // `created` is given it tells whether the key was new.
    virtual long CreateKey(RegRoot root, const std::string& subkey, RegHandle& key,
                           bool* created) = 0;
    // RegOpenKeyExA (RegOpenKeyA is the same with full access).
    virtual long OpenKey(RegRoot root, const std::string& subkey, RegAccess access,
                         RegHandle& key) = 0;
    // RegSetValueExA. `data` is stored as given (a string with its NUL).
    virtual long SetValue(RegHandle key, const std::string& name, RegType type,
                          const std::vector<char>& data) = 0;
    // RegQueryValueExA into a buffer of `capacity` bytes: on success `data`
    // holds the stored bytes; ERROR_MORE_DATA when they do not fit.
    virtual long QueryValue(RegHandle key, const std::string& name, std::uint32_t capacity,
                            std::vector<char>& data) = 0;
    // RegDeleteValueA.
    virtual long DeleteValue(RegHandle key, const std::string& name) = 0;
    // RegEnumKeyA: the name of the subkey at `index`, ERROR_NO_MORE_ITEMS past the end.
    virtual long EnumKey(RegHandle key, std::uint32_t index, std::string& name) = 0;
    // RegDeleteKeyA: removes root\subkey. The NT family refuses a key that
    // has subkeys; Windows 95 and 98 remove the whole subtree.
    virtual long DeleteKey(RegRoot root, const std::string& subkey) = 0;
    // RegCloseKey.
    virtual long CloseKey(RegHandle key) = 0;
};

// Owns one open key and closes it when it goes out of scope.
class RegKey {
  public:
    RegKey() = default;
    RegKey(Registry& registry, RegHandle handle) : registry_(&registry), handle_(handle) {}
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept
        : registry_(other.registry_), handle_(std::exchange(other.handle_, 0)) {}
    RegKey& operator=(RegKey&& other) noexcept {
        if (this != &other) {
            Close();
            registry_ = other.registry_;
            handle_ = std::exchange(other.handle_, 0);
        }
        return *this;
    }
    ~RegKey() { Close(); }

    RegHandle get() const { return handle_; }
    explicit operator bool() const { return handle_ != 0; }

  private:
    void Close() {
        if (handle_ != 0) registry_->CloseKey(std::exchange(handle_, 0));
    }
    Registry* registry_ = nullptr;
    RegHandle handle_ = 0;
};

// Opens or creates a key into an owner; the error code comes back in `error`.
RegKey CreateRegKey(Registry& registry, RegRoot root, const std::string& subkey, long& error,
                    bool* created = nullptr);
RegKey OpenRegKey(Registry& registry, RegRoot root, const std::string& subkey, RegAccess access,
                  long& error);

}  // namespace setup32::platform
