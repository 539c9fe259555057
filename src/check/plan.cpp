#include "check/plan.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "check/registry_diff.h"
#include "check/script_view.h"
#include "check/text_encoding.h"
#include "files/file_placement.h"
#include "messages/messages.h"
#include "platform/sim/sim_desktop.h"
#include "shellint/shell_integration.h"
#include "shellint/shell_text.h"
#include "state/ascii_text.h"
#include "state/copy_list.h"
#include "state/install_record.h"
#include "state/script.h"
#include "sysconfig/sysconfig.h"

namespace setup32::check {
namespace {

constexpr const char* kCurrentUser = "HKEY_CURRENT_USER\\";
constexpr const char* kLocalMachine = "HKEY_LOCAL_MACHINE\\";

// Reads the machine and turns what it finds into UTF-8.
class PlanReader {
  public:
    PlanReader(DryRun& run, const std::vector<ProfileSection>& layout)
        : run_(run), layout_(layout), codePage_(run.Language().codePage) {}

    Plan Read();

  private:
    std::string Text(std::string_view bytes) const { return ToUtf8(bytes, codePage_); }
    const DriverLine* LineOfCopy(const CopyAttempt& copy);
    std::vector<int> ShortcutLines();
    void ReadPrograms(Plan& plan);
    void ReadServices(Plan& plan);
    void ReadCopies(Plan& plan);
    void ReadRegistry(Plan& plan);
    void ReadFiles(Plan& plan);
    void ReadConfigSys(Plan& plan);
    void ReadShell(Plan& plan);
    void ReadBoxes(Plan& plan);
    const ProfileLine* WrittenLine(int number) const;
    std::vector<NamedValue> ValuesOf(const std::vector<ExportedKey>& keys,
                                     const std::string& key) const;

    DryRun& run_;
    const std::vector<ProfileSection>& layout_;
    unsigned codePage_;
    std::optional<std::vector<DriverLine>> driverLines_;  // read at the first copy
};

std::vector<std::string> SplitLinesKeepingEnds(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
        lines.emplace_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    return lines;
}

std::string WithoutLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return line;
}

// A REGEDIT4 name or string data as the text it stands for ("@", the
// default value's name, is empty); other data stays as written.
std::string Unquoted(std::string_view text) {
    if (text == "@") return {};
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') return std::string(text);
    std::string plain;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == '\\' && i + 2 < text.size()) ++i;
        plain += text[i];
    }
    return plain;
}

const DriverLine* PlanReader::LineOfCopy(const CopyAttempt& copy) {
    if (!driverLines_) driverLines_ = ReadDriverLines(run_, layout_);
    for (const DriverLine& line : *driverLines_) {
        if (line.parseCode == 0 && line.item.source == copy.source &&
            line.item.destination == copy.destination) {
            return &line;
        }
    }
    return nullptr;
}

void PlanReader::ReadCopies(Plan& plan) {
    for (const CopyAttempt& copy : run_.Copies()) {
        const DriverLine* line = LineOfCopy(copy);
        CopyRecord record{Text(copy.source),
                          Text(copy.destination),
                          0,
                          copy.error,
                          line ? line->number : 0,
                          line ? LinesPutInto(run_, layout_, line->written) : std::vector<int>()};
        if (const std::optional<std::string> bytes = run_.Sim().ReadFile(copy.source)) {
            record.bytes = bytes->size();
        }
        plan.copies.push_back(std::move(record));
    }
    for (const DirectoryAttempt& directory : run_.Directories()) {
        if (directory.error == 0) plan.directoriesCreated.push_back(Text(directory.path));
    }
}

std::vector<NamedValue> PlanReader::ValuesOf(const std::vector<ExportedKey>& keys,
                                             const std::string& key) const {
    for (const ExportedKey& exported : keys) {
        if (EqualsIgnoringCase(exported.name, key)) {
            std::vector<NamedValue> values;
            for (const NamedValue& value : exported.values) {
                values.push_back({Text(Unquoted(value.name)), Text(Unquoted(value.data))});
            }
            return values;
        }
    }
    return {};
}

void PlanReader::ReadRegistry(Plan& plan) {
    for (const RegistryChange& change : DiffRegistry(run_.RegistryBefore(), run_.RegistryAfter())) {
        const auto text = [this](const std::optional<std::string>& bytes) {
            return bytes ? std::optional<std::string>(Text(*bytes)) : std::nullopt;
        };
        plan.registry.push_back(
            {Text(change.key), text(change.value), text(change.before), text(change.after)});
    }
    SetupContext& ctx = run_.Context();
    const std::vector<ExportedKey> after = ParseRegistryExport(run_.RegistryAfter());
    const std::string productKey = kCurrentUser + ProductKey(ctx);
    plan.productKey = Text(productKey);
    plan.productValues = ValuesOf(after, productKey);
    const std::string uninstallKey =
        kLocalMachine + std::string(kUninstallKey) + "\\" + ctx.groupName;
    plan.uninstallValues = ValuesOf(after, uninstallKey);
    if (!plan.uninstallValues.empty()) plan.uninstallKey = Text(uninstallKey);
}

