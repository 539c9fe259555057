// The CONFIG.SYS editor against the simulated machine.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "install/context.h"
#include "install/setup_fields.h"
#include "platform/sim/sim_machine.h"
#include "sysconfig/sysconfig.h"

namespace setup32 {
namespace {

namespace fs = std::filesystem;
using platform::sim::SimMachine;

constexpr const char* kTarget = "c:\\CONFIG.SYS";
constexpr const char* kTemp = "c:\\CONFIG.tmp";
constexpr const char* kAside = "c:\\CONFIG.s32";
constexpr const char* kScript = "A:\\SETUP32.INI";

constexpr const char* kFourLines =
    "DEVICE=C:\\DEV\\old.sys /X\r\nREM KEEP.SYS\r\nrem old.sys\r\nFILES=30\r\n";
constexpr const char* kFourLinesEdited = "REM KEEP.SYS\r\nFILES=30\r\n";
constexpr const char* kFourLinesScript =
    "[Modify]\r\n1=C:\\DEV\\OLD.SYS\r\n2=;C:\\DEV\\KEEP.SYS\r\n";

// A machine with drives C: and A: on scratch directories, and the setup's
// state for one run started from A:\.
struct ConfigMachine {
    ConfigMachine() : root(MakeRoot()), ctx(sim.machine()) {
        fs::create_directories(root / "c");
        fs::create_directories(root / "a");
        sim.MapDrive('C', root / "c");
        sim.MapDrive('A', root / "a");
        dlg.startDir = "A:\\";
    }
    ~ConfigMachine() { fs::remove_all(root); }

    static fs::path MakeRoot() {
        static int serial = 0;
        return fs::temp_directory_path() /
               ("setup32_sysconfig_" + std::to_string(::getpid()) + "_" + std::to_string(++serial));
    }

    ConfigOutcome Edit() { return ModifyConfig(ctx, dlg, kTarget, "Modify"); }
    std::optional<std::string> Target() const { return sim.ReadFile(kTarget); }

