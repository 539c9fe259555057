#include <windows.h>

#include "platform/win32/win32_services.h"

namespace setup32::platform::win32 {

std::string Win32Profile::ReadString(const std::string& path, const std::string& section,
                                     const std::string& key, const std::string& fallback,
                                     std::size_t capacity) {
    std::string value(capacity, '\0');
    const DWORD length =
        GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), value.data(),
                                 static_cast<DWORD>(capacity), path.c_str());
    value.resize(length);
    return value;
}

SectionBlock Win32Profile::ReadSection(const std::string& path, const std::string& section,
                                       std::size_t capacity) {
    SectionBlock block;
    block.bytes.assign(capacity, '\0');
    block.count = GetPrivateProfileSectionA(section.c_str(), block.bytes.data(),
                                            static_cast<DWORD>(capacity), path.c_str());
    return block;
}

SectionBlock Win32Profile::ReadSectionNames(const std::string& path, std::size_t capacity) {
    SectionBlock block;
    block.bytes.assign(capacity, '\0');
    block.count = GetPrivateProfileSectionNamesA(block.bytes.data(), static_cast<DWORD>(capacity),
                                                 path.c_str());
    return block;
}

}  // namespace setup32::platform::win32