void PlanReader::ReadFiles(Plan& plan) {
    const FileSnapshot& before = run_.FilesBefore();
    const FileSnapshot& after = run_.FilesAfter();
    for (const auto& [path, bytes] : after) {
        const auto old = before.find(path);
        if (old != before.end() && old->second == bytes) continue;
        plan.files.push_back(
            {Text(path),
             old == before.end() ? std::nullopt : std::optional<std::uintmax_t>(old->second.size()),
             bytes.size()});
    }
    for (const auto& [path, bytes] : before) {
        if (after.count(path) == 0) plan.files.push_back({Text(path), bytes.size(), std::nullopt});
    }
}

void PlanReader::ReadConfigSys(Plan& plan) {
    const std::string& before = run_.ConfigSysBefore();
    const std::string after = run_.Sim().ReadFile(kConfigSysPath).value_or("");
    plan.configBefore = Text(before);
    plan.configAfter = Text(after);
    // The editor only drops lines: walk both in order.
    const std::vector<std::string> kept = SplitLinesKeepingEnds(after);
    std::size_t next = 0;
    for (const std::string& line : SplitLinesKeepingEnds(before)) {
        if (next < kept.size() && kept[next] == line) {
            ++next;
        } else {
            plan.configRemoved.push_back(Text(WithoutLineEnd(line)));
        }
    }
}

void PlanReader::ReadShell(Plan& plan) {
    const std::string groupScript =
        shell_text::JoinPath(run_.WindowsDir(), shell_text::kGroupScriptName);
    const auto before = run_.FilesBefore().find(groupScript);
    const std::optional<std::string> after = run_.Sim().ReadFile(groupScript);
    if (after && (before == run_.FilesBefore().end() || before->second != *after)) {
        plan.groupScript = Text(*after);
    }
    const ShellIntegrationState& shell = run_.Context().shell;
    const std::vector<int> lines = ShortcutLines();
    for (std::size_t i = 0; i < UsedSlots(shell.shortcuts); ++i) {
        const ShortcutRecord& record = shell.shortcuts[i];
        const int line = i < lines.size() ? lines[i] : 0;
        const ProfileLine* written = WrittenLine(line);
        plan.shortcuts.push_back(
            {Text(record.group), Text(record.title), Text(record.target), line,
             written ? LinesPutInto(run_, layout_, written->text) : std::vector<int>()});
    }
    for (std::size_t i = 0; i < UsedSlots(shell.groupNames); ++i) {
        plan.groups.push_back(Text(shell.groupNames[i]));
    }
    ReadPrograms(plan);
}

// The ShortCut lines of the run whose shortcut the program takes, in order.
std::vector<int> PlanReader::ShortcutLines() {
    std::vector<int> lines;
    const int kind = run_.OsKind();
    if (!shell_text::IsShellPlatform(kind)) return lines;
    const ListSection section = ReadListSection(
        run_, layout_, shell_text::PlatformSection(kind, shell_text::section_family::kShortcut),
        script_capacity::kSection);
    if (section.tooLarge) return lines;
    for (const NumberedLine& line : section.lines) {
        if (shell_text::IsComment(line.text)) continue;
        ShortcutRecord record;
        std::string groupFile;
        std::string groupName;
        if (ParseShortcutEntry(run_.Context(), ShortcutValue(line.text), record, groupFile,
                               groupName))
            lines.push_back(line.number);
    }
    return lines;
}

const ProfileLine* PlanReader::WrittenLine(int number) const {
    for (const ProfileSection& section : layout_) {
        for (const ProfileLine& line : section.lines) {
            if (line.number == number) return &line;
        }
    }
    return nullptr;
}

