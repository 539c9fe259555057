#include "check/command_line.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>

#include "check/check.h"

namespace setup32::check {
namespace {

constexpr int kCannotRun = 3;

constexpr const char* kUsage =
    "usage: setup32-check MEDIUM [--platform win95,win98,nt40,win2k|all]\n"
    "                     [--language en,zh,ja|all] [--config-sys FILE | --no-config-sys]\n"
    "                     [--registry FILE.reg] [--answer retry=yes|no] [--floppy]\n"
    "                     [--start-dir X:\\DIR] [--windows-dir C:\\DIR] [--plans] [--json]\n"
    "       setup32-check --help\n"
    "\n"
    "Dry-runs setup32.exe on the medium (the folder that holds SETUP32.INI) on simulated\n"
    "Windows machines, one run for each platform and language (default: every platform,\n"
    "English), and says what in the script will not work as meant. Each machine starts\n"
    "as examples/machine describes it: the medium in A:\\, Windows where that version's\n"
    "setup put it (C:\\WINDOWS on 95 and 98, C:\\WINNT on NT 4.0 and 2000), and its\n"
    "CONFIG.SYS; --start-dir, --windows-dir, --config-sys and --no-config-sys change that.\n"
    "\n"
    "The report gives each finding once and one line for each run (its exit code, the\n"
    "files copied and failed, the message boxes); --plans adds each run's whole plan,\n"
    "--json gives everything as one JSON document.\n"
    "\n"
    "Exit status: 0 nothing found or notes only, 1 warnings, 2 errors, 3 the check could not\n"
    "run.\n";

std::optional<std::string> ReadHostFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The entries of `all` named in a comma list, or all of them for "all".
template <typename Info>
bool Choose(const std::string& list, const std::vector<Info>& all, std::vector<Info>& chosen,
            std::string& whyNot) {
    if (list == "all") {
        chosen = all;
        return true;
    }
    chosen.clear();
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string name = list.substr(start, comma - start);
        if (name.empty()) {
            whyNot = "an empty name in \"" + list + "\" (a comma too many?); give names such as " +
                     std::string(all.front().name) + " separated by commas, or all";
            return false;
        }
        const auto it = std::find_if(all.begin(), all.end(),
                                     [&name](const Info& info) { return name == info.name; });
        if (it == all.end()) {
            whyNot = "unknown name \"" + name + "\" in \"" + list + "\"";
            return false;
        }
        chosen.push_back(*it);
        start = comma + 1;
    }
    return true;
}

}  // namespace

bool ParseArguments(int argc, const char* const* argv, CommandLine& command, std::string& whyNot) {
    command.options.platforms = Platforms();
    command.options.languages = {Languages().front()};
    bool haveMedium = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const auto next = [&](std::string& value) {
            if (i + 1 >= argc) {
                whyNot = argument + " needs a value";
                return false;
            }
            value = argv[++i];
            return true;
        };
        std::string value;
        if (argument == "--help" || argument == "-h") {
            command.help = true;
            return true;
        } else if (argument == "--json") {
            command.json = true;
        } else if (argument == "--plans") {
            command.detail = PlanDetail::Full;
        } else if (argument == "--no-config-sys") {
            command.options.withoutConfigSys = true;
        } else if (argument == "--floppy") {
            command.options.floppy = true;
        } else if (argument == "--platform") {
            if (!next(value) || !Choose(value, Platforms(), command.options.platforms, whyNot))
                return false;
        } else if (argument == "--language") {
            if (!next(value) || !Choose(value, Languages(), command.options.languages, whyNot))
                return false;
        } else if (argument == "--config-sys" || argument == "--registry") {
            if (!next(value)) return false;
            const std::optional<std::string> bytes = ReadHostFile(value);
            if (!bytes) {
                whyNot = "cannot read " + value;
                return false;
            }
            (argument == "--registry" ? command.options.registry : command.options.configSys) =
                bytes;
        } else if (argument == "--answer") {
            if (!next(value)) return false;
            if (value != "retry=yes" && value != "retry=no") {
                whyNot = "--answer takes retry=yes or retry=no";
                return false;
            }
            command.options.retry = value == "retry=yes" ? RetryAnswer::Yes : RetryAnswer::No;
        } else if (argument == "--start-dir") {
            if (!next(command.options.startDir)) return false;
        } else if (argument == "--windows-dir") {
            if (!next(command.options.windowsDir)) return false;
        } else if (!argument.empty() && argument[0] == '-') {
            whyNot = "unknown option " + argument;
            return false;
        } else if (haveMedium) {
            whyNot = "one MEDIUM only";
            return false;
        } else {
            command.options.medium = argument;
            haveMedium = true;
        }
    }
    if (command.options.withoutConfigSys && command.options.configSys) {
        whyNot = "--config-sys and --no-config-sys exclude each other";
        return false;
    }
    if (!haveMedium) whyNot = "no MEDIUM given";
    return haveMedium;
}

namespace {

int Check(const CommandLine& command, std::ostream& out, std::ostream& err) {
    PreferMemoryForScratch(command.options.medium);
    std::string whyNot;
    const std::optional<CheckResult> result = CheckMedium(command.options, whyNot);
    if (!result) {
        err << "setup32-check: " << whyNot << "\n";
        return kCannotRun;
    }
    out << (command.json ? JsonReport(*result) : TextReport(*result, command.detail));
    return ExitStatus(*result);
}

}  // namespace

int RunCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CommandLine command;
    std::string whyNot;
    if (!ParseArguments(argc, argv, command, whyNot)) {
        err << "setup32-check: " << whyNot << "\n" << kUsage;
        return kCannotRun;
    }
    if (command.help) {
        out << kUsage;
        return 0;
    }
    // Whatever the medium holds, the checker ends with a status and a reason.
    try {
        return Check(command, out, err);
    } catch (const std::exception& failure) {
        err << "setup32-check: the check stopped: " << failure.what() << "\n";
    }
    return kCannotRun;
}

}  // namespace setup32::check
