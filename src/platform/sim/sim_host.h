// Host facts of the simulated machine: version, default locale and the
// character rules of the ANSI code page that follows from the locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"
#include "platform/sim/sim_records.h"
#include "platform/windows_versions.h"

namespace setup32::platform::sim {

class SimHost final : public HostFacts {
  public:
    std::uint32_t Version() const override { return version_; }
    std::uint32_t DefaultLcid() const override { return lcid_; }
    unsigned AnsiCodePage() const override { return codePage_; }
    bool IsLeadByte(unsigned char byte) const override;
    std::string UpperCase(std::string_view text) const override;

    void SetVersion(std::uint32_t version) { version_ = version; }
    void SetLcid(std::uint32_t lcid);
    bool IsNtFamily() const { return IsNtFamilyVersion(version_); }
    // Windows 95 itself, whatever its build.
    bool IsWindows95() const { return IsSameRelease(version_, version::kWindows95); }
    // The version of the table this machine behaves as.
    const WindowsVersion& VersionLike() const { return WindowsVersionLike(version_); }
    // SameNameOn this host.
    bool SameName(std::string_view a, std::string_view b) const;
    // Whether `trail` completes a double-byte character after a lead byte.
    bool IsTrailByte(unsigned char trail) const;
    // `name` as it comes back after MultiByteToWideChar and WideCharToMultiByte
    // in the ANSI code page: a lead byte and a next byte that is no trail
    // byte of the code page turn into its default character (U+30FB on 932,
    // "?" on the others). Every other byte and pair survives, a lead byte at
    // the very end too; the bytes 1252 leaves undefined map to U+0081 ... and
    // back.
    std::string ThroughUnicode(std::string_view name) const;

  private:
    std::uint32_t version_ = version::kWindows95;
    std::uint32_t lcid_ = 0x0409;
    unsigned codePage_ = 1252;
};

// Equal after `host`'s upper-casing: how Windows compares names of files,
// keys and profile entries.
bool SameNameOn(const HostFacts& host, std::string_view a, std::string_view b);

// Splits `text` at every byte of `separators` that is not the trail byte of
// a double-byte character; empty pieces are kept.
std::vector<std::string> SplitText(std::string_view text, std::string_view separators,
                                   const HostFacts& host);

// The longest start of `text` of at most `maxBytes` bytes that does not cut
// a double-byte character in two.
std::string_view CutWhole(std::string_view text, std::size_t maxBytes, const HostFacts& host);

}  // namespace setup32::platform::sim
