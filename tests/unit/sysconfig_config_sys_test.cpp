// The CONFIG.SYS editor against the simulated machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "sim_fixture.h"
#include "state/setup_fields.h"
#include "sysconfig/sysconfig.h"

namespace setup32 {
namespace {

using platform::mb::kIconError;
using platform::mb::kIdOk;
using platform::mb::kOk;

constexpr const char* kTarget = "c:\\CONFIG.SYS";
constexpr const char* kTemp = "c:\\CONFIG.tmp";
constexpr const char* kAside = "c:\\CONFIG.s32";

constexpr const char* kFourLines =
    "DEVICE=C:\\DEV\\old.sys /X\r\nREM KEEP.SYS\r\nrem old.sys\r\nFILES=30\r\n";
constexpr const char* kFourLinesEdited = "REM KEEP.SYS\r\nFILES=30\r\n";
constexpr const char* kFourLinesScript =
    "[Modify]\r\n1=C:\\DEV\\OLD.SYS\r\n2=;C:\\DEV\\KEEP.SYS\r\n";

class ConfigSysTest : public testing::SimFixture {
  protected:
    ConfigSysTest() { dlg_.startDir = kMedium; }

    ConfigOutcome Edit() { return ModifyConfig(ctx(), dlg_, kTarget, "Modify"); }
    std::optional<std::string> Target() { return sim().ReadFile(kTarget); }
    void Prepare(const std::string& script, const std::string& config) {
        WriteScript(script);
        sim().WriteFile(kTarget, config);
    }
    void ExpectBox(std::size_t index, const std::string& text, const std::string& caption,
                   unsigned type) {
        ASSERT_GT(sim().Boxes().size(), index);
        const platform::sim::BoxRecord& box = sim().Boxes()[index];
        EXPECT_EQ(box.owner, 0u);
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, caption);
        EXPECT_EQ(box.type, type);
    }

