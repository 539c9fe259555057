#include "check/report.h"

#include <algorithm>
#include <utility>

#include "check/json_writer.h"

namespace setup32::check {
namespace {

std::string FindingLine(const Finding& finding) {
    std::string text =
        std::string("  ") + SeverityName(finding.severity) + " [" + finding.rule + "]";
    if (finding.line > 0) {
        text += " (line " + std::to_string(finding.line);
        for (const int line : finding.touches)
            text += (line == finding.touches.front() ? "; touches " : ", ") + std::to_string(line);
        text += ")";
    }
    return text + ": " + finding.message + "\n";
}

// A cause and the runs that have it, by their index in the result.
struct SharedFinding {
    Finding finding;  // as the first run that has it gives it
    std::vector<std::size_t> runs;
};

// One cause: a rule's finding on a line, whatever each run's words; a
// finding without a line by its words too.
bool SameCause(const Finding& a, const Finding& b) {
    return a.rule == b.rule && a.line == b.line && a.severity == b.severity &&
           (a.line > 0 || a.message == b.message);
}

// Every cause of the result once, those of the medium (no line) first,
// then by line; causes of one line in the order the runs gave them.
std::vector<SharedFinding> FindingsOnce(const CheckResult& result) {
    std::vector<std::size_t> everyRun(result.runs.size());
    for (std::size_t i = 0; i < everyRun.size(); ++i) everyRun[i] = i;
    std::vector<SharedFinding> once;
    for (const Finding& finding : result.common) once.push_back({finding, everyRun});
    for (std::size_t run = 0; run < result.runs.size(); ++run) {
        for (const Finding& finding : result.runs[run].findings) {
            const auto same = std::find_if(once.begin(), once.end(), [&](const SharedFinding& f) {
                return SameCause(f.finding, finding);
            });
            if (same == once.end()) {
                once.push_back({finding, {run}});
            } else if (same->runs.back() != run) {
                same->runs.push_back(run);
            }
        }
    }
    std::stable_sort(once.begin(), once.end(), [](const SharedFinding& a, const SharedFinding& b) {
        return a.finding.line < b.finding.line;
    });
    return once;
}

// "Windows 95, Windows NT 4.0 (English, Japanese)": each platform of the
// runs, with the languages it has when it does not have every language
// checked.
std::string RunsNamed(const CheckResult& result, const std::vector<std::size_t>& runs) {
    std::vector<std::string> languagesChecked;
    for (const RunResult& run : result.runs) {
        if (std::find(languagesChecked.begin(), languagesChecked.end(), run.language.title) ==
            languagesChecked.end()) {
            languagesChecked.push_back(run.language.title);
        }
    }
    std::vector<std::pair<std::string, std::vector<std::string>>> platforms;
    for (const std::size_t index : runs) {
        const RunResult& run = result.runs[index];
        if (platforms.empty() || platforms.back().first != run.platform.title)
            platforms.push_back({run.platform.title, {}});
        platforms.back().second.push_back(run.language.title);
    }
    std::string named;
    for (const auto& [platform, languages] : platforms) {
        if (!named.empty()) named += ", ";
        named += platform;
        if (languages.size() == languagesChecked.size()) continue;
        named += " (";
        for (const std::string& language : languages)
            named += (&language == &languages.front() ? "" : ", ") + language;
        named += ")";
    }
    return named;
}

std::string FindingsText(const CheckResult& result) {
    const std::vector<SharedFinding> once = FindingsOnce(result);
    if (once.empty()) return "Findings: none\n";
    std::string text = "Findings:\n";
    for (const SharedFinding& shared : once) {
        text += FindingLine(shared.finding);
        if (shared.runs.size() < result.runs.size())
            text += "      on " + RunsNamed(result, shared.runs) + "\n";
    }
    return text;
}

std::string Indented(const std::string& text, const char* indent) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out += indent + line + "\n";
        start = end + 1;
    }
    return out;
}

