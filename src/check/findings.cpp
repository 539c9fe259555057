#include "check/findings.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "check/closest_name.h"
#include "check/script_view.h"
#include "check/text_encoding.h"
#include "files/ansi_text.h"
#include "files/copy_list.h"
#include "files/file_placement.h"
#include "install/script.h"
#include "messages/messages.h"
#include "shellint/shell_integration.h"
#include "shellint/shell_text.h"
#include "sysconfig/sysconfig.h"

namespace setup32::check {
namespace {

using shell_text::Fits;

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The findings of one run, gathered as bytes of the run's code page.
class Findings {
  public:
    explicit Findings(DryRun& run, const std::vector<ProfileSection>& layout)
        : run_(run), layout_(layout) {}

    std::vector<Finding> Gather();

  private:
    void Add(Severity severity, int line, std::string message) {
        found_.push_back({severity, line, std::move(message)});
    }
    int PlatformCode() const { return OsKindFromVersion(run_.Platform().version); }
    const platform::HostFacts& Host() const { return run_.Context().sys.host; }
    // Names compared as the profile service compares them.
    bool SameName(std::string_view a, std::string_view b) const {
        return platform::sim::SameNameOn(Host(), a, b);
    }
    const ProfileSection* FindSection(std::string_view name) const {
        return FindProfileSection(layout_, name, Host());
    }
    std::string Quoted(std::string_view text) const { return "\"" + std::string(text) + "\""; }

    std::vector<std::string> KnownSections() const;
    void CheckNames();
    void CheckText();
    void CheckDisplayValues();
    void CheckModify();
    void CheckDeviceIds();
    void CheckDriverLines();
    // The outcome of the line's last copy, as the machine recorded it.
    void CheckCopy(int line, const CCopyListItem& item);
    void CheckListSizes();
    // The platform's list section of the shell-integration family, unless
    // the platform has none or the program skips it for its size.
    std::optional<ListSection> ShellSection(std::string_view family);
    void CheckShortcuts();
    void CheckPrograms();
    void CheckExtraFiles();
    void CheckUninstall();
    void CheckBoxes();

    // The text after the first "=" of the line as written in the file.
    std::string_view RawValue(const ProfileLine& line) const {
        if (line.number < 1 || static_cast<std::size_t>(line.number) > rawLines_.size()) return {};
        const std::string_view raw = rawLines_[line.number - 1];
        return raw.substr(raw.find('=') + 1);
    }

    DryRun& run_;
    const std::vector<ProfileSection>& layout_;
    const std::vector<std::string_view> rawLines_ = ProfileFileLines(run_.ScriptBytes());
    std::vector<Finding> found_;
};

struct KeyedValue {
    const char* key;
    std::size_t capacity;
    const char* effect;  // what the cut does
};

const KeyedValue kDisplayValues[] = {
    {script_names::kGroupName, script_capacity::kGroupName,
     "names the product key, the program group and the uninstall entry"},
    {script_names::kShow, script_capacity::kShow, "decides between the shown and the silent mode"},
    {script_names::kDeviceId, script_capacity::kDeviceId, "lists the device ids to clean up"},
    {script_names::kTitle, script_capacity::kTitle, "names the miniport service"},
    {script_names::kDriver, script_capacity::kDriver, "names the miniport driver file"},
};

std::vector<std::string> DisplayKeys() {
    std::vector<std::string> keys;
    for (const KeyedValue& value : kDisplayValues) keys.emplace_back(value.key);
    return keys;
}

bool IsAbsolute(std::string_view path) {
    return (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
            path[1] == ':' && path[2] == '\\') ||
           path.substr(0, 2) == "\\\\";
}

bool IsFourHexDigits(std::string_view piece) {
    return piece.size() == 4 && std::all_of(piece.begin(), piece.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) != 0;
           });
}

std::string WhyNotCopied(std::uint32_t error) {
    switch (error) {
        case platform::win_error::kPathNotFound:
            return "the destination's folder could not be made (Windows error 3)";
        case platform::win_error::kAccessDenied:
            return "the destination could not be written (Windows error 5)";
        case platform::win_error::kSharingViolation:
            return "the destination is held open by a running program (Windows error 32)";
        default:
            return "Windows error " + std::to_string(error);
    }
}

