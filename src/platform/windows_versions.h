// The Windows versions setup32 runs on: platform/windows_versions.tsv,
// compiled in and read at compile time into one typed row per version. A
// table that does not read as it must stops the build.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

#include "windows_versions_table.h"  // kWindowsVersionsTsv, made from windows_versions.tsv

namespace setup32::platform {

enum class WindowsFamily { k9x, kNt };

// One row of the table. A text that is not empty is followed by a zero in
// the table's own storage, so that its data() is a C string; empty where the
// table says none.
struct WindowsVersion {
    std::string_view id;              // "win95"
    std::string_view name;            // "Windows 95"
    std::uint32_t getVersion;         // as GetVersion returns it
    int platformCode;                 // the code setup32.exe identifies the version by
    WindowsFamily family;             //
    std::string_view scriptSection;   // "Win95", as in "Win95 Driver Files"
    std::string_view windowsDir;      // where the version's setup puts Windows: "C:\WINDOWS"
    std::string_view systemDir;       // "SYSTEM" or "SYSTEM32", in the Windows directory
    std::string_view windowsFolders;  // a fresh machine's folders there: "SYSTEM\IOSUBSYS;INF;HELP"
    std::string_view startMenu;       // "%windir%\Start Menu"
    std::string_view commonStartMenu;  // empty on Windows 95 and 98

