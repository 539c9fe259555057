// The table of Windows versions as the C++ sources read it, and the
// program's own readings that must agree with it: how it tells a version
// from GetVersion and the script sections it reads there.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "files/file_placement.h"
#include "messages/messages.h"
#include "platform/windows_versions.h"
#include "shellint/shell_text.h"

namespace setup32::platform {
namespace {

TEST(WindowsVersions, TheTableReadsAsTheFourVersionsInOrder) {
    std::vector<std::string> ids;
    for (const WindowsVersion& version : kWindowsVersions) ids.emplace_back(version.id);
    EXPECT_EQ((std::vector<std::string>{"win95", "win98", "nt40", "win2k"}), ids);
}

TEST(WindowsVersions, ARowIsFoundByItsIdOrItsExactGetVersionValue) {
    EXPECT_EQ(&kWindowsVersions[2], FindWindowsVersion("nt40"));
    EXPECT_EQ(nullptr, FindWindowsVersion("NT40"));  // as --platform names it
    EXPECT_EQ(nullptr, FindWindowsVersion("nt4"));
    EXPECT_EQ(nullptr, FindWindowsVersion(""));
    EXPECT_EQ(&kWindowsVersions[3], WindowsVersionOf(0x08930005));
    EXPECT_EQ(nullptr, WindowsVersionOf(0x08940005));  // another build of 2000
}

// Another build of a version is that version; a version the table lacks
// behaves as the newest of its family.
TEST(WindowsVersions, AMachineBehavesAsTheRowOfItsReleaseElseOfItsFamily) {
    const struct {
        std::uint32_t getVersion;
        const char* like;
    } rows[] = {
        {0xC0000004, "win95"}, {0xC3B60004, "win95"},  // 95 OSR2, build 950
        {0xC8AE0A04, "win98"},                         // 98 Second Edition, build 2222
        {0xC0005A04, "win98"},                         // Me
        {0x80000003, "win98"},                         // Win32s
        {0x05650004, "nt40"},  {0x0A280105, "win2k"},  // XP
        {0x04210333, "win2k"},                         // NT 3.51
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.getVersion);
        EXPECT_EQ(row.like, WindowsVersionLike(row.getVersion).id);
    }
}

TEST(WindowsVersions, APlatformCodeIsOfOneFamilyOrOfNone) {
    for (const WindowsVersion& version : kWindowsVersions) {
        SCOPED_TRACE(version.id);
        EXPECT_EQ(version.IsNtFamily(), IsNtFamilyPlatform(version.platformCode));
        EXPECT_EQ(!version.IsNtFamily(), Is9xFamilyPlatform(version.platformCode));
        EXPECT_TRUE(IsSupportedPlatform(version.platformCode));
    }
    // Codes of no version, past the ends of the family sets among them.
    for (const int code : {os_kind::kUnrecognised, os_kind::kWin32s, -1, 31, 32, 33, 1 << 30}) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(IsSupportedPlatform(code));
        EXPECT_FALSE(IsNtFamilyPlatform(code));
        EXPECT_FALSE(Is9xFamilyPlatform(code));
    }
}

// The program reads GetVersion and names its script sections itself; the
// tools that read the table must meet the same codes and sections.
TEST(WindowsVersions, TheProgramIdentifiesEachVersionAndReadsItsSectionsAsTheTableSays) {
    for (const WindowsVersion& version : kWindowsVersions) {
        SCOPED_TRACE(version.id);
        const std::string section(version.scriptSection);
        EXPECT_EQ(version.platformCode, OsKindFromVersion(version.getVersion));
        EXPECT_EQ(section + " ShortCut",
                  shell_text::PlatformSection(version.platformCode,
                                              shell_text::section_family::kShortcut));
        ASSERT_TRUE(DriverSectionsFor(version.platformCode).has_value());
        EXPECT_EQ(section + " Driver Files", DriverSectionsFor(version.platformCode)->first);
    }
}

}  // namespace
}  // namespace setup32::platform