// Each program started, with the Execute line whose command line it is.
void PlanReader::ReadPrograms(Plan& plan) {
    const int kind = run_.OsKind();
    std::vector<NumberedLine> lines;
    if (shell_text::IsShellPlatform(kind)) {
        lines =
            ReadListSection(run_, layout_,
                            shell_text::PlatformSection(kind, shell_text::section_family::kExecute),
                            script_capacity::kSection)
                .lines;
    }
    const std::string& workingDirectory = run_.Context().shell.workingDirectory;
    for (const platform::sim::ExecRecord& exec : run_.Sim().Execs()) {
        const auto line = std::find_if(lines.begin(), lines.end(), [&](const NumberedLine& l) {
            return shell_text::JoinPath(workingDirectory, shell_text::ValueAfterKey(l.text)) ==
                   exec.commandLine;
        });
        const std::uint32_t answer = exec.image.empty() ? platform::win_error::kFileNotFound
                                     : platform::sim::IsProgramName(exec.image)
                                         ? 33u
                                         : platform::sim::kExecNotAProgram;
        plan.programs.push_back({Text(exec.commandLine), Text(exec.image), answer,
                                 line == lines.end() ? 0 : line->number});
    }
}

// The boot-start services the install registered: Start 0 and an image.
void PlanReader::ReadServices(Plan& plan) {
    const std::string services = std::string("HKEY_LOCAL_MACHINE\\") + kServicesKey;
    std::vector<int> lines;
    for (const char* key : {script_names::kDriver, script_names::kTitle}) {
        if (const ProfileLine* line = DisplayLineOf(run_, layout_, key))
            lines.push_back(line->number);
    }
    std::sort(lines.begin(), lines.end());
    for (const RegistryChange& change : plan.registry) {
        if (!change.value || !change.after || *change.value != "\"ImagePath\"" ||
            !StartsWithIgnoringCase(change.key, 0, services))
            continue;
        const std::vector<NamedValue> values =
            ValuesOf(ParseRegistryExport(run_.RegistryAfter()), change.key);
        const bool bootStart = std::any_of(values.begin(), values.end(), [](const NamedValue& v) {
            return v.name == "Start" && v.data == "dword:00000000";
        });
        if (bootStart) plan.services.push_back({change.key, Unquoted(*change.after), lines});
    }
}

void PlanReader::ReadBoxes(Plan& plan) {
    const std::string restart = MsgText(LanguageFromLcid(run_.Language().lcid), 43);
    for (const platform::sim::BoxRecord& box : run_.Sim().Boxes()) {
        const char* answer = box.answer == platform::mb::kIdYes  ? "Yes"
                             : box.answer == platform::mb::kIdNo ? "No"
                                                                 : "OK";
        plan.boxes.push_back({Text(box.caption), Text(box.text), answer});
        plan.restartAsked = plan.restartAsked || box.text == restart;
    }
}

Plan PlanReader::Read() {
    Plan plan;
    plan.exitCode = static_cast<int>(run_.Outcome());
    plan.startDir = Text(run_.StartDir());
    plan.windowsDir = Text(run_.WindowsDir());
    plan.silent = !run_.ShownMode();
    ReadCopies(plan);
    ReadRegistry(plan);
    ReadFiles(plan);
    ReadConfigSys(plan);
    ReadShell(plan);
    ReadServices(plan);
    ReadBoxes(plan);
    plan.uncertain = UncertaintiesOf(run_.Sim().VersionDifferencesMet(), codePage_);
    return plan;
}

}  // namespace

Plan PlanOf(DryRun& run, const std::vector<ProfileSection>& layout) {
    return PlanReader(run, layout).Read();
}

std::vector<Uncertainty> UncertaintiesOf(
    const std::vector<platform::sim::VersionDifferenceMet>& met, unsigned codePage) {
    struct Found {
        std::string_view id;
        Uncertainty uncertainty;
    };
    std::vector<Found> found;
    for (const platform::sim::VersionDifferenceMet& meeting : met) {
        const platform::sim::VersionDifference& difference =
            platform::sim::VersionDifferenceById(meeting.id);
        if (difference.certain) continue;
        const std::string path = ToUtf8(meeting.path, codePage);
        auto it = std::find_if(found.begin(), found.end(), [&](const Found& earlier) {
            return earlier.id == difference.id && earlier.uncertainty.path == path;
        });
        if (it == found.end()) {
            found.push_back({difference.id,
                             {std::string(difference.versions),
                              std::string(difference.behaviour),
                              std::string(difference.source),
                              path,
                              {}}});
            it = std::prev(found.end());
        }
        std::vector<int>& lines = it->uncertainty.lines;
        const auto place = std::lower_bound(lines.begin(), lines.end(), meeting.line);
        if (meeting.line > 0 && (place == lines.end() || *place != meeting.line))
            lines.insert(place, meeting.line);
    }
    std::vector<Uncertainty> uncertain;
    for (Found& each : found) uncertain.push_back(std::move(each.uncertainty));
    return uncertain;
}

}  // namespace setup32::check