    constexpr bool IsNtFamily() const { return family == WindowsFamily::kNt; }
};

// GetVersion's family: bit 31 is set on Windows 95, 98, Me and Win32s.
constexpr bool IsNtFamilyVersion(std::uint32_t getVersion) {
    return (getVersion & 0x80000000u) == 0;
}
// Whether two GetVersion values are the same release: family, major and
// minor version; the rest is a build number.
constexpr bool IsSameRelease(std::uint32_t a, std::uint32_t b) {
    constexpr std::uint32_t kFamilyMajorMinor = 0x8000FFFFu;
    return (a & kFamilyMajorMinor) == (b & kFamilyMajorMinor);
}

namespace windows_versions_detail {

// Reached only while the table is read at compile time, where calling a
// function that is not constexpr stops the build with `why` in the trace.
void TableIsMalformed(const char* why);

inline constexpr std::string_view kText(kWindowsVersionsTsv, sizeof kWindowsVersionsTsv - 1);
constexpr char kTab = '\t';
constexpr char kLineEnd = '\n';

// The table's text with every tab and line end made a zero, so that each
// cell is a C string.
constexpr std::array<char, kText.size() + 1> ZeroSeparated() {
    std::array<char, kText.size() + 1> cells{};
    for (std::size_t i = 0; i < kText.size(); ++i) {
        const char c = kText[i];
        cells[i] = c == kTab || c == kLineEnd || c == '\r' ? '\0' : c;
    }
    return cells;
}
inline constexpr std::array<char, kText.size() + 1> kCells = ZeroSeparated();

// The index of the first `c` from `start` on, or the text's size. (A loop of
// its own: the sanitizers' builds do not evaluate string_view::find at
// compile time.)
constexpr std::size_t Find(char c, std::size_t start) {
    while (start < kText.size() && kText[start] != c) ++start;
    return start;
}

// Where the line from `start` ends: its LF, or the CR of its CR LF.
constexpr std::size_t LineEnd(std::size_t start) {
    const std::size_t end = Find(kLineEnd, start);
    return end > start && kText[end - 1] == '\r' ? end - 1 : end;
}

constexpr bool IsDataLine(std::size_t start) {
    return start < LineEnd(start) && kText[start] != '#';
}

// Where the `index`th line that is no comment starts (0: the header), or
// the text's size past the last one.
constexpr std::size_t DataLineStart(std::size_t index) {
    for (std::size_t start = 0; start < kText.size(); start = Find(kLineEnd, start) + 1) {
        if (!IsDataLine(start)) continue;
        if (index == 0) return start;
        --index;
    }
    return kText.size();
}

inline constexpr std::size_t kHeaderStart = DataLineStart(0);

constexpr std::size_t CountCells(std::size_t lineStart) {
    std::size_t cells = 1;
    const std::size_t end = LineEnd(lineStart);
    for (std::size_t i = lineStart; i < end; ++i) cells += kText[i] == kTab;
    return cells;
}

// The rows below the header, each with as many cells as the header.
constexpr std::size_t CountRows() {
    const std::size_t columns = CountCells(kHeaderStart);
    std::size_t rows = 0;
    for (std::size_t start = Find(kLineEnd, kHeaderStart) + 1; start < kText.size();
         start = Find(kLineEnd, start) + 1) {
        if (!IsDataLine(start)) continue;
        if (CountCells(start) != columns)
            TableIsMalformed("a row has another count of cells than the header");
        ++rows;
    }
    if (rows == 0) TableIsMalformed("no header line and rows");
    return rows;
}

// Where cell `column` of the line starting at `lineStart` starts.
constexpr std::size_t CellStart(std::size_t lineStart, std::size_t column) {
    std::size_t start = lineStart;
    for (; column > 0; --column) start = Find(kTab, start) + 1;
    return start;
}

constexpr std::string_view CellText(std::size_t lineStart, std::size_t column) {
    const std::size_t start = CellStart(lineStart, column);
    return kText.substr(start, std::min(Find(kTab, start), LineEnd(start)) - start);
}

constexpr std::size_t ColumnNamed(std::string_view name) {
    const std::size_t lineEnd = LineEnd(kHeaderStart);
    for (std::size_t column = 0, start = kHeaderStart; start <= lineEnd; ++column) {
        const std::size_t end = std::min(Find(kTab, start), lineEnd);
        if (kText.substr(start, end - start) == name) return column;
        start = end + 1;
    }
    TableIsMalformed("a column is missing");
    return 0;
}

// The cell of `column` in the row whose line starts at `lineStart`.
constexpr std::string_view Cell(std::size_t lineStart, std::string_view column) {
    return CellText(lineStart, ColumnNamed(column));
}

// A text cell, in kCells; "-" is none.
constexpr std::string_view TextCell(std::size_t lineStart, std::string_view column) {
    const std::string_view text = Cell(lineStart, column);
    if (text.empty()) TableIsMalformed("an empty cell (write - for none)");
    if (text == "-") return {};
    return std::string_view(kCells.data() + (text.data() - kText.data()), text.size());
}

constexpr unsigned DigitValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
    TableIsMalformed("not a digit");
    return 0;
}

// "0xC0000004", at most eight digits.
constexpr std::uint32_t HexCell(std::size_t lineStart, std::string_view column) {
    const std::string_view text = Cell(lineStart, column);
    if (text.size() < 3 || text.size() > 10 || text.substr(0, 2) != "0x")
        TableIsMalformed("not a hex number of at most 32 bits");
    std::uint32_t value = 0;
    for (const char c : text.substr(2)) value = value * 16 + DigitValue(c);
    return value;
}

// A code of at most two digits.
constexpr int CodeCell(std::size_t lineStart, std::string_view column) {
    const std::string_view text = Cell(lineStart, column);
    if (text.empty() || text.size() > 2) TableIsMalformed("not a code of one or two digits");
    int value = 0;
    for (const char c : text) {
        if (DigitValue(c) > 9) TableIsMalformed("not a decimal digit");
        value = value * 10 + static_cast<int>(DigitValue(c));
    }
    return value;
}

constexpr WindowsFamily FamilyCell(std::size_t lineStart) {
    const std::string_view text = Cell(lineStart, "family");
    if (text != "9x" && text != "nt") TableIsMalformed("the family is neither 9x nor nt");
    return text == "nt" ? WindowsFamily::kNt : WindowsFamily::k9x;
}

constexpr WindowsVersion Row(std::size_t lineStart) {
    const WindowsVersion version{TextCell(lineStart, "id"),
                                 TextCell(lineStart, "name"),
                                 HexCell(lineStart, "get_version"),
                                 CodeCell(lineStart, "platform_code"),
                                 FamilyCell(lineStart),
                                 TextCell(lineStart, "script_section"),
                                 TextCell(lineStart, "windows_dir"),
                                 TextCell(lineStart, "system_dir"),
                                 TextCell(lineStart, "windows_folders"),
                                 TextCell(lineStart, "start_menu"),
                                 TextCell(lineStart, "common_start_menu")};
    if (version.IsNtFamily() != IsNtFamilyVersion(version.getVersion))
        TableIsMalformed("the family is not the one GetVersion's bit 31 gives");
    return version;
}

// Each found by a constant evaluation of its own, which keeps the table's
// within the compilers' limits.
template <std::size_t Row>
inline constexpr std::size_t kRowStart = DataLineStart(Row + 1);

template <std::size_t... Rows>
constexpr std::array<WindowsVersion, sizeof...(Rows)> ReadRows(std::index_sequence<Rows...>) {
    return {Row(kRowStart<Rows>)...};
}

}  // namespace windows_versions_detail