    SetupFields dlg_;
};

TEST_F(ConfigSysTest, RemovesTheLinesNamingAFileAndSkipsCommentEntries) {
    Prepare(kFourLinesScript, kFourLines);
    sim().WriteFile(kTemp, "left from an earlier run");

    EXPECT_FALSE(Edit().fileError);

    EXPECT_EQ(Target(), kFourLinesEdited);
    EXPECT_FALSE(sim().Exists(kTemp));
    EXPECT_FALSE(sim().Exists(kAside));
    EXPECT_TRUE(sim().Boxes().empty());
}

// "c:\CONFIG.s00" to "c:\CONFIG.s99".
std::string AsideName(int number) {
    return std::string("c:\\CONFIG.s") + (number < 10 ? "0" : "") + std::to_string(number);
}

// The set-aside names from `first` to `last`, going round after .s99.
std::vector<std::string> AsideNames(int first, int last) {
    std::vector<std::string> names;
    for (int n = first;; n = (n + 1) % 100) {
        names.push_back(AsideName(n));
        if (n == last) return names;
    }
}

// The old content is set aside under a name that no file has, trying
// .s32 first and going round from .s99 to .s00: files of those names that
// someone else made keep their content and attributes.
TEST_F(ConfigSysTest, SetsTheOldContentAsideWithoutTouchingOtherFiles) {
    struct Case {
        std::vector<std::string> taken;
        std::string aside;
    } const cases[] = {
        {{}, AsideName(32)},
        {{AsideName(32), AsideName(34)}, AsideName(33)},
        {AsideNames(32, 99), AsideName(0)},
        {AsideNames(32, 30), AsideName(31)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.aside);
        Prepare(kFourLinesScript, kFourLines);
        for (const std::string& other : c.taken) {
            sim().WriteFile(other, "kept by the user");
            sim().SetAttributes(other, platform::kFileAttributeReadOnly);
        }
        const std::size_t eventsBefore = sim().Events().size();

        EXPECT_FALSE(Edit().fileError);

        EXPECT_EQ(Target(), kFourLinesEdited);
        const auto move = std::find_if(
            sim().Events().begin() + eventsBefore, sim().Events().end(),
            [](const platform::sim::Event& event) { return event.call == "MoveFileA"; });
        ASSERT_NE(move, sim().Events().end());
        EXPECT_EQ(move->detail, std::string(kTarget) + " -> " + c.aside);
        EXPECT_FALSE(sim().Exists(c.aside));
        for (const std::string& other : c.taken) {
            EXPECT_EQ(sim().ReadFile(other), "kept by the user") << other;
            EXPECT_EQ(sim().Attributes(other), platform::kFileAttributeReadOnly) << other;
            sim().SetAttributes(other, platform::kFileAttributeNormal);
            std::filesystem::remove(sim().HostPath(other));
        }
    }
}

// With every name taken the edit does not begin: nothing is written, and
// the outcome names the first and the last name.
TEST_F(ConfigSysTest, WithEveryAsideNameTakenNothingIsWritten) {
    Prepare(kFourLinesScript, kFourLines);
    for (const std::string& other : AsideNames(0, 99)) sim().WriteFile(other, "kept by the user");

    const ConfigOutcome outcome = Edit();

    EXPECT_TRUE(outcome.fileError);
    EXPECT_TRUE(outcome.asideNamesTaken);
    EXPECT_EQ(outcome.path, kTarget);
    EXPECT_EQ(outcome.firstAsidePath, "c:\\CONFIG.s00");
    EXPECT_EQ(outcome.lastAsidePath, "c:\\CONFIG.s99");
    EXPECT_EQ(Target(), kFourLines);
    EXPECT_FALSE(sim().Exists(kTemp));
    for (const std::string& other : AsideNames(0, 99)) {
        EXPECT_EQ(sim().ReadFile(other), "kept by the user") << other;
    }
}

TEST_F(ConfigSysTest, TheNewFileKeepsTheOldOnesAttributes) {
    constexpr std::uint32_t kAttributes = platform::kFileAttributeReadOnly |
                                          platform::kFileAttributeHidden |
                                          platform::kFileAttributeSystem;
    Prepare(kFourLinesScript, kFourLines);
    sim().SetAttributes(kTarget, kAttributes);

    EXPECT_FALSE(Edit().fileError);

    EXPECT_EQ(Target(), kFourLinesEdited);
    EXPECT_EQ(sim().Attributes(kTarget), kAttributes);
    EXPECT_FALSE(sim().Exists(kAside));
}

// Once the new file is in place the edit has succeeded, even when its own
// copy of the old content cannot go.
TEST_F(ConfigSysTest, AnOldContentThatCannotBeDeletedStaysBesideIt) {
    Prepare(kFourLinesScript, kFourLines);
    sim().FailCall(platform::sim::Call::DeleteFileA, platform::win_error::kAccessDenied);

    EXPECT_FALSE(Edit().fileError);

    EXPECT_EQ(Target(), kFourLinesEdited);
    EXPECT_EQ(sim().ReadFile(kAside), kFourLines);
}

// When neither file can take the target's name, the outcome says where the
// old and the new content are.
TEST_F(ConfigSysTest, WhenBothRenamesFailTheOutcomeNamesBothFiles) {
    Prepare(kFourLinesScript, kFourLines);
    sim().FailCall(platform::sim::Call::MoveFileA, platform::win_error::kAccessDenied, 2, true);

    const ConfigOutcome outcome = Edit();

    EXPECT_TRUE(outcome.fileError);
    EXPECT_EQ(outcome.oldContentPath, kAside);
    EXPECT_EQ(outcome.newContentPath, kTemp);
    EXPECT_EQ(sim().ReadFile(kAside), kFourLines);
    EXPECT_EQ(sim().ReadFile(kTemp), kFourLinesEdited);
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
        {"FILES=30\rBUFFERS=20\r\r\n", "FILES=30\rBUFFERS=20\r\r\n"},  // a lone CR stays
        {"", ""},
    };
    for (const Case& c : cases) {
        Prepare(kFourLinesScript, c.before);
        EXPECT_FALSE(Edit().fileError);
        EXPECT_EQ(Target(), c.after) << c.before;
    }
}

TEST_F(ConfigSysTest, WithoutConfigSysNothingIsCreatedOrShown) {
    WriteScript(kFourLinesScript);
    EXPECT_FALSE(Edit().fileError);
    EXPECT_FALSE(sim().Exists(kTarget));
    EXPECT_FALSE(sim().Exists(kTemp));
    EXPECT_TRUE(sim().Boxes().empty());
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
        SCOPED_TRACE(c.script);
        Prepare(c.script, kFourLines);
        if (c.message != 0) sim().QueueAnswer(kIdOk);
        EXPECT_FALSE(Edit().fileError);
        EXPECT_EQ(Target(), kFourLines);
        if (c.message != 0) ExpectBox(boxes++, ctx().Msg(c.message), "", kOk);
        EXPECT_EQ(sim().Boxes().size(), boxes);
    }
}

TEST_F(ConfigSysTest, ReadsNumberedKeysUpToTheFirstGap) {
    WriteScript("[modify]\r\n1=A\r\n2=C:\\B\r\n4=D\r\n");
    const platform::SectionBlock block = ReadNumberedKeys(ctx(), "Modify", 2048, kScriptPath);
    EXPECT_EQ(block.count, 7u);
    EXPECT_EQ(block.Capacity(), 2048u);
    EXPECT_EQ(std::string(block.bytes.data(), 8), std::string("A\0C:\\B\0\0\0", 8));

    EXPECT_TRUE(ReadNumberedKeys(ctx(), "Modify", 7, kScriptPath).TooLarge());
    EXPECT_EQ(ReadNumberedKeys(ctx(), "Modify", 8, kScriptPath).count, 7u);
}

