// A registry write of the install that the run's Windows refuses, and an
// item the install record names that no file system can hold. The install
// record is the product key: one value for each file, shortcut, group and
// extra file the uninstaller is to remove, named by its path; a write that
// fails there leaves that item behind at the uninstall.
//
// Each is placed on the line whose bytes made the value: the driver line
// of a copied file, the ShortCut line of a link, the extra-file line; a
// write of no such item on the GroupName line, which names both keys. One
// finding for each line. The version difference behind a refused write
// (a value name past 255 characters on Windows 95 and 98, say) is said
// here, on the line, and not once more on no line.
#include <algorithm>
#include <map>

#include "check/rules/name_chars.h"
#include "check/rules/rule.h"
#include "check/rules/shell_lists.h"
#include "check/script_view.h"
#include "check/text_encoding.h"
#include "check/version_findings.h"
#include "platform/sim/sim_machine.h"
#include "shellint/shell_text.h"
#include "state/script.h"

namespace setup32::check {
namespace {

namespace sim = platform::sim;

struct Cause {
    int line = 0;
    std::vector<int> touches;
    bool extraFile = false;  // an extra file of the uninstall, which nothing installs
};

bool EndsWithPath(const std::string& path, const std::string& tail) {
    const std::string key = PathKey(path);
    const std::string end = "\\" + PathKey(tail);
    return key.size() >= end.size() && key.compare(key.size() - end.size(), end.size(), end) == 0;
}

// The line that made an item of the install record (a UTF-8 path).
Cause CauseOfItem(RunFacts& facts, const std::string& item) {
    for (const CopyRecord& copy : facts.plan.copies) {
        if (copy.error == 0 && copy.line > 0 && PathKey(copy.destination) == PathKey(item))
            return {copy.line, copy.from};
    }
    for (const ShortcutPlan& shortcut : facts.plan.shortcuts) {
        const std::string link = shell_text::JoinPath(shortcut.group, shortcut.title) + ".LNK";
        if (shortcut.line > 0 && (EndsWithPath(item, link) || EndsWithPath(item, shortcut.group)))
            return {shortcut.line, shortcut.from};
    }
    const std::optional<ListSection> extra =
        ShellSection(facts, shell_text::section_family::kUninstallExtraFile);
    if (!extra) return {};
    const unsigned codePage = facts.run.Language().codePage;
    for (const NumberedLine& line : extra->lines) {
        const std::string_view file = shell_text::ValueAfterKey(line.text);
        if (!file.empty() && PathKey(item) == PathKey(shell_text::JoinPath(facts.plan.windowsDir,
                                                                           ToUtf8(file, codePage))))
            return {line.number, {}, true};
    }
    return {};
}

// Whether a path can name a file: no name in it holds a character Windows
// refuses, and ":" only after the drive letter.
bool CanExist(const std::string& path) {
    std::size_t start = path.size() >= 2 && path[1] == ':' ? 2 : 0;
    while (start < path.size()) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        if (RefusedCharacter(std::string_view(path).substr(start, end - start)) != '\0')
            return false;
        start = end + 1;
    }
    return true;
}

// A value of the record or another of the install's writes that failed:
// the value (UTF-8), why, and what to write instead.
struct FailedWrite {
    std::string value;
    std::string why;
    std::string advice;
};

// What keeps a write within the limit a version difference names.
std::string AdviceFor(std::string_view difference) {
    if (difference == "registry-value-name-255") return "; keep the path under 256 characters";
    if (difference == "registry-key-60k")
        return "; record fewer items: fewer files, shortcuts and extra files, or shorter paths";
    return {};
}

bool IsWrite(std::string_view call) {
    return call == sim::NameOf(sim::Call::RegSetValueExA) ||
           call == sim::NameOf(sim::Call::RegSetValueA) ||
           call == sim::NameOf(sim::Call::RegCreateKeyExA);
}

// Whether the sim met `difference` in the write the event records: the
// event names "<key> <value>" where the difference names "<key>\\<value>",
// or "<key> @" for the default value where it names the key.
bool MetIn(const sim::VersionDifferenceMet& difference, const sim::Event& event) {
    const std::string& path = difference.path;
    const std::string& detail = event.detail;
    if (detail == path + " @") return true;
    if (path.size() != detail.size()) return false;
    int separators = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == detail[i]) continue;
        if (path[i] != '\\' || detail[i] != ' ' || ++separators > 1) return false;
    }
    return true;
}