    fs::path root;
    SimMachine sim;
    SetupContext ctx;
    SetupFields dlg;
};

class ConfigSysTest : public ::testing::Test, protected ConfigMachine {};

TEST_F(ConfigSysTest, RemovesTheLinesNamingAFileAndSkipsCommentEntries) {
    sim.WriteFile(kScript, kFourLinesScript);
    sim.WriteFile(kTarget, kFourLines);
    sim.WriteFile(kTemp, "left from an earlier run");
    sim.WriteFile(kAside, "left from an interrupted run");

    EXPECT_FALSE(Edit().fileError);

    EXPECT_EQ(Target(), kFourLinesEdited);
    EXPECT_FALSE(sim.Exists(kTemp));
    EXPECT_FALSE(sim.Exists(kAside));
    EXPECT_TRUE(sim.Boxes().empty());
}

TEST_F(ConfigSysTest, AReadOnlyConfigSysIsEditedToo) {
    sim.WriteFile(kScript, kFourLinesScript);
    sim.WriteFile(kTarget, kFourLines);
    sim.SetAttributes(kTarget, platform::kFileAttributeReadOnly);

    EXPECT_FALSE(Edit().fileError);

    EXPECT_EQ(Target(), kFourLinesEdited);
    EXPECT_FALSE(sim.Exists(kAside));
}

TEST_F(ConfigSysTest, RewritesLineEndsAndDropsEverythingFromCtrlZ) {
    struct Case {
        const char* before;
        const char* after;
    } const cases[] = {
        {"FILES=30\nBUFFERS=20\nrem old.sys\n", "FILES=30\r\nBUFFERS=20\r\n"},
        {"FILES=30\r\nLAST", "FILES=30\r\nLAST"},
        {"FILES=30\r\n\x1a", "FILES=30\r\n"},
        {"FILES=30\r\n\x1a"
         "DEVICE=X.SYS\r\n",
         "FILES=30\r\n"},
        {"FILES=30\rBUFFERS=20\r\n", "FILES=30\rBUFFERS=20\r\n"},
        {"", ""},
    };
    sim.WriteFile(kScript, kFourLinesScript);
    for (const Case& c : cases) {
        sim.WriteFile(kTarget, c.before);
        EXPECT_FALSE(Edit().fileError);
        EXPECT_EQ(Target(), c.after) << c.before;
    }
}

TEST_F(ConfigSysTest, WithoutConfigSysNothingIsCreatedOrShown) {
    sim.WriteFile(kScript, kFourLinesScript);
    EXPECT_FALSE(Edit().fileError);
    EXPECT_FALSE(sim.Exists(kTarget));
    EXPECT_FALSE(sim.Exists(kTemp));
    EXPECT_TRUE(sim.Boxes().empty());
}

// Entries that give no match list: a box, and every line kept.
TEST_F(ConfigSysTest, ReportsAMissingOrOversizedModifyListAndKeepsEveryLine) {
    const std::string longEntry(254, 'X');
    std::string oversized = "[Modify]\r\n";
    for (int n = 1; n <= 9; ++n) oversized += std::to_string(n) + "=" + longEntry + "\r\n";
    struct Case {
        std::string script;
        int message;  // 0: no box
    } const cases[] = {
        {"[Display]\r\nbShow=YES\r\n", 49},
        {"[Modify]\r\n2=C:\\DEV\\OLD.SYS\r\n", 49},
        {"[Modify]\r\n1=\r\n2=C:\\DEV\\OLD.SYS\r\n", 49},
        {oversized, 48},
        {"[Modify]\r\n1=;OLD.SYS\r\n2=;C:\\DEV\\OLD.SYS\r\n", 0},
        {"[Modify]\r\n1=C:\\DEV\\\r\n", 0},  // no file name: matches nothing
    };
    std::size_t boxes = 0;
    for (const Case& c : cases) {
        sim.WriteFile(kScript, c.script);
        sim.WriteFile(kTarget, kFourLines);
        EXPECT_FALSE(Edit().fileError);
        EXPECT_EQ(Target(), kFourLines) << c.script;
        if (c.message == 0) {
            EXPECT_EQ(sim.Boxes().size(), boxes) << c.script;
            continue;
        }
        ASSERT_EQ(sim.Boxes().size(), ++boxes) << c.script;
        const platform::sim::BoxRecord& box = sim.Boxes().back();
        EXPECT_EQ(box.owner, 0u);
        EXPECT_EQ(box.text, ctx.Msg(c.message));
        EXPECT_EQ(box.caption, "");
        EXPECT_EQ(box.type, platform::mb::kOk);
    }
}

TEST_F(ConfigSysTest, ReadsNumberedKeysUpToTheFirstGap) {
    sim.WriteFile(kScript, "[modify]\r\n1=A\r\n2=C:\\B\r\n4=D\r\n");
    const platform::SectionBlock block = ReadNumberedKeys(ctx, "Modify", 2048, kScript);
    EXPECT_EQ(block.count, 6u);
    EXPECT_EQ(std::string(block.bytes.data(), 8), std::string("A\0C:\\B\0\0\0", 8));
    EXPECT_EQ(block.Capacity(), 2048u);

    const platform::SectionBlock small = ReadNumberedKeys(ctx, "Modify", 6, kScript);
    EXPECT_TRUE(small.TooLarge());
}

TEST_F(ConfigSysTest, ATempFileThatCannotBeCreatedIsReportedAndChangesNothing) {
    sim.WriteFile(kScript, kFourLinesScript);
    sim.WriteFile(kTarget, kFourLines);
    sim.FailCall("_lcreat", platform::win_error::kWriteProtect);

    EXPECT_FALSE(Edit().fileError);

    EXPECT_EQ(Target(), kFourLines);
    ASSERT_EQ(sim.Boxes().size(), 1u);
    const platform::sim::BoxRecord& box = sim.Boxes()[0];
    EXPECT_EQ(box.owner, 0u);
    EXPECT_EQ(box.text, ctx.Msg(46));
    EXPECT_EQ(box.caption, ctx.Msg(47));
    EXPECT_EQ(box.type, platform::mb::kOk | platform::mb::kIconError);
}

enum class Content { kOld, kNew };

void ExpectConfigSys(const ConfigMachine& m, Content content) {
    EXPECT_EQ(m.Target(), content == Content::kOld ? kFourLines : kFourLinesEdited);
}

// A failure at each file step: c:\CONFIG.SYS holds the old or the new
// content afterwards, and every failure after the temporary file exists is
// handed back to the install sequence.
TEST(ConfigSysFaults, AFailedFileStepNeverLosesConfigSys) {
    struct Case {
        const char* call;
        int nth;
        bool fileError;
        Content content;
    } const cases[] = {
        {"_lopen", 1, false, Content::kOld},      {"_lcreat", 1, false, Content::kOld},
        {"_lread", 1, true, Content::kOld},       {"_lwrite", 1, true, Content::kOld},
        {"_lclose", 1, true, Content::kOld},      {"_lclose", 2, true, Content::kOld},
        {"DeleteFileA", 1, false, Content::kNew}, {"MoveFileA", 1, true, Content::kOld},
        {"MoveFileA", 2, true, Content::kOld},    {"DeleteFileA", 2, true, Content::kNew},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.call) + " #" + std::to_string(c.nth));
        ConfigMachine m;
        m.sim.WriteFile(kScript, kFourLinesScript);
        m.sim.WriteFile(kTarget, kFourLines);
        m.sim.FailCall(c.call, platform::win_error::kAccessDenied, c.nth);

        const ConfigOutcome outcome = m.Edit();

        EXPECT_EQ(outcome.fileError, c.fileError);
        if (c.fileError) {
            EXPECT_EQ(outcome.failedCall, c.call);
        }
        ExpectConfigSys(m, c.content);
        EXPECT_FALSE(m.sim.Exists(kTemp));
    }
}

// The same invariant with a failure at every seam call the editor makes.
TEST(ConfigSysFaults, EverySingleFailedCallLeavesOldOrNewContent) {
    long calls = 0;
    {
        ConfigMachine m;
        m.sim.WriteFile(kScript, kFourLinesScript);
        m.sim.WriteFile(kTarget, kFourLines);
        const long before = m.sim.CallCount();
        ASSERT_FALSE(m.Edit().fileError);
        calls = m.sim.CallCount() - before;
    }
    ASSERT_GT(calls, 8);
    for (long n = 1; n <= calls; ++n) {
        SCOPED_TRACE("call " + std::to_string(n));
        ConfigMachine m;
        m.sim.WriteFile(kScript, kFourLinesScript);
        m.sim.WriteFile(kTarget, kFourLines);
        m.sim.FailNthCall(m.sim.CallCount() + n, platform::win_error::kAccessDenied);
        m.Edit();
        const std::optional<std::string> target = m.Target();
        ASSERT_TRUE(target.has_value());
        EXPECT_TRUE(*target == kFourLines || *target == kFourLinesEdited) << *target;
    }
}

}  // namespace
}  // namespace setup32
