#include "platform/sim/sim_host.h"

namespace setup32::platform::sim {
namespace {

unsigned CodePageOf(std::uint32_t lcid) {
    switch (lcid) {
        case 0x0411:
            return 932;
        case 0x0404:
            return 950;
        case 0x0804:
            return 936;
        case 0x0412:
            return 949;
        default:
            return 1252;
    }
}

// Shift-JIS writes the full-width Latin letters a to z as 0x82 0x81..0x9A
// and their capitals as 0x82 0x60..0x79.
constexpr unsigned char kFullWidthLead = 0x82;
constexpr unsigned char kFullWidthSmallFirst = 0x81;
constexpr unsigned char kFullWidthSmallLast = 0x9A;
constexpr unsigned char kFullWidthCaseDistance = 0x21;

// The byte ranges that may follow a lead byte, from the code pages' tables
// (the Unicode Consortium's VENDORS/MICSFT/WINDOWS/CP932.TXT, CP936.TXT,
// CP949.TXT and CP950.TXT).
struct ByteRange {
    unsigned char first;
    unsigned char last;
};
constexpr ByteRange kTrails932[] = {{0x40, 0x7E}, {0x80, 0xFC}};
constexpr ByteRange kTrails936[] = {{0x40, 0x7E}, {0x80, 0xFE}};
constexpr ByteRange kTrails949[] = {{0x41, 0x5A}, {0x61, 0x7A}, {0x81, 0xFE}};
constexpr ByteRange kTrails950[] = {{0x40, 0x7E}, {0xA1, 0xFE}};

template <std::size_t N>
bool InRanges(const ByteRange (&ranges)[N], unsigned char byte) {
    for (const ByteRange& range : ranges) {
        if (byte >= range.first && byte <= range.last) return true;
    }
    return false;
}

// What a character the code page cannot convert turns into, written back in
// the code page: U+30FB (KATAKANA MIDDLE DOT, 0x81 0x45) on 932, "?" on the
// others (the default characters of Wine's code page tables, made from
// Windows' own).
std::string_view DefaultCharacter(unsigned codePage) {
    return codePage == 932 ? std::string_view("\x81\x45") : std::string_view("?");
}

}  // namespace

void SimHost::SetLcid(std::uint32_t lcid) {
    lcid_ = lcid;
    codePage_ = CodePageOf(lcid);
}

bool SimHost::IsLeadByte(unsigned char byte) const {
    switch (codePage_) {
        case 932:
            return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        case 936:
        case 949:
        case 950:
            return byte >= 0x81 && byte <= 0xFE;
        default:
            return false;
    }
}

bool SimHost::IsTrailByte(unsigned char trail) const {
    switch (codePage_) {
        case 932:
            return InRanges(kTrails932, trail);
        case 936:
            return InRanges(kTrails936, trail);
        case 949:
            return InRanges(kTrails949, trail);
        case 950:
            return InRanges(kTrails950, trail);
        default:
            return false;
    }
}

std::string SimHost::ThroughUnicode(std::string_view name) const {
    std::string result;
    result.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (!IsLeadByte(static_cast<unsigned char>(name[i]))) {
            result += name[i];
        } else if (i + 1 < name.size() && IsTrailByte(static_cast<unsigned char>(name[i + 1]))) {
            result += name.substr(i, 2);
            ++i;
        } else if (i + 1 < name.size()) {
            // The pair is taken whole and converted as one character.
            result += DefaultCharacter(codePage_);
            ++i;
        } else {
            // A lead byte at the very end comes back as it was (under Wine,
            // whose conversion uses Windows' own tables, such a name is made
            // and found again).
            result += name[i];
        }
    }
    return result;
}

std::string SimHost::UpperCase(std::string_view text) const {
    std::string upper(text);
    for (std::size_t i = 0; i < upper.size(); ++i) {
        const auto byte = static_cast<unsigned char>(upper[i]);
        if (IsLeadByte(byte) && i + 1 < upper.size()) {
            const auto trail = static_cast<unsigned char>(upper[i + 1]);
            if (codePage_ == 932 && byte == kFullWidthLead && trail >= kFullWidthSmallFirst &&
                trail <= kFullWidthSmallLast) {
                upper[i + 1] = static_cast<char>(trail - kFullWidthCaseDistance);
            }
            ++i;
        } else if (byte >= 'a' && byte <= 'z') {
            upper[i] = static_cast<char>(byte - 'a' + 'A');
        }
    }
    return upper;
}

bool SimHost::SameName(std::string_view a, std::string_view b) const {
    return SameNameOn(*this, a, b);
}

bool SameNameOn(const HostFacts& host, std::string_view a, std::string_view b) {
    return a.size() == b.size() && host.UpperCase(a) == host.UpperCase(b);
}

std::vector<std::string> SplitText(std::string_view text, std::string_view separators,
                                   const HostFacts& host) {
    std::vector<std::string> pieces(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char byte = text[i];
        if (host.IsLeadByte(static_cast<unsigned char>(byte)) && i + 1 < text.size()) {
            pieces.back() += text.substr(i, 2);
            ++i;
        } else if (separators.find(byte) != std::string_view::npos) {
            pieces.emplace_back();
        } else {
            pieces.back() += byte;
        }
    }
    return pieces;
}

std::string_view CutWhole(std::string_view text, std::size_t maxBytes, const HostFacts& host) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t width =
            host.IsLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
        if (end + width > maxBytes) break;
        end += width;
    }
    return text.substr(0, end);
}

}  // namespace setup32::platform::sim
