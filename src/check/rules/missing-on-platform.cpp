// A kind of effect that the other platforms of the check get and one does
// not: a program group with its shortcuts, the uninstall entry, programs
// started after the install, the INF, the miniport's registration.
#include <algorithm>

#include "check/rules/rule.h"
#include "platform/sim/sim_machine.h"
#include "shellint/shell_text.h"

namespace setup32::check {
namespace {

namespace version = platform::sim::version;

bool IsNt(const RunResult& run) {
    return run.platform.version == version::kWindowsNT4 ||
           run.platform.version == version::kWindows2000;
}

// The copies of the plan that landed in a folder below the Windows
// directory, and their lines.
std::vector<int> CopiesInto(const Plan& plan, const char* folder) {
    const std::string into = PathKey(shell_text::JoinPath(plan.windowsDir, folder)) + "\\";
    std::vector<int> lines;
    for (const CopyRecord& copy : plan.copies) {
        if (copy.error == 0 && copy.line > 0 && PathKey(copy.destination).rfind(into, 0) == 0)
            lines.push_back(copy.line);
    }
    return lines;
}

struct Kind {
    const char* what;  // "program group and shortcuts"
    // Whether the run's platform can have it at all.
    bool (*applies)(const RunResult& run);
    // The lines that give it in the run; `has` is false when it has none.
    bool (*has)(const RunResult& run, std::vector<int>& lines);
};

bool Always(const RunResult&) {
    return true;
}

const Kind kKinds[] = {
    {"program group and shortcuts", Always,
     [](const RunResult& run, std::vector<int>& lines) {
         for (const ShortcutPlan& shortcut : run.plan.shortcuts) lines.push_back(shortcut.line);
         return !run.plan.shortcuts.empty();
     }},
    {"uninstall entry", Always,
     [](const RunResult& run, std::vector<int>&) { return !run.plan.uninstallKey.empty(); }},
    {"programs started after the install", Always,
     [](const RunResult& run, std::vector<int>& lines) {
         for (const ProgramPlan& program : run.plan.programs) {
             if (program.line > 0) lines.push_back(program.line);  // not the group converter
         }
         return !lines.empty();
     }},
    // Windows 95 and 98 install the adapter from its INF; NT 4.0 has none
    // for it, and on 2000 the script's INF is the vendor's choice.
    {"INF file in the INF folder", [](const RunResult& run) { return !IsNt(run); },
     [](const RunResult& run, std::vector<int>& lines) {
         lines = CopiesInto(run.plan, "INF");
         return !lines.empty();
     }},
    // Each family holds its miniport its own way.
    {"miniport service", IsNt,
     [](const RunResult& run, std::vector<int>& lines) {
         for (const Plan::Service& service : run.plan.services)
             lines.insert(lines.end(), service.lines.begin(), service.lines.end());
         return !run.plan.services.empty();
     }},
    {"miniport in SYSTEM\\IOSUBSYS", [](const RunResult& run) { return !IsNt(run); },
     [](const RunResult& run, std::vector<int>& lines) {
         lines = CopiesInto(run.plan, "SYSTEM\\IOSUBSYS");
         return !lines.empty();
     }},
};

// A run with an error of its own (no driver line at all, a [Display]
// that is not read) has the cause of what it lacks reported already.
bool HasError(const RunResult& run) {
    return std::any_of(run.findings.begin(), run.findings.end(),
                       [](const Finding& f) { return f.severity == Severity::Error; });
}

}  // namespace

void CheckMissingOnPlatform(std::vector<RunResult*>& runs, const char* id) {
    for (const Kind& kind : kKinds) {
        std::vector<std::string> having;
        std::vector<int> lines;
        std::vector<RunResult*> lacking;
        for (RunResult* run : runs) {
            if (!kind.applies(*run)) continue;
            std::vector<int> given;
            if (kind.has(*run, given)) {
                having.push_back(run->platform.title);
                lines.insert(lines.end(), given.begin(), given.end());
            } else if (!HasError(*run)) {
                lacking.push_back(run);
            }
        }
        if (having.empty()) continue;
        std::sort(lines.begin(), lines.end());
        lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
        lines.erase(std::remove(lines.begin(), lines.end(), 0), lines.end());
        for (RunResult* run : lacking) {
            run->findings.push_back(
                {Severity::Warning, 0,
                 std::string(run->platform.title) + " gets no " + kind.what + ", while " +
                     ListedTitles(having) + (having.size() == 1 ? " does" : " do") +
                     (lines.empty() ? std::string() : " (" + ListedLines(lines) + ")") +
                     "; write the sections for " + run->platform.title + " too",
                 id, lines});
        }
    }
}

}  // namespace setup32::check
