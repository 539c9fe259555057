#include "check/report.h"

#include "check/json_writer.h"

namespace setup32::check {
namespace {

std::string FindingLine(const Finding& finding) {
    std::string text = std::string("  ") + SeverityName(finding.severity);
    if (finding.line > 0) text += " (line " + std::to_string(finding.line) + ")";
    return text + ": " + finding.message + "\n";
}

std::string FindingsText(const std::vector<Finding>& findings) {
    if (findings.empty()) return "  no findings\n";
    std::string text;
    for (const Finding& finding : findings) text += FindingLine(finding);
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
    for (const std::string& program : plan.programs) text += "    " + program + "\n";
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

std::string PlanText(const Plan& plan) {
    std::string text = "  Started in " + plan.startDir + ", Windows directory " + plan.windowsDir +
                       (plan.silent ? ", silent mode\n" : ", shown mode (Start pressed)\n");
    return text + CopiesText(plan) + RegistryText(plan) + ShellText(plan) + ConfigText(plan) +
           BoxesText(plan);
}

void WriteFindings(JsonWriter& json, const std::vector<Finding>& findings) {
    json.BeginArray();
    for (const Finding& finding : findings) {
        json.BeginObject().Key("severity").String(SeverityName(finding.severity)).Key("line");
        if (finding.line > 0) {
            json.Number(static_cast<std::uintmax_t>(finding.line));
        } else {
            json.Null();
        }
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

void WritePlan(JsonWriter& json, const Plan& plan) {
    json.BeginObject();
    json.Key("startDir").String(plan.startDir).Key("windowsDir").String(plan.windowsDir);
    json.Key("silent").Bool(plan.silent);
    json.Key("copies").BeginArray();
    for (const CopyRecord& copy : plan.copies) {
        json.BeginObject()
            .Key("source")
            .String(copy.source)
            .Key("destination")
            .String(copy.destination);
        json.Key("bytes").Number(copy.bytes).Key("error").Number(copy.error).Key("line");
        if (copy.line > 0) {
            json.Number(static_cast<std::uintmax_t>(copy.line));
        } else {
            json.Null();
        }
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
        json.Key("target").String(shortcut.target).EndObject();
    }
    json.EndArray();
    json.Key("groups");
    WriteStrings(json, plan.groups);
    json.Key("programs");
    WriteStrings(json, plan.programs);
    json.Key("boxes").BeginArray();
    for (const BoxPlan& box : plan.boxes) {
        json.BeginObject().Key("caption").String(box.caption).Key("text").String(box.text);
        json.Key("answer").String(box.answer).EndObject();
    }
    json.EndArray();
    json.Key("restartAsked").Bool(plan.restartAsked);
    json.EndObject();
}

}  // namespace

std::string TextReport(const CheckResult& result) {
    std::string text;
    if (result.runs.size() > 1) text += "== Every run\n" + FindingsText(result.common) + "\n";
    for (const RunResult& run : result.runs) {
        std::vector<Finding> findings = run.findings;
        if (result.runs.size() <= 1)
            findings.insert(findings.begin(), result.common.begin(), result.common.end());
        text += std::string("== ") + run.platform.title + ", " + run.language.title +
                " (code page " + std::to_string(run.language.codePage) + ")\n";
        text += "Findings:\n" + FindingsText(findings) + "Plan:\n" + PlanText(run.plan) + "\n";
    }
    const int status = ExitStatus(result);
    text += status == 2 ? "Errors found.\n" : status == 1 ? "Warnings only.\n" : "Nothing found.\n";
    return text;
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
        json.EndObject();
    }
    json.EndArray().EndObject();
    return json.Text();
}

}  // namespace setup32::check
