// The checker's command line, each option tested by what it changes: the
// runs made, the machine they start from, and the exit status.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "check/command_line.h"
#include "check_table.h"

namespace setup32::check {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// The command's argv: its name, then `arguments`, which must outlive it.
std::vector<const char*> Argv(const std::vector<std::string>& arguments) {
    std::vector<const char*> argv = {"setup32-check"};
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    return argv;
}

Outcome RunCommandLine(const std::vector<std::string>& arguments) {
    const std::vector<const char*> argv = Argv(arguments);
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCommand(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

std::string MediumPath(const char* name) {
    return (kMedia / name).string();
}

CommandLine Parsed(const std::vector<std::string>& arguments) {
    const std::vector<const char*> argv = Argv(arguments);
    CommandLine command;
    std::string whyNot;
    EXPECT_TRUE(ParseArguments(static_cast<int>(argv.size()), argv.data(), command, whyNot))
        << whyNot;
    return command;
}

std::vector<std::string> RunNames(const CheckOptions& options) {
    std::vector<std::string> names;
    for (const PlatformInfo& platform : options.platforms) {
        for (const LanguageInfo& language : options.languages)
            names.push_back(std::string(platform.name) + " " + language.name);
    }
    return names;
}

// Notes say what the program ignores: they leave the status at 0. A
// warning makes it 1, an error 2, a check that cannot run 3.
TEST(CheckCommand, TheExitStatusCountsWarningsAndErrorsOnly) {
    EXPECT_EQ(0, RunCommandLine({MediumPath("clean-notes")}).status);
    EXPECT_EQ(0, RunCommandLine({MediumPath("clean-update")}).status);
    EXPECT_EQ(1, RunCommandLine({MediumPath("rule-missing-on-platform")}).status);
    EXPECT_EQ(2,
              RunCommandLine({MediumPath("rule-dest-overwritten"), "--platform", "nt40"}).status);
    EXPECT_EQ(3, RunCommandLine({MediumPath("no-such-medium")}).status);
}

// A list names its runs; "all" is every one. A comma too many is refused
// with a reason rather than taken for a name or dropped.
TEST(CheckCommand, PlatformAndLanguageListsChooseTheRuns) {
    EXPECT_EQ((std::vector<std::string>{"nt40 en"}),
              RunNames(Parsed({"m", "--platform", "nt40"}).options));
    EXPECT_EQ((std::vector<std::string>{"win98 zh", "win98 ja", "win2k zh", "win2k ja"}),
              RunNames(Parsed({"m", "--platform", "win98,win2k", "--language", "zh,ja"}).options));
    EXPECT_EQ(4u, Parsed({"m", "--platform", "all"}).options.platforms.size());
    for (const char* list : {"nt40,", ",nt40", "nt40,,win2k", "nt4"}) {
        SCOPED_TRACE(list);
        const Outcome refused = RunCommandLine({MediumPath("clean-update"), "--platform", list});
        EXPECT_EQ(3, refused.status);
        EXPECT_NE(std::string::npos, refused.err.find(std::string("\"") + list + "\""));
        EXPECT_TRUE(refused.out.empty());
    }
}

// Without CONFIG.SYS the [Modify] entries of the sample have no line to
// remove; with one given, its lines are the ones the editor sees.
TEST(CheckCommand, ConfigSysOptionsChangeTheMachine) {
    const std::string sample =
        (std::filesystem::path(SETUP32_SOURCE_DIR) / "examples" / "medium").string();
    const auto removed = [](const CommandLine& command) {
        std::vector<std::string> lines;
        for (const RunResult& run : Check(command.options).runs) {
            lines.insert(lines.end(), run.plan.configRemoved.begin(), run.plan.configRemoved.end());
        }
        return lines;
    };
    EXPECT_EQ((std::vector<std::string>{"DEVICE=C:\\OLDDRV\\OLDADP.SYS /D:1"}),
              removed(Parsed({sample, "--platform", "win95"})));
    const CommandLine without = Parsed({sample, "--platform", "win95", "--no-config-sys"});
    EXPECT_TRUE(removed(without).empty());
    EXPECT_EQ("", Check(without.options).runs.front().plan.configBefore);

    const std::string config = (kMedia / "rule-line-undone" / "DOC" / "CONFIG.SYS").string();
    const CommandLine given = Parsed({sample, "--platform", "nt40", "--config-sys", config});
    EXPECT_EQ("DEVICE=C:\\QX\\QX6.SYS\r\nFILES=40\r\n",
              Check(given.options).runs.front().plan.configBefore);

    const Outcome both = RunCommandLine({sample, "--config-sys", config, "--no-config-sys"});
    EXPECT_EQ(3, both.status);
    EXPECT_NE(std::string::npos, both.err.find("exclude each other"));
}

}  // namespace
}  // namespace setup32::check
