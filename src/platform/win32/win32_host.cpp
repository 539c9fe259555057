#include <windows.h>

#include "platform/win32/win32_services.h"

namespace setup32::platform::win32 {

std::uint32_t Win32HostFacts::Version() const {
    return GetVersion();
}

std::uint32_t Win32HostFacts::DefaultLcid() const {
    return GetSystemDefaultLCID();
}

unsigned Win32HostFacts::AnsiCodePage() const {
    return GetACP();
}

bool Win32HostFacts::IsLeadByte(unsigned char byte) const {
    return IsDBCSLeadByte(byte) != 0;
}

// CharUpperBuffA alone would also change single-byte letters such as the
// accented ones of code page 1252; only a-z and double-byte characters are
// upper-cased here.
std::string Win32HostFacts::UpperCase(std::string_view text) const {
    std::string upper(text);
    for (std::size_t pos = 0; pos < upper.size(); ++pos) {
        if (IsLeadByte(static_cast<unsigned char>(upper[pos])) && pos + 1 < upper.size()) {
            CharUpperBuffA(&upper[pos], 2);
            ++pos;
        } else if (upper[pos] >= 'a' && upper[pos] <= 'z') {
            upper[pos] = static_cast<char>(upper[pos] - 'a' + 'A');
        }
    }
    return upper;
}

}  // namespace setup32::platform::win32
