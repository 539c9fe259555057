// The CONFIG.SYS editor's text rules, on a host with a double-byte code page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host.h"
#include "sysconfig/config_text.h"

namespace setup32 {
namespace {

// Code page 932's lead bytes; upper-casing folds a-z only, leaving the
// bytes of double-byte characters alone.
class ShiftJisHost : public platform::HostFacts {
  public:
    std::uint32_t Version() const override { return 0; }
    std::uint32_t DefaultLcid() const override { return 0x0411; }
    unsigned AnsiCodePage() const override { return 932; }
    bool IsLeadByte(unsigned char byte) const override {
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    }
    std::string UpperCase(std::string_view text) const override {
        std::string upper(text);
        for (std::size_t i = 0; i < upper.size(); ++i) {
            const auto byte = static_cast<unsigned char>(upper[i]);
            if (IsLeadByte(byte)) {
                ++i;
            } else if (byte >= 'a' && byte <= 'z') {
                upper[i] = static_cast<char>(byte - 'a' + 'A');
            }
        }
        return upper;
    }
};

// "表" in code page 932: its trail byte is "\".
constexpr const char* kTrailBackslash = "\x95\x5c";
// A double-byte character whose trail byte is "A".
constexpr const char* kTrailA = "\x82\x41";

TEST(ConfigMatchList, TakesUpperCasedFileNamesAndSkipsCommentsAndEmptyNames) {
    const ShiftJisHost host;
    const std::string dbcsDir = std::string("C:\\") + kTrailBackslash + "x.sys";
    const std::vector<std::string_view> entries = {
        "C:\\DEV\\old.sys", ";C:\\DEV\\KEEP.SYS", "emm386", "C:\\DEV\\", "", dbcsDir,
    };
    const std::vector<std::string> expected = {"OLD.SYS", "EMM386",
                                               std::string(kTrailBackslash) + "X.SYS"};
    EXPECT_EQ(BuildMatchList(host, entries), expected);
}

TEST(ConfigLineMatch, SearchesAnywhereWithoutCaseButOnlyAtCharacterStarts) {
    const ShiftJisHost host;
    const std::vector<std::string> emm = {"EMM386.EXE"};
    EXPECT_TRUE(LineMatches(host, "DEVICE=C:\\WINDOWS\\EMM386.EXE NOEMS\n", emm));
    EXPECT_TRUE(LineMatches(host, "REM emm386.exe", emm));
    EXPECT_TRUE(LineMatches(host, "DEVICE=C:\\OLD\\XEMM386.EXE", emm));
    EXPECT_FALSE(LineMatches(host, "DEVICE=C:\\EMM386.SYS", emm));
    EXPECT_FALSE(LineMatches(host, "DEVICE=C:\\EMM386.EXE", {}));

    const std::vector<std::string> ab = {"AB"};
    EXPECT_FALSE(LineMatches(host, std::string("X") + kTrailA + "B", ab));
    EXPECT_TRUE(LineMatches(host, std::string(kTrailA) + "AB", ab));
}

TEST(ConfigLineMatch, LongLinesAreKeptOrDroppedWhole) {
    const ShiftJisHost host;
    const std::vector<std::string> list = {"OLD.SYS"};
    const std::string filler(300, 'x');
    const std::string matchedLate = "DEVICE=" + filler + "\\OLD.SYS " + filler + "\n";
    const std::string acrossPieceBorder = std::string(250, 'y') + "OLD.SYS" + filler + "\n";
    const std::string unmatched = "SHELL=" + filler + filler + "\n";
    const std::string text = "FILES=30\n" + matchedLate + acrossPieceBorder + unmatched + "LAST";
    EXPECT_EQ(RemoveMatchingLines(host, text, list), "FILES=30\n" + unmatched + "LAST");
}

TEST(ConfigLineMatch, LastLineWithoutLineEndIsALine) {
    const ShiftJisHost host;
    EXPECT_EQ(RemoveMatchingLines(host, "A\nOLD.SYS", {"OLD.SYS"}), "A\n");
    EXPECT_EQ(RemoveMatchingLines(host, "OLD.SYS\nB", {"OLD.SYS"}), "B");
    EXPECT_EQ(RemoveMatchingLines(host, "\n\nB", {"OLD.SYS"}), "\n\nB");
}

}  // namespace
}  // namespace setup32