const sim::VersionDifferenceMet* DifferenceOf(RunFacts& facts, const sim::Event& event) {
    const std::vector<sim::VersionDifferenceMet>& met = facts.run.Sim().VersionDifferencesMet();
    const auto it = std::find_if(met.begin(), met.end(), [&](const sim::VersionDifferenceMet& m) {
        return MetIn(m, event);
    });
    return it == met.end() ? nullptr : &*it;
}

void CheckFailedWrites(RunFacts& facts, RuleFindings& found) {
    const unsigned codePage = facts.run.Language().codePage;
    const std::string productKey = PathKey(facts.plan.productKey);
    const ProfileLine* groupLine = DisplayLineOf(facts.run, facts.layout, script_names::kGroupName);
    std::map<int, std::pair<Cause, std::vector<FailedWrite>>> byLine;
    for (const sim::Event& event : facts.run.Sim().Events()) {
        if (!IsWrite(event.call) || event.error == 0) continue;
        const std::string detail = ToUtf8(event.detail, codePage);
        // "<key> <value name>" for a value; a record's value is named by its item.
        const bool recorded = PathKey(detail).rfind(productKey + " ", 0) == 0;
        const std::string name = recorded ? detail.substr(productKey.size() + 1) : std::string();
        Cause cause = recorded ? CauseOfItem(facts, name) : Cause{};
        if (cause.line == 0 && groupLine != nullptr) cause = {groupLine->number, {}};
        std::string why = "Windows error " + std::to_string(event.error);
        std::string advice;
        if (const sim::VersionDifferenceMet* met = DifferenceOf(facts, event)) {
            why = std::string(sim::VersionDifferenceById(met->id).behaviour) + " (" + why + ")";
            advice = AdviceFor(met->id);
            for (Finding& said : VersionDifferenceFindings({*met}, ScriptPathOf(facts.run),
                                                           facts.run.Sim().machine().host)) {
                said.rule = "version-difference";
                said.message = ToUtf8(said.message, codePage);
                found.Replace(std::move(said));
            }
        }
        auto& entry = byLine[cause.line];
        entry.first = cause;
        entry.second.push_back({recorded ? name : detail, why, advice});
    }
    for (const auto& [line, entry] : byLine) {
        const FailedWrite& first = entry.second.front();
        const std::string more =
            entry.second.size() > 1
                ? " (and " + std::to_string(entry.second.size() - 1) + " more writes of the line)"
                : "";
        found.Add(Severity::Error, line,
                  "the install's registry write of " + Quoted(first.value) + " fails on " +
                      facts.run.Platform().title + ": " + first.why + more +
                      (PathKey(first.value).rfind("HKEY_", 0) == 0
                           ? std::string()
                           : ": the install record does not name it, and the uninstall leaves "
                             "it behind") +
                      first.advice,
                  entry.first.touches);
    }
}

void CheckRecordedItems(RunFacts& facts, RuleFindings& found) {
    for (const NamedValue& value : facts.plan.productValues) {
        if (value.name.empty() || CanExist(value.name)) continue;
        const Cause cause = CauseOfItem(facts, value.name);
        if (!cause.extraFile) continue;  // a copy or shortcut of such a name fails on its own
        found.Add(Severity::Warning, cause.line,
                  "the install record names " + Quoted(value.name) +
                      ", which no file can be: a name in it holds \\ / : * ? \" < > | or a "
                      "drive inside the path, and the uninstall removes nothing for it; name "
                      "the file as the Windows directory holds it, such as 1=DSKADP.LOG",
                  cause.touches);
    }
}

}  // namespace

void CheckRegistryWriteFails(RunFacts& facts, RuleFindings& found) {
    CheckFailedWrites(facts, found);
    CheckRecordedItems(facts, found);
}

}  // namespace setup32::check