// The program of an uninstall command, which is the program's path, a blank
// and the program's directory; empty when the command is not of that shape.
std::string UninstallProgramOf(const std::string& command) {
    for (std::size_t blank = command.find(' '); blank != std::string::npos;
         blank = command.find(' ', blank + 1)) {
        const std::string program = command.substr(0, blank);
        const std::string directory = command.substr(blank + 1);
        if (program.rfind('\\') == directory.size() &&
            program.compare(0, directory.size(), directory) == 0) {
            return program;
        }
    }
    return {};
}

// Why the program drops a shortcut entry, in its own terms.
std::string ShortcutProblem(const std::string& windowsDir, std::string_view value) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0; fields.size() < 3;) {
        const std::size_t comma = value.find(',', start);
        fields.push_back(
            value.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (fields.size() < 3) return "it needs three fields, \"program,group,title\"";
    const struct {
        const char* what;
        std::size_t size;
        std::size_t capacity;
    } limits[] = {
        {"the program", fields[0].size(), shell_capacity::kProgramField},
        {"the program's path", shell_text::JoinPath(windowsDir, fields[0]).size(),
         shell_capacity::kTarget},
        {"the title", fields[2].size(), shell_capacity::kTitle},
        {"the group", fields[1].size(), shell_capacity::kGroup},
    };
    for (const auto& limit : limits) {
        if (limit.size >= limit.capacity) {
            return std::string(limit.what) + " is " + std::to_string(limit.size) +
                   " bytes, over the " + std::to_string(limit.capacity - 1) + " the program takes";
        }
    }
    return "its group is the Startup group, which this machine does not name, or its group "
           "file's path is too long";
}

std::vector<std::string> Findings::KnownSections() const {
    std::vector<std::string> known = {script_names::kDisplay, script_names::kModify,
                                      script_names::kUninstall};
    for (const int kind :
         {os_kind::kWindowsNT, os_kind::kWindows95, os_kind::kWindows98, os_kind::kWindows2000}) {
        const DriverSections driver = *DriverSectionsFor(kind);
        known.insert(known.end(), {driver.first, driver.second});
        for (const std::string_view family :
             {shell_text::section_family::kShortcut, shell_text::section_family::kExecute,
              shell_text::section_family::kUninstallExtraFile}) {
            known.push_back(shell_text::PlatformSection(kind, family));
        }
    }
    return known;
}

void Findings::CheckNames() {
    const std::vector<std::string> known = KnownSections();
    for (const ProfileSection& section : layout_) {
        if (section.number == 0) continue;  // the lines before the first section
        const std::string closest = ClosestName(section.name, known);
        if (!SameName(section.name, closest)) {
            Add(Severity::Warning, section.number,
                "section [" + section.name + "] is never read (the closest known name is [" +
                    closest + "])");
        } else if (FindSection(section.name) != &section) {
            Add(Severity::Warning, section.number,
                "a second section [" + section.name + "]: Windows reads only the first one");
        }
    }
    if (const ProfileSection* display = FindSection(script_names::kDisplay)) {
        const std::vector<std::string> keys = DisplayKeys();
        for (const ProfileLine& line : display->lines) {
            if (!line.hasKey || line.text.front() == ';') continue;
            const std::string closest = ClosestName(line.key, keys);
            if (!SameName(line.key, closest)) {
                Add(Severity::Warning, line.number,
                    "key " + Quoted(line.key) +
                        " of [Display] is never read (the closest known key is " + Quoted(closest) +
                        ")");
            }
        }
    }
}

void Findings::CheckText() {
    const std::string& script = run_.ScriptBytes();
    if (script.compare(0, kUtf8ByteOrderMark.size(), kUtf8ByteOrderMark) == 0) {
        Add(Severity::Warning, 1,
            "the script starts with a UTF-8 byte-order mark, which Windows reads as part of "
            "its first line");
    }
    const unsigned codePage = run_.Language().codePage;
    int number = 0;
    for (const std::string_view line : rawLines_) {
        ++number;
        if (!IsTextIn(line, codePage) || LooksLikeUtf8(line)) {
            Add(Severity::Warning, number,
                "the line holds bytes that are not text in code page " + std::to_string(codePage) +
                    " (was the script saved as UTF-8?): the program uses them as they are");
        }
    }
}

void Findings::CheckDisplayValues() {
    const ProfileSection* display = FindSection(script_names::kDisplay);
    if (display == nullptr) return;
    for (const KeyedValue& keyed : kDisplayValues) {
        const auto line = std::find_if(
            display->lines.begin(), display->lines.end(),
            [&](const ProfileLine& l) { return l.hasKey && SameName(l.key, keyed.key); });
        if (line == display->lines.end()) continue;
        if (RawValue(*line) != line->value) {
            Add(Severity::Warning, line->number,
                "blanks or quotes around the value of " + Quoted(keyed.key) +
                    ", which Windows strips: it reads " + Quoted(line->value));
        }
        if (line->value.size() >= keyed.capacity) {
            Add(Severity::Error, line->number,
                "the value of " + Quoted(keyed.key) + " is " + std::to_string(line->value.size()) +
                    " bytes; the program takes " + std::to_string(keyed.capacity - 1) +
                    " and cuts the rest off: the cut value " + keyed.effect);
        }
    }
    if (!run_.ShownMode()) {
        const auto show = std::find_if(display->lines.begin(), display->lines.end(),
                                       [this](const ProfileLine& l) {
                                           return l.hasKey && SameName(l.key, script_names::kShow);
                                       });
        Add(Severity::Note, show == display->lines.end() ? 0 : show->number,
            "bShow is not \"YES\": the install runs at once without the dialog and ends "
            "without the restart question");
    }
    const std::string& group = run_.Context().groupName;
    const auto groupLine =
        std::find_if(display->lines.begin(), display->lines.end(), [this](const ProfileLine& l) {
            return l.hasKey && SameName(l.key, script_names::kGroupName);
        });
    if (groupLine == display->lines.end()) return;
    if (group.empty()) {
        Add(Severity::Error, groupLine->number,
            "GroupName is empty: \"<GROUp>\" stays as written in every line and no uninstall "
            "entry is made");
    } else if (FindLastCharOf(run_.Context().sys.host, group, "\\") == group.size() - 1) {
        Add(Severity::Error, groupLine->number,
            "GroupName ends in \"\\\": no uninstall entry is made");
    }
}

void Findings::CheckModify() {
    const ProfileSection* modify = FindSection(script_names::kModify);
    if (modify == nullptr) return;
    // The keys the editor reads: "1", "2", ... up to the first missing or empty one.
    int read = 0;
    for (;; ++read) {
        const std::string key = std::to_string(read + 1);
        const auto line =
            std::find_if(modify->lines.begin(), modify->lines.end(),
                         [&key](const ProfileLine& l) { return l.hasKey && l.key == key; });
        if (line == modify->lines.end() || line->value.empty()) break;
    }
    for (const ProfileLine& line : modify->lines) {
        if (!line.hasKey) continue;
        const bool numbered =
            !line.key.empty() && std::all_of(line.key.begin(), line.key.end(),
                                             [](unsigned char c) { return std::isdigit(c) != 0; });
        if (!numbered) {
            Add(Severity::Warning, line.number,
                "key " + Quoted(line.key) +
                    " of [Modify] is never read: the keys are 1, 2, 3, ...");
            continue;
        }
        if (line.key.size() > 9 || std::stoi(line.key) > read) {
            Add(Severity::Error, line.number,
                "key " + line.key + " of [Modify] is never read: the list ends at key " +
                    std::to_string(read + 1) + ", which is missing or empty");
        } else if (RawValue(line) != line.value) {
            Add(Severity::Warning, line.number,
                "blanks or quotes around the value, which Windows strips: it reads " +
                    Quoted(line.value));
        }
        if (line.value.size() >= kModifyEntryCapacity) {
            Add(Severity::Error, line.number,
                "the value is " + std::to_string(line.value.size()) + " bytes; the program takes " +
                    std::to_string(kModifyEntryCapacity - 1) + " and cuts the rest off");
        }
    }
}

void Findings::CheckDeviceIds() {
    if (!shell_text::IsWindows9x(PlatformCode())) return;
    const ProfileSection* display = FindSection(script_names::kDisplay);
    const std::string value = ReadScriptValue(
        run_.Context(), ScriptPathOf(run_), script_names::kDisplay, script_names::kDeviceId,
        script_default::kDeviceId, script_capacity::kDeviceId);
    int number = 0;
    if (display != nullptr) {
        for (const ProfileLine& line : display->lines) {
            if (line.hasKey && SameName(line.key, script_names::kDeviceId)) number = line.number;
        }
    }
    for (const std::string& piece : SplitDeviceIds(value)) {
        if (!IsFourHexDigits(piece)) {
            Add(Severity::Warning, number,
                "device id " + Quoted(piece) +
                    " is not four hexadecimal digits: the clean-up looks for a key that no "
                    "adapter has");
        }
    }
}

void Findings::CheckDriverLines() {
    std::set<std::pair<std::string, std::string>> copiesSeen;
    for (const DriverLine& line : ReadDriverLines(run_, layout_)) {
        const CCopyListItem& item = line.item;
        if (line.parseCode == parse_error::kNoEquals) {
            Add(Severity::Error, line.number,
                "the line has no \"=\": the program shows error 101 and skips it");
        } else if (line.parseCode == parse_error::kNoComma) {
            Add(Severity::Error, line.number,
                "the line has no \",\" before a destination: the program shows error 102 "
                "and skips it");
        } else if (line.parseCode == parse_error::kCommaBeforeEquals) {
            Add(Severity::Error, line.number,
                "the line's first \",\" stands before its \"=\": the program shows error 103 "
                "and skips it");
        } else {
            if (!IsAbsolute(item.destination)) {
                Add(Severity::Error, line.number,
                    "the destination " + Quoted(item.destination) +
                        " is neither \".\\\" nor absolute: the file is written below the start "
                        "directory, on the medium, and recorded with that relative path");
            }
            if (copiesSeen.insert({item.source, item.destination}).second) {
                CheckCopy(line.number, item);
            }
        }
    }
}

void Findings::CheckCopy(int line, const CCopyListItem& item) {
    const std::vector<CopyAttempt>& copies = run_.Files().Copies();
    const auto last = std::find_if(copies.rbegin(), copies.rend(), [&item](const CopyAttempt& c) {
        return c.source == item.source && c.destination == item.destination;
    });
    if (last == copies.rend() || last->error == 0) return;
    if (!run_.Sim().Exists(item.source)) {
        Add(Severity::Error, line,
            "the source " + Quoted(item.source) +
                " is missing: the file is not copied, and the customer is asked whether the "
                "destination may be write-protected (message 42)");
    } else {
        Add(Severity::Error, line,
            "the file is not copied to " + Quoted(item.destination) + ": " +
                WhyNotCopied(last->error));
    }
}

void Findings::CheckListSizes() {
    std::vector<std::pair<std::string, std::size_t>> read;
    if (const std::optional<DriverSections> sections = DriverSectionsFor(PlatformCode())) {
        read = {{sections->first, script_capacity::kSection},
                {sections->second, script_capacity::kSection}};
    }
    if (shell_text::IsShellPlatform(PlatformCode())) {
        for (const std::string_view family :
             {shell_text::section_family::kShortcut, shell_text::section_family::kExecute,
              shell_text::section_family::kUninstallExtraFile}) {
            read.emplace_back(shell_text::PlatformSection(PlatformCode(), family),
                              script_capacity::kSection);
        }
        read.emplace_back(script_names::kUninstall, script_capacity::kUninstallSection);
    }
    for (const auto& [name, capacity] : read) {
        const ListSection section = ReadListSection(run_, layout_, name, capacity);
        if (!section.tooLarge || section.layout == nullptr) continue;
        Add(Severity::Error, section.layout->number,
            "section [" + name + "] does not fit the program's " + std::to_string(capacity) +
                "-byte buffer (with \"<GROUp>\" replaced): the program skips it whole");
    }
}

std::optional<ListSection> Findings::ShellSection(std::string_view family) {
    if (!shell_text::IsShellPlatform(PlatformCode())) return std::nullopt;
    ListSection section =
        ReadListSection(run_, layout_, shell_text::PlatformSection(PlatformCode(), family),
                        script_capacity::kSection);
    if (section.tooLarge) return std::nullopt;  // reported with the other sizes
    return section;
}

void Findings::CheckShortcuts() {
    const std::optional<ListSection> section = ShellSection(shell_text::section_family::kShortcut);
    if (!section) return;
    SetupContext& ctx = run_.Context();
    std::size_t taken = 0;
    for (const NumberedLine& line : section->lines) {
        if (shell_text::IsComment(line.text)) continue;
        const std::string_view value = ShortcutValue(line.text);
        ShortcutRecord record;
        std::string groupFile;
        std::string groupName;
        if (!ParseShortcutEntry(ctx, value, record, groupFile, groupName)) {
            Add(Severity::Error, line.number,
                "the shortcut is not made: " + ShortcutProblem(ctx.windowsDirText, value));
        } else if (++taken > kMaxShortcuts) {
            Add(Severity::Error, line.number,
                "more than " + std::to_string(kMaxShortcuts) +
                    " shortcuts: the program makes the first " + std::to_string(kMaxShortcuts) +
                    " and drops this one and the rest");
        }
    }
}

void Findings::CheckPrograms() {
    const std::optional<ListSection> section = ShellSection(shell_text::section_family::kExecute);
    if (!section) return;
    const std::string& workingDirectory = run_.Context().shell.workingDirectory;
    const std::vector<platform::sim::ExecRecord>& started = run_.Sim().Execs();
    for (const NumberedLine& line : section->lines) {
        if (shell_text::IsComment(line.text)) continue;
        const std::string_view program = shell_text::ValueAfterKey(line.text);
        if (program.empty()) continue;
        const std::string commandLine = shell_text::JoinPath(workingDirectory, program);
        const bool wasStarted = std::any_of(
            started.begin(), started.end(),
            [&commandLine](const auto& exec) { return exec.commandLine == commandLine; });
        if (!wasStarted) {
            Add(Severity::Error, line.number,
                !Fits(commandLine, shell_capacity::kCommandLine)
                    ? "the command line " + Quoted(commandLine) + " is " +
                          std::to_string(commandLine.size()) + " bytes, over the " +
                          std::to_string(shell_capacity::kCommandLine - 1) +
                          " the program takes: the program is not started"
                    : "the program is not started: the program starts the first " +
                          std::to_string(kMaxPrograms) + " programs only");
            continue;
        }
        // WinExec runs the command line's first word, with ".EXE" when it has no extension.
        std::string file = commandLine.substr(0, commandLine.find(' '));
        if (file.find('.', file.rfind('\\') + 1) == std::string::npos) file += ".EXE";
        if (!run_.Sim().Exists(file)) {
            Add(Severity::Warning, line.number,
                "the program " + Quoted(file) +
                    " is not on the medium: starting it fails and nothing is said");
        }
    }
}

void Findings::CheckExtraFiles() {
    const std::optional<ListSection> section =
        ShellSection(shell_text::section_family::kUninstallExtraFile);
    if (!section) return;
    for (const NumberedLine& line : section->lines) {
        if (shell_text::IsComment(line.text)) continue;
        const std::string path = shell_text::JoinPath(run_.Context().windowsDirText,
                                                      shell_text::ValueAfterKey(line.text));
        if (!Fits(path, shell_capacity::kExtraFilePath)) {
            Add(Severity::Error, line.number,
                "the path " + Quoted(path) + " is " + std::to_string(path.size()) +
                    " bytes, over the " + std::to_string(shell_capacity::kExtraFilePath - 1) +
                    " the program takes: it is not recorded for the uninstaller");
        }
    }
}

void Findings::CheckUninstall() {
    if (!shell_text::IsShellPlatform(PlatformCode())) return;
    const SetupContext& ctx = run_.Context();
    const std::string entry = shell_text::JoinPath(kUninstallKey, ctx.groupName);
    const std::optional<std::string> command =
        run_.Sim().StringValue(platform::RegRoot::LocalMachine, entry, "UnInstallString");
    const ProfileSection* section = FindSection(script_names::kUninstall);
    if (section == nullptr || section->lines.empty() ||
        shell_text::IsComment(section->lines.front().text)) {
        return;
    }
    const int line = section->lines.front().number;
    if (!command) {
        const std::string program = shell_text::JoinPath(
            ctx.windowsDirText, shell_text::ValueAfterKey(section->lines.front().text));
        if (!Fits(program, shell_capacity::kUninstallProgram)) {
            Add(Severity::Error, line,
                "the uninstall program's path " + Quoted(program) + " is " +
                    std::to_string(program.size()) + " bytes, over the " +
                    std::to_string(shell_capacity::kUninstallProgram - 1) +
                    " the program takes: no uninstall entry is made");
        } else if (!Fits(entry, shell_capacity::kUninstallEntryKey)) {
            Add(Severity::Error, line,
                "the uninstall entry's key is " + std::to_string(entry.size()) +
                    " bytes, over the " + std::to_string(shell_capacity::kUninstallEntryKey - 1) +
                    " the program takes (GroupName is too long): no uninstall entry is made");
        }
        return;
    }
    const std::string program = UninstallProgramOf(*command);
    if (!program.empty() && !run_.Sim().Exists(program)) {
        Add(Severity::Warning, section->lines.front().number,
            "the uninstall program " + Quoted(program) +
                " is not on the machine after the install (no driver line copies it): the "
                "uninstall entry names a missing file");
    }
}

void Findings::CheckBoxes() {
    const Language language = LanguageFromLcid(run_.Language().lcid);
    const std::string tooLarge = MsgText(language, 48);
    const std::string noEntries = MsgText(language, 49);
    const ProfileSection* modify = FindSection(script_names::kModify);
    const int line = modify ? modify->number : 0;
    for (const platform::sim::BoxRecord& box : run_.Sim().Boxes()) {
        if (box.text == noEntries) {
            Add(Severity::Warning, line,
                "no [Modify] entries: the install stops on message 49 until the user presses "
                "OK, in the silent mode too, and CONFIG.SYS keeps every line");
        } else if (box.text == tooLarge) {
            Add(Severity::Error, line,
                "the [Modify] entries do not fit the editor's " +
                    std::to_string(kModifyListCapacity) +
                    "-byte list: the program shows message 48 and CONFIG.SYS keeps every line");
        }
    }
}

std::vector<Finding> Findings::Gather() {
    if (run_.ScriptBytes().empty() && !run_.Sim().Exists(ScriptPathOf(run_))) {
        Add(Severity::Error, 0,
            "there is no SETUP32.INI in the medium: Start shows that the setup script cannot be "
            "found (message 50), the program changes nothing and ends with exit code 2");
    }
    CheckNames();
    CheckText();
    CheckDisplayValues();
    CheckModify();
    CheckDeviceIds();
    CheckDriverLines();
    CheckListSizes();
    CheckShortcuts();
    CheckPrograms();
    CheckExtraFiles();
    CheckUninstall();
    CheckBoxes();
    std::stable_sort(found_.begin(), found_.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    for (Finding& finding : found_)
        finding.message = ToUtf8(finding.message, run_.Language().codePage);
    return found_;
}

}  // namespace

std::vector<Finding> FindingsOf(DryRun& run, const std::vector<ProfileSection>& layout) {
    return Findings(run, layout).Gather();
}

}  // namespace setup32::check