TEST_F(ConfigSysTest, ATempFileThatCannotBeCreatedIsReportedAndChangesNothing) {
    Prepare(kFourLinesScript, kFourLines);
    sim().FailCall(platform::sim::Call::_lcreat, platform::win_error::kWriteProtect);
    sim().QueueAnswer(kIdOk);

    EXPECT_FALSE(Edit().fileError);

    EXPECT_EQ(Target(), kFourLines);
    ExpectBox(0, ctx().Msg(46), ctx().Msg(47), kOk | kIconError);
}

enum class Content { kOld, kNew };

struct FailedStep {
    const char* call;
    int nth;
    bool fileError;
    Content content;
};

void PrintTo(const FailedStep& step, std::ostream* os) {
    *os << step.call << " #" << step.nth;
}

class ConfigSysStepFailure : public ConfigSysTest,
                             public ::testing::WithParamInterface<FailedStep> {};

// c:\CONFIG.SYS holds the old or the new content after a failed step, no
// temporary file is left, and every failure once the temporary file exists
// goes back to the install sequence.
TEST_P(ConfigSysStepFailure, NeverLosesConfigSys) {
    const FailedStep& step = GetParam();
    Prepare(kFourLinesScript, kFourLines);
    sim().FailCall(platform::sim::CallNamed(step.call).value(), platform::win_error::kAccessDenied,
                   step.nth);
    if (std::string(step.call) == "_lcreat") sim().QueueAnswer(kIdOk);

    const ConfigOutcome outcome = Edit();

    EXPECT_EQ(outcome.fileError, step.fileError);
    if (step.fileError) {
        EXPECT_EQ(outcome.failedCall, step.call);
        EXPECT_EQ(outcome.error, platform::win_error::kAccessDenied);
    }
    EXPECT_EQ(Target(), step.content == Content::kOld ? kFourLines : kFourLinesEdited);
    EXPECT_FALSE(sim().Exists(kTemp));
}

INSTANTIATE_TEST_SUITE_P(
    EachFileStep, ConfigSysStepFailure,
    ::testing::Values(FailedStep{"_lopen", 1, false, Content::kOld},
                      FailedStep{"_lcreat", 1, false, Content::kOld},
                      FailedStep{"_lwrite", 1, true, Content::kOld},
                      FailedStep{"_lclose", 1, true, Content::kOld},         // the target
                      FailedStep{"_lclose", 2, true, Content::kOld},         // the temporary file
                      FailedStep{"MoveFileA", 1, true, Content::kOld},       // old aside
                      FailedStep{"MoveFileA", 2, true, Content::kOld},       // new in
                      FailedStep{"DeleteFileA", 1, false, Content::kNew}));  // old gone

TEST_F(ConfigSysTest, AFailedReadIsAFileError) {
    Prepare(kFourLinesScript, kFourLines);
    sim().FailCall(platform::sim::Call::_lread, platform::win_error::kReadFault);
    const ConfigOutcome outcome = Edit();
    EXPECT_TRUE(outcome.fileError);
    EXPECT_EQ(outcome.failedCall, "_lread");
    EXPECT_EQ(outcome.path, kTarget);
    EXPECT_EQ(Target(), kFourLines);
    EXPECT_FALSE(sim().Exists(kTemp));
}

// A failure at any one seam call of the editor, whatever it is.
class ConfigSysAnyCallFailure : public ConfigSysTest, public ::testing::WithParamInterface<int> {
  protected:
    // Which boxes come depends on the call that failed.
    void TearDown() override {}
};

constexpr int kMostEditorCalls = 30;

TEST_P(ConfigSysAnyCallFailure, LeavesTheOldOrTheNewContent) {
    Prepare(kFourLinesScript, kFourLines);
    sim().FailNthCall(GetParam(), platform::win_error::kAccessDenied);
    Edit();
    const std::optional<std::string> target = Target();
    const std::string failed =
        sim().FailedCalls().empty() ? "none" : sim().FailedCalls().front().call;
    ASSERT_TRUE(target.has_value()) << "CONFIG.SYS is gone after the failed call " << failed;
    EXPECT_TRUE(*target == kFourLines || *target == kFourLinesEdited)
        << "after the failed call " << failed << " CONFIG.SYS holds: " << *target;
}

INSTANTIATE_TEST_SUITE_P(EachCall, ConfigSysAnyCallFailure, ::testing::Range(1, kMostEditorCalls));

TEST_F(ConfigSysTest, TheCallSweepCoversEveryCall) {
    Prepare(kFourLinesScript, kFourLines);
    const long before = sim().CallCount();
    Edit();
    EXPECT_LT(sim().CallCount() - before, kMostEditorCalls);
}

}  // namespace
}  // namespace setup32
