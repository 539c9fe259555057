#include <windows.h>

#include <algorithm>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_services.h"

namespace setup32::platform::win32 {
namespace {

HKEY RootKey(RegRoot root) {
    return root == RegRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// Subkey names hold at most 255 characters.
constexpr DWORD kKeyNameCapacity = 256;

}  // namespace

long Win32Registry::SetDefaultValue(RegRoot root, const std::string& subkey,
                                    const std::string& text) {
    return RegSetValueA(RootKey(root), subkey.c_str(), REG_SZ, text.c_str(),
                        static_cast<DWORD>(text.size()));
}

long Win32Registry::CreateKey(RegRoot root, const std::string& subkey, RegHandle& key,
                              bool* created) {
    HKEY opened = nullptr;
    DWORD disposition = 0;
    const LONG error =
        RegCreateKeyExA(RootKey(root), subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &opened, &disposition);
    if (error == ERROR_SUCCESS) {
        key = FromHkey(opened);
        if (created) *created = disposition == REG_CREATED_NEW_KEY;
    }
    return error;
}

long Win32Registry::OpenKey(RegRoot root, const std::string& subkey, RegAccess access,
                            RegHandle& key) {
    HKEY opened = nullptr;
    const REGSAM sam = access == RegAccess::Read ? KEY_READ : KEY_ALL_ACCESS;
    const LONG error = RegOpenKeyExA(RootKey(root), subkey.c_str(), 0, sam, &opened);
    if (error == ERROR_SUCCESS) key = FromHkey(opened);
    return error;
}

long Win32Registry::SetValue(RegHandle key, const std::string& name, RegType type,
                             const std::vector<char>& data) {
    return RegSetValueExA(ToHkey(key), name.c_str(), 0, static_cast<DWORD>(type),
                          reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size()));
}

long Win32Registry::QueryValue(RegHandle key, const std::string& name, std::uint32_t capacity,
                               std::vector<char>& data) {
    // Never hand the call a null buffer: with one it reports the size
    // instead of ERROR_MORE_DATA.
    std::vector<char> buffer(std::max<std::uint32_t>(capacity, 1));
    DWORD size = capacity;
    const LONG error = RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, nullptr,
                                        reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (error == ERROR_SUCCESS) data.assign(buffer.begin(), buffer.begin() + size);
    return error;
}

long Win32Registry::DeleteValue(RegHandle key, const std::string& name) {
    return RegDeleteValueA(ToHkey(key), name.c_str());
}

long Win32Registry::EnumKey(RegHandle key, std::uint32_t index, std::string& name) {
    char buffer[kKeyNameCapacity] = {};
    const LONG error = RegEnumKeyA(ToHkey(key), index, buffer, kKeyNameCapacity);
    if (error == ERROR_SUCCESS) name = buffer;
    return error;
}

long Win32Registry::DeleteKey(RegRoot root, const std::string& subkey) {
    return RegDeleteKeyA(RootKey(root), subkey.c_str());
}

long Win32Registry::CloseKey(RegHandle key) {
    return RegCloseKey(ToHkey(key));
}

}  // namespace setup32::platform::win32
