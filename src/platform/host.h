// Facts about the running Windows: version, default locale and the ANSI code
// page's character rules.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace setup32::platform {

class HostFacts {
  public:
    virtual ~HostFacts() = default;
    // GetVersion(): major in the low byte, minor in the next, bit 31 set on
    // the Windows 9x family and Win32s.
    virtual std::uint32_t Version() const = 0;
    // GetSystemDefaultLCID().
    virtual std::uint32_t DefaultLcid() const = 0;
    // GetACP(): 1252, 932, 950, ...
    virtual unsigned AnsiCodePage() const = 0;
    // IsDBCSLeadByte(): true when `byte` starts a double-byte character.
    virtual bool IsLeadByte(unsigned char byte) const = 0;
    // CharUpperBuffA over a copy: a-z to A-Z and double-byte characters to
    // their upper-case form in the system's locale; other bytes unchanged.
    virtual std::string UpperCase(std::string_view text) const = 0;
};

}  // namespace setup32::platform
