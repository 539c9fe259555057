// Reads of profile (INI) files on the simulated machine's drives, by the
// rules of Windows' own profile service: a line ends at CR, LF or CR LF;
// blanks (space, tab, CR, LF, VT, FF and the DOS end-of-file mark 0x1A)
// around a line, a key and a value do not count; section and key names are
// matched without regard to case; a keyed read strips one pair of matching
// quotes around the value; a section read leaves blank lines out and answers
// capacity - 2 when the section does not fit.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"
#include "platform/profile.h"
#include "platform/sim/call_gate.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_host.h"

namespace setup32::platform::sim {

// One line of a section that is not blank.
struct ProfileLine {
    int number = 0;  // 1-based; CR LF, a lone CR and a lone LF each end one line
    // The line as a section read returns it: "key=value" with the blanks
    // around key and value dropped (quotes kept), any other line trimmed.
    std::string text;
    // The line is "key=value". A comment line (one whose first non-blank
    // character is ';') never is: a keyed read does not find it. Windows
    // still returns comment lines in a section read; Wine leaves them out.
    bool hasKey = false;
    std::string key;    // as a keyed read matches it
    std::string value;  // as a keyed read returns it: trimmed, then unquoted
};

struct ProfileSection {
    // The header's line; 0 for the lines before the first header, which no
    // read ever returns.
    int number = 0;
    std::string name;  // between '[' and the last ']', trimmed
    std::vector<ProfileLine> lines;
};

// The sections of a profile file in file order, as the profile service sees
// them. A read of a section name finds the first section of that name.
// `codePage` tells trail bytes of double-byte characters apart from ']';
// without it every byte is a character of its own.
std::vector<ProfileSection> ReadProfileLayout(std::string_view fileBytes,
                                              const HostFacts* codePage = nullptr);
// The file's lines as written, split where the profile service ends a line
// (CR LF, a lone CR, a lone LF); index 0 is line 1.
std::vector<std::string_view> ProfileFileLines(std::string_view fileBytes);
// The section a read of `name` finds: the first of that name (blanks around
// `name` dropped, letters compared as `host` upper-cases them); null when none.
const ProfileSection* FindProfileSection(const std::vector<ProfileSection>& layout,
                                         std::string_view name, const HostFacts& host);

class SimProfile final : public Profile {
  public:
    SimProfile(CallGate& gate, const SimHost& host, const SimFileSystem& files);

    std::string ReadString(const std::string& path, const std::string& section,
                           const std::string& key, const std::string& fallback,
                           std::size_t capacity) override;
    SectionBlock ReadSection(const std::string& path, const std::string& section,
                             std::size_t capacity) override;

  private:
    // The file's bytes; empty when it is missing or cannot be read.
    std::string FileText(const std::string& path) const;
    // The first section of that name in the file, or none.
    std::optional<ProfileSection> FindSection(const std::string& path,
                                              const std::string& section) const;

    CallGate& gate_;
    const SimHost& host_;
    const SimFileSystem& files_;
};

// Fills a block of exactly `capacity` bytes with `lines` as the profile
// service does (see SectionBlock).
SectionBlock PackSection(const std::vector<std::string_view>& lines, std::size_t capacity);

}  // namespace setup32::platform::sim