// Every row, in the table's order: win95, win98, nt40, win2k.
inline constexpr std::array<WindowsVersion, windows_versions_detail::CountRows()> kWindowsVersions =
    windows_versions_detail::ReadRows(
        std::make_index_sequence<windows_versions_detail::CountRows()>());

// The row named `id`, or none.
constexpr const WindowsVersion* FindWindowsVersion(std::string_view id) {
    for (const WindowsVersion& version : kWindowsVersions) {
        if (id == version.id) return &version;
    }
    return nullptr;
}

// The row of exactly this GetVersion value, or none.
constexpr const WindowsVersion* WindowsVersionOf(std::uint32_t getVersion) {
    for (const WindowsVersion& version : kWindowsVersions) {
        if (version.getVersion == getVersion) return &version;
    }
    return nullptr;
}

// The row a machine reporting `getVersion` behaves as: the same release
// (another build of it), else the newest row of its family (Windows Me as
// 98, XP as 2000, Win32s as 98).
constexpr const WindowsVersion& WindowsVersionLike(std::uint32_t getVersion) {
    const WindowsVersion* newestOfFamily = nullptr;
    for (const WindowsVersion& version : kWindowsVersions) {
        if (IsSameRelease(version.getVersion, getVersion)) return version;
        if (version.IsNtFamily() == IsNtFamilyVersion(getVersion)) newestOfFamily = &version;
    }
    return *newestOfFamily;
}

namespace windows_versions_detail {

constexpr std::size_t IndexOf(std::string_view id) {
    for (std::size_t i = 0; i < kWindowsVersions.size(); ++i) {
        if (id == kWindowsVersions[i].id) return i;
    }
    TableIsMalformed("a version the sources name is not in the table");
    return 0;
}

// The platform codes of a family as bits (bit n: code n), so that the
// program asks about a code without carrying the table.
constexpr std::uint32_t PlatformCodesOf(WindowsFamily family) {
    std::uint32_t codes = 0;
    for (const WindowsVersion& version : kWindowsVersions) {
        if (version.platformCode >= 32) TableIsMalformed("a platform code past 31");
        if (version.family == family) codes |= 1u << version.platformCode;
    }
    return codes;
}
inline constexpr std::uint32_t k9xPlatformCodes = PlatformCodesOf(WindowsFamily::k9x);
inline constexpr std::uint32_t kNtPlatformCodes = PlatformCodesOf(WindowsFamily::kNt);
// WindowsVersionLike finds a row of each family.
static_assert(k9xPlatformCodes != 0 && kNtPlatformCodes != 0, "a family without a row");

constexpr bool HasCode(std::uint32_t codes, int platformCode) {
    return platformCode >= 0 && platformCode < 32 && ((codes >> platformCode) & 1u) != 0;
}

}  // namespace windows_versions_detail

// The versions by name, for code that names one.
namespace windows_version {
inline constexpr const WindowsVersion& kWindows95 =
    kWindowsVersions[windows_versions_detail::IndexOf("win95")];
inline constexpr const WindowsVersion& kWindows98 =
    kWindowsVersions[windows_versions_detail::IndexOf("win98")];
inline constexpr const WindowsVersion& kWindowsNT4 =
    kWindowsVersions[windows_versions_detail::IndexOf("nt40")];
inline constexpr const WindowsVersion& kWindows2000 =
    kWindowsVersions[windows_versions_detail::IndexOf("win2k")];
}  // namespace windows_version

// Whether the program's platform code stands for a version of the table
// of the 95/98 family, of the NT family, or of either. Win32s and an
// unrecognised system are neither.
constexpr bool Is9xFamilyPlatform(int platformCode) {
    return windows_versions_detail::HasCode(windows_versions_detail::k9xPlatformCodes,
                                            platformCode);
}
constexpr bool IsNtFamilyPlatform(int platformCode) {
    return windows_versions_detail::HasCode(windows_versions_detail::kNtPlatformCodes,
                                            platformCode);
}
constexpr bool IsSupportedPlatform(int platformCode) {
    return Is9xFamilyPlatform(platformCode) || IsNtFamilyPlatform(platformCode);
}

}  // namespace setup32::platform
