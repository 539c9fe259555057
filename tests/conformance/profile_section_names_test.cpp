// The read of a profile file's section names, by which Start tells a script
// it can install from from one that reads as nothing.
#include <string>
#include <string_view>
#include <vector>

#include "fixture.h"

namespace setup32::conformance {
namespace {

class SectionNamesTest : public ConformanceTest {
  protected:
    std::vector<std::string> NamesIn(const std::string& path) {
        std::vector<std::string> names;
        const platform::SectionBlock block = machine_.profile.ReadSectionNames(path, 2048);
        for (std::string_view name : block.Lines()) {
            names.emplace_back(name);
        }
        return names;
    }
};

using Names = std::vector<std::string>;

TEST_F(SectionNamesTest, EveryHeaderInFileOrderAsWritten) {
    const std::string path = WriteBytes(
        "GroupName=before any header\r\n[Display]\r\nbShow=YES\r\n\r\n[win95 Driver Files]\r\n"
        "[Modify]\r\n1=OLD.SYS\r\n");
    EXPECT_EQ(NamesIn(path), (Names{"Display", "win95 Driver Files", "Modify"}));
}

// Wine's dlls/kernel32/tests/profile.c, test_profile_sections_names: three
// names of 8 characters need 28 bytes; a buffer of exactly 28 already
// answers capacity - 2, as a section read does.
TEST_F(SectionNamesTest, NamesThatDoNotFitGiveCapacityMinusTwo) {
    const std::string path = WriteBytes("[section1]\r\n[section2]\r\n[section3]\r\n");
    struct Row {
        int line;
        std::size_t capacity;
        std::size_t count;
    };
    const Row rows[] = {ROW(29, 27), ROW(28, 26), ROW(27, 25)};
    for (const Row& row : rows) {
        TRACE_ROW(row);
        EXPECT_EQ(machine_.profile.ReadSectionNames(path, row.capacity).count, row.count);
    }
}

TEST_F(SectionNamesTest, NoneFromAFileWithoutAHeader) {
    const struct {
        int line;
        const char* bytes;
    } rows[] = {
        ROW(""),
        ROW("\r\n\r\n"),
        ROW("bShow=YES\r\n1=.\\A.SYS,.\\SYSTEM\\A.SYS\r\n"),
        ROW("; [Display]\r\n"),
    };
    for (const auto& row : rows) {
        TRACE_ROW(row);
        const std::string path = WriteBytes(row.bytes);
        EXPECT_EQ(machine_.profile.ReadSectionNames(path, 2048).count, 0u);
    }
    EXPECT_EQ(machine_.profile.ReadSectionNames(Scratch("NOFILE.INI"), 2048).count, 0u);
}

const std::string kUtf16DisplaySection =
    std::string("\xFF\xFE[\0D\0i\0s\0p\0l\0a\0y\0]\0\r\0\n\0", 24);

TEST_F(SectionNamesTest, AUtf16FileIsReadOn2000) {
    const std::string path = WriteBytes(kUtf16DisplaySection);
    ForEachVersion({kWindows2000}, [&] { EXPECT_EQ(NamesIn(path), Names{"Display"}); });
}

TEST_F(SectionNamesTest, AUtf16FileGivesNoneOn9xAndNt4) {
    ONLY_ON_BACKEND("sim", "Wine reads a UTF-16 profile in every version setting (utf16-bom)");
    const std::string path = WriteBytes(kUtf16DisplaySection);
    ForEachVersion({kWindows95, kWindows98, kWindowsNT4},
                   [&] { EXPECT_EQ(NamesIn(path), Names{}); });
}

// As every other profile read: Wine's older test_profile_existing, "Win9x
// and WinME returns 0 for all cases except the first one".
TEST_F(SectionNamesTest, AFileAViewerHoldsGivesNoneOn9x) {
    const std::string path = WriteBytes("[Display]\r\nbShow=NO\r\n");
    const auto viewer = backend_->HoldForReading(path);
    ForEachVersion({kWindowsNT4, kWindows2000},
                   [&] { EXPECT_EQ(NamesIn(path), Names{"Display"}); });
    if (!IsBackend("sim")) return;
    ForEachVersion({kWindows95, kWindows98}, [&] { EXPECT_EQ(NamesIn(path), Names{}); });
}

}  // namespace
}  // namespace setup32::conformance