std::string Bytes(std::uintmax_t bytes) {
    return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

std::string CopiesText(const Plan& plan) {
    std::string copied;
    std::string failed;
    for (const CopyRecord& copy : plan.copies) {
        const std::string line = "    " + copy.source + " -> " + copy.destination + " (" +
                                 Bytes(copy.bytes) +
                                 (copy.line > 0 ? ", line " + std::to_string(copy.line) : "") + ")";
        if (copy.error == 0) {
            copied += line + "\n";
        } else {
            failed += line + ": Windows error " + std::to_string(copy.error) + "\n";
        }
    }
    std::string text = "  Files copied:\n" + (copied.empty() ? "    none\n" : copied);
    if (!failed.empty()) text += "  Copies that failed:\n" + failed;
    if (!plan.directoriesCreated.empty()) {
        text += "  Directories created:\n";
        for (const std::string& directory : plan.directoriesCreated)
            text += "    " + directory + "\n";
    }
    return text;
}

std::string RegistryText(const Plan& plan) {
    std::string text = "  Registry:\n";
    if (plan.registry.empty()) text += "    no change\n";
    for (const RegistryChange& change : plan.registry) {
        if (!change.value) {
            text += std::string(change.after ? "    key created " : "    key deleted ") +
                    change.key + "\n";
        } else if (!change.after) {
            text += "    value removed " + change.key + " " + *change.value + "\n";
        } else {
            text += "    " + change.key + " " + *change.value + "=" + *change.after +
                    (change.before ? " (was " + *change.before + ")" : "") + "\n";
        }
    }
    return text;
}

std::string ShellText(const Plan& plan) {
    std::string text;
    if (plan.groupScript) {
        text += "  Group script written:\n" + Indented(*plan.groupScript, "    | ");
    }
    if (!plan.shortcuts.empty()) {
        text += "  Shortcuts to be made:\n";
        for (const ShortcutPlan& shortcut : plan.shortcuts) {
            text +=
                "    " + shortcut.group + " / " + shortcut.title + " -> " + shortcut.target + "\n";
        }
    }
    text += "  Programs started:\n";
    if (plan.programs.empty()) text += "    none\n";
    for (const ProgramPlan& program : plan.programs) {
        text +=
            "    " + program.commandLine +
            (program.answer > 31 ? std::string()
                                 : " (WinExec answers " + std::to_string(program.answer) + ")") +
            "\n";
    }
    return text;
}

std::string ConfigText(const Plan& plan) {
    std::string text = "  CONFIG.SYS lines removed:\n";
    if (plan.configRemoved.empty()) text += "    none\n";
    for (const std::string& line : plan.configRemoved) text += "    " + line + "\n";
    return text;
}

std::string BoxesText(const Plan& plan) {
    std::string text = "  Message boxes:\n";
    if (plan.boxes.empty()) text += "    none\n";
    for (const BoxPlan& box : plan.boxes) {
        text += "    [" + box.caption + "] answered " + box.answer + ":\n" +
                Indented(box.text, "      ");
    }
    text += plan.restartAsked ? "  Ends with the restart question (answered No).\n"
                              : "  Ends without the restart question.\n";
    return text;
}

std::string UncertainText(const Plan& plan) {
    std::string text;
    for (const Uncertainty& uncertain : plan.uncertain) {
        text += "  Uncertain on Windows " + uncertain.versions + ": " + uncertain.behaviour +
                ", met in " + uncertain.path;
        if (!uncertain.lines.empty()) {
            text += uncertain.lines.size() == 1 ? " line " : " lines ";
            for (const int line : uncertain.lines)
                text += (line == uncertain.lines.front() ? "" : ", ") + std::to_string(line);
        }
        text += "; the source says only that these versions differ (" + uncertain.source + ")\n";
    }
    return text;
}

// The run's own words for each finding it has, those every run has too.
std::string RunFindingsText(const CheckResult& result, const RunResult& run) {
    std::string text;
    for (const std::vector<Finding>* findings : {&result.common, &run.findings}) {
        for (const Finding& finding : *findings) text += "  " + FindingLine(finding);
    }
    return text.empty() ? std::string() : "  Findings:\n" + text;
}

std::string PlanText(const Plan& plan) {
    std::string text = "  Started in " + plan.startDir + ", Windows directory " + plan.windowsDir +
                       (plan.silent ? ", silent mode\n" : ", shown mode (Start pressed)\n");
    return text + CopiesText(plan) + RegistryText(plan) + ShellText(plan) + ConfigText(plan) +
           BoxesText(plan) + "  setup32.exe ends with exit code " + std::to_string(plan.exitCode) +
           "\n" + UncertainText(plan);
}

// The files of the plan's copies whose last attempt succeeded, and those
// whose last attempt failed: a copy tried again counts once.
std::pair<std::size_t, std::size_t> CopiedAndFailed(const Plan& plan) {
    std::vector<const CopyRecord*> last;
    for (const CopyRecord& copy : plan.copies) {
        const auto same = std::find_if(last.begin(), last.end(), [&copy](const CopyRecord* seen) {
            return seen->source == copy.source && seen->destination == copy.destination;
        });
        if (same == last.end()) {
            last.push_back(&copy);
        } else {
            *same = &copy;
        }
    }
    const auto failed = static_cast<std::size_t>(std::count_if(
        last.begin(), last.end(), [](const CopyRecord* copy) { return copy->error != 0; }));
    return {last.size() - failed, failed};
}

std::string RunTitle(const RunResult& run) {
    return std::string(run.platform.title) + ", " + run.language.title;
}

std::string Column(const std::string& text, std::size_t width) {
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

std::string RunsText(const CheckResult& result) {
    const std::string heading = "Runs:";
    std::size_t titleWidth = heading.size() - 2;
    for (const RunResult& run : result.runs)
        titleWidth = std::max(titleWidth, RunTitle(run).size());
    std::string text = heading + std::string(titleWidth + 2 - heading.size(), ' ') +
                       "  exit  copied  failed  boxes\n";
    for (const RunResult& run : result.runs) {
        const std::string title = RunTitle(run);
        const auto [copied, failed] = CopiedAndFailed(run.plan);
        text += "  " + title + std::string(titleWidth - title.size(), ' ') +
                Column(std::to_string(run.plan.exitCode), 6) + Column(std::to_string(copied), 8) +
                Column(std::to_string(failed), 8) +
                Column(std::to_string(run.plan.boxes.size()), 7);
        for (const Uncertainty& uncertain : run.plan.uncertain) {
            text += &uncertain == &run.plan.uncertain.front()
                        ? "  uncertain on " + std::string(run.platform.title) + ": "
                        : std::string("; ");
            text += uncertain.behaviour;
        }
        text += "\n";
    }
    return text;
}

// "line": n, or null when none applies.
void WriteLine(JsonWriter& json, int line) {
    json.Key("line");
    if (line > 0) {
        json.Number(static_cast<std::uintmax_t>(line));
    } else {
        json.Null();
    }
}

void WriteLines(JsonWriter& json, const char* key, const std::vector<int>& lines) {
    json.Key(key).BeginArray();
    for (const int line : lines) json.Number(static_cast<std::uintmax_t>(line));
    json.EndArray();
}

void WriteFindings(JsonWriter& json, const std::vector<Finding>& findings) {
    json.BeginArray();
    for (const Finding& finding : findings) {
        json.BeginObject().Key("rule").String(finding.rule);
        json.Key("severity").String(SeverityName(finding.severity));
        WriteLine(json, finding.line);
        WriteLines(json, "touches", finding.touches);
        json.Key("message").String(finding.message).EndObject();
    }
    json.EndArray();
}

void WriteNamedValues(JsonWriter& json, const std::vector<NamedValue>& values) {
    json.BeginArray();
    for (const NamedValue& value : values) {
        json.BeginObject()
            .Key("name")
            .String(value.name)
            .Key("data")
            .String(value.data)
            .EndObject();
    }
    json.EndArray();
}

void WriteStrings(JsonWriter& json, const std::vector<std::string>& texts) {
    json.BeginArray();
    for (const std::string& text : texts) json.String(text);
    json.EndArray();
}

void WriteUncertain(JsonWriter& json, const std::vector<Uncertainty>& uncertain) {
    json.BeginArray();
    for (const Uncertainty& each : uncertain) {
        json.BeginObject().Key("versions").String(each.versions);
        json.Key("behaviour").String(each.behaviour).Key("source").String(each.source);
        json.Key("path").String(each.path).Key("lines").BeginArray();
        for (const int line : each.lines) json.Number(static_cast<std::uintmax_t>(line));
        json.EndArray().EndObject();
    }
    json.EndArray();
}

void WritePlan(JsonWriter& json, const Plan& plan) {
    json.BeginObject();
    json.Key("exitCode").Number(static_cast<std::uintmax_t>(plan.exitCode));
    json.Key("startDir").String(plan.startDir).Key("windowsDir").String(plan.windowsDir);
    json.Key("silent").Bool(plan.silent);
    json.Key("copies").BeginArray();
    for (const CopyRecord& copy : plan.copies) {
        json.BeginObject()
            .Key("source")
            .String(copy.source)
            .Key("destination")
            .String(copy.destination);
        json.Key("bytes").Number(copy.bytes).Key("error").Number(copy.error);
        WriteLine(json, copy.line);
        WriteLines(json, "from", copy.from);
        json.EndObject();
    }
    json.EndArray();
    json.Key("directoriesCreated");
    WriteStrings(json, plan.directoriesCreated);
    json.Key("registry").BeginArray();
    for (const RegistryChange& change : plan.registry) {
        json.BeginObject().Key("key").String(change.key).Key("value").OptionalString(change.value);
        json.Key("before").OptionalString(change.before).Key("after").OptionalString(change.after);
        json.EndObject();
    }
    json.EndArray();
    json.Key("files").BeginArray();
    for (const FileChange& file : plan.files) {
        json.BeginObject().Key("path").String(file.path).Key("before");
        file.before ? json.Number(*file.before) : json.Null();
        json.Key("after");
        file.after ? json.Number(*file.after) : json.Null();
        json.EndObject();
    }
    json.EndArray();
    json.Key("productKey").BeginObject().Key("key").String(plan.productKey).Key("values");
    WriteNamedValues(json, plan.productValues);
    json.EndObject();
    json.Key("uninstallEntry");
    if (plan.uninstallKey.empty()) {
        json.Null();
    } else {
        json.BeginObject().Key("key").String(plan.uninstallKey).Key("values");
        WriteNamedValues(json, plan.uninstallValues);
        json.EndObject();
    }
    json.Key("configSys").BeginObject().Key("before").String(plan.configBefore);
    json.Key("after").String(plan.configAfter).Key("removed");
    WriteStrings(json, plan.configRemoved);
    json.EndObject();
    json.Key("groupScript").OptionalString(plan.groupScript);
    json.Key("shortcuts").BeginArray();
    for (const ShortcutPlan& shortcut : plan.shortcuts) {
        json.BeginObject().Key("group").String(shortcut.group).Key("title").String(shortcut.title);
        json.Key("target").String(shortcut.target);
        WriteLine(json, shortcut.line);
        WriteLines(json, "from", shortcut.from);
        json.EndObject();
    }
    json.EndArray();
    json.Key("groups");
    WriteStrings(json, plan.groups);
    json.Key("programs").BeginArray();
    for (const ProgramPlan& program : plan.programs) json.String(program.commandLine);
    json.EndArray();
    json.Key("programsStarted").BeginArray();
    for (const ProgramPlan& program : plan.programs) {
        json.BeginObject().Key("commandLine").String(program.commandLine);
        json.Key("image").String(program.image).Key("answer").Number(program.answer);
        WriteLine(json, program.line);
        json.EndObject();
    }
    json.EndArray();
    json.Key("boxes").BeginArray();
    for (const BoxPlan& box : plan.boxes) {
        json.BeginObject().Key("caption").String(box.caption).Key("text").String(box.text);
        json.Key("answer").String(box.answer).EndObject();
    }
    json.EndArray();
    json.Key("restartAsked").Bool(plan.restartAsked);
    json.Key("uncertain");
    WriteUncertain(json, plan.uncertain);
    json.Key("services").BeginArray();
    for (const Plan::Service& service : plan.services) {
        json.BeginObject().Key("key").String(service.key).Key("image").String(service.image);
        WriteLines(json, "lines", service.lines);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

void WriteScript(JsonWriter& json, const ScriptReading& script) {
    json.BeginObject().Key("found").Bool(script.found);
    json.Key("groupName").String(script.groupName).Key("groupNameLine");
    script.groupNameLine > 0 ? json.Number(static_cast<std::uintmax_t>(script.groupNameLine))
                             : json.Null();
    json.Key("deviceIds");
    WriteStrings(json, script.deviceIds);
    json.Key("silent").Bool(script.silent).Key("driverFiles").BeginArray();
    for (const DriverFileLine& file : script.driverFiles) {
        json.BeginObject().Key("section").String(file.section);
        WriteLine(json, file.line);
        json.Key("text").String(file.text).Key("source").OptionalString(file.source);
        json.Key("destination").OptionalString(file.destination);
        json.Key("sourceFound").Bool(file.sourceFound).Key("usesGroup").Bool(file.usesGroup);
        json.EndObject();
    }
    json.EndArray().Key("programs").BeginArray();
    for (const ProgramStart& program : script.programs) {
        json.BeginObject();
        WriteLine(json, program.line);
        json.Key("commandLine").String(program.commandLine).Key("file").String(program.file);
        json.Key("found").Bool(program.found).EndObject();
    }
    json.EndArray().Key("deviceKeys");
    WriteStrings(json, script.deviceKeys);
    json.Key("driverDatabase");
    WriteStrings(json, script.driverDatabase);
    json.Key("productKey").String(script.productKey).Key("uninstallKey");
    script.uninstallKey.empty() ? json.Null() : json.String(script.uninstallKey);
    json.EndObject();
}

void WriteWine(JsonWriter& json, const WineReading& wine) {
    json.BeginObject().Key("script");
    WriteScript(json, wine.script);
    json.Key("byteOrderMark").Bool(wine.byteOrderMark).Key("hiddenSection");
    wine.hiddenSection.empty() ? json.Null() : json.String(wine.hiddenSection);
    json.Key("commentedSections").BeginArray();
    for (const CommentedSection& section : wine.commented) {
        json.BeginObject().Key("name").String(section.name);
        json.Key("comments").Number(static_cast<std::uintmax_t>(section.comments));
        json.Key("capacity").Number(section.capacity);
        json.Key("skippedOnWindowsOnly").Bool(section.skippedOnWindowsOnly);
        json.Key("firstLineComment").Bool(section.firstLineComment);
        json.Key("uninstallEntry").Bool(section.uninstallEntry).EndObject();
    }
    json.EndArray().EndObject();
}

}  // namespace

std::string TextReport(const CheckResult& result, PlanDetail detail) {
    std::string text = FindingsText(result) + "\n" + RunsText(result) + "\n";
    if (detail == PlanDetail::Full) {
        for (const RunResult& run : result.runs) {
            text += "== " + RunTitle(run) + " (code page " + std::to_string(run.language.codePage) +
                    ")\n" + RunFindingsText(result, run) + PlanText(run.plan) + "\n";
        }
    }
    const int status = ExitStatus(result);
    text += status == 2 ? "Errors found." : status == 1 ? "Warnings only." : "Nothing found.";
    return text + (detail == PlanDetail::Full ? "\n" : " Each run's whole plan: --plans.\n");
}

std::string JsonReport(const CheckResult& result) {
    JsonWriter json;
    json.BeginObject().Key("exitStatus").Number(static_cast<std::uintmax_t>(ExitStatus(result)));
    json.Key("findings");
    WriteFindings(json, result.common);
    json.Key("runs").BeginArray();
    for (const RunResult& run : result.runs) {
        json.BeginObject().Key("platform").String(run.platform.name);
        json.Key("language").String(run.language.name);
        json.Key("codePage").Number(run.language.codePage).Key("findings");
        WriteFindings(json, run.findings);
        json.Key("plan");
        WritePlan(json, run.plan);
        json.Key("script");
        WriteScript(json, run.script);
        json.Key("wine");
        WriteWine(json, run.wine);
        json.EndObject();
    }
    json.EndArray().EndObject();
    return json.Text();
}

}  // namespace setup32::check
