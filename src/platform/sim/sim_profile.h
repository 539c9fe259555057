// Reads of profile (INI) files on the simulated machine's drives, by the
// rules of Windows' own profile service on the version the machine is set
// to. On every version: blanks (space, tab, CR, LF, VT, FF and the DOS
// end-of-file mark 0x1A) around a line, a key and a value do not count;
// section and key names are matched without regard to case; a keyed read
// strips one pair of matching quotes around the value; a section read leaves
// blank lines out and answers capacity - 2 when the section does not fit; a
// file that cannot be opened (missing, a directory, held by another program,
// unreadable) reads as an empty one.
//
// Where the versions differ (version_differences.h):
// - NT 4.0 and 2000 end a line at CR LF, a lone CR and a lone LF; 95 and 98
//   end it at CR LF and LF only, so a lone CR stays inside the line;
// - 95 and 98 take a value up to its first control character (a character
//   code below 32: a tab, a lone CR), after the blanks around it are
//   dropped; the rest of the line is lost ("win9x-control-char");
// - 2000 reads a file that starts with the UTF-16 byte-order mark FF FE as
//   UTF-16 and hands the ANSI calls its text in the ANSI code page; 95, 98 and
//   NT 4.0 read its bytes as they are, so none of its sections is found
//   ("utf16-bom"). A UTF-16 file without its mark is read byte for byte on
//   every version;
// - 95 and 98 fill at most 32,767 bytes of a section read's buffer
//   ("section-32k");
// - 95 and 98 read the first 65,536 bytes of a file and no more
//   ("win9x-profile-64k");
// - 95 and 98 read nothing from a file another program reads while sharing
//   it for reading and writing ("held-profile").
#pragma once

#include <cstdint>
#include <map>
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
    // The file's line (from 1, see ProfileFileLines) on which it starts. On
    // 95 and 98 a line can run on over lone CRs into the file's next lines.
    int number = 0;
    // The line as a section read returns it: "key=value" with the blanks
    // around key and value dropped (quotes kept), any other line trimmed.
    std::string text;
    // The line is "key=value". A comment line (one whose first non-blank
    // character is ';') never is: a keyed read does not find it. Windows
    // still returns comment lines in a section read; Wine leaves them out.
    bool hasKey = false;
    std::string key;    // as a keyed read matches it
    std::string value;  // as a keyed read returns it: trimmed, then unquoted
    // On 95 and 98: the value was cut at a control character (and `text`
    // holds the value as cut).
    bool cutAtControl = false;
};

struct ProfileSection {
    // The header's line; 0 for the lines before the first header, which no
    // read ever returns.
    int number = 0;
    std::string name;  // between '[' and the last ']', trimmed
    std::vector<ProfileLine> lines;
};

// The file's lines as an editor shows them, split at CR LF, a lone CR and a
// lone LF on every version; index 0 is line 1. Profile lines and the version
// differences met are numbered by these lines.
std::vector<std::string_view> ProfileFileLines(std::string_view fileBytes);
// The file's text as the profile service of `host` reads it: on 2000 a
// UTF-16 file with its byte-order mark turned into the ANSI code page (a
// character the code page lacks becomes '?'), otherwise the bytes as they
// are. Without `host`, the bytes as they are.
std::string ProfileText(std::string_view fileBytes, const HostFacts* host = nullptr);
// The sections of a profile file in file order, as the profile service of
// `host` sees them: its version decides the line ends and the reading of
// UTF-16, its code page tells trail bytes of double-byte characters apart
// from ']'. Without `host`, lines end as on NT and every byte is a character
// of its own. A read of a section name finds the first section of that name.
std::vector<ProfileSection> ReadProfileLayout(std::string_view fileBytes,
                                              const HostFacts* host = nullptr);
// The section a read of `name` finds: the first of that name (blanks around
// `name` dropped, letters compared as `host` upper-cases them); null when none.
const ProfileSection* FindProfileSection(const std::vector<ProfileSection>& layout,
                                         std::string_view name, const HostFacts& host);

class SimProfile final : public Profile {
  public:
    SimProfile(CallGate& gate, const SimHost& host, const SimFileSystem& files);
    ~SimProfile() override;

    std::string ReadString(const std::string& path, const std::string& section,
                           const std::string& key, const std::string& fallback,
                           std::size_t capacity) override;
    SectionBlock ReadSection(const std::string& path, const std::string& section,
                             std::size_t capacity) override;

  private:
    struct ParsedFile;
    struct CachedFile;

    // The file as the profile service reads it on the machine's version, or
    // null when it cannot be opened. Parsed once per contents and version;
    // records the version differences the file meets.
    const ParsedFile* Load(const std::string& path);
    void RecordMet(std::string_view id, const std::string& windowsPath, int line);

    CallGate& gate_;
    const SimHost& host_;
    const SimFileSystem& files_;
    std::map<std::string, CachedFile> cache_;  // by host path
};

// Fills a block of exactly `capacity` bytes with `lines` as the profile
// service does (see SectionBlock).
SectionBlock PackSection(const std::vector<std::string_view>& lines, std::size_t capacity);

}  // namespace setup32::platform::sim
