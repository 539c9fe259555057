#include "check/findings.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "check/closest_name.h"
#include "check/rules/name_chars.h"
#include "check/script_rules.h"
#include "check/script_view.h"
#include "check/text_encoding.h"
#include "check/version_findings.h"
#include "files/file_placement.h"
#include "messages/messages.h"
#include "platform/sim/wine_differences.h"
#include "shellint/shell_integration.h"
#include "shellint/shell_text.h"
#include "state/ansi_text.h"
#include "state/ascii_text.h"
#include "state/context.h"
#include "state/copy_list.h"
#include "state/script.h"
#include "sysconfig/sysconfig.h"

namespace setup32::check {
namespace {

using shell_text::Fits;

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kPlaceholder = "<GROUp>";
constexpr std::string_view kStartupGroup = "Startup";
// Where the miniport service's image is looked for, below the Windows directory.
constexpr const char* kDriversDirectory = "SYSTEM32\\DRIVERS";

// What Windows does where Wine, which the vendor may try the medium under,
// does otherwise.
std::string WindowsAgainstWine(std::string_view id) {
    const sim::WineDifference& difference = sim::WineDifferenceById(id);
    return std::string(difference.windows) + "; a trial under Wine does not show this (" +
           std::string(difference.wine) + ")";
}

// A file of Windows' own start-up that a [Modify] entry may take out of
// CONFIG.SYS, and what the machine loses with its line.
struct StartupFile {
    const char* name;
    Severity severity;
    const char* loss;
};

// HIMEM.SYS and IFSHLP.SYS carry the start of Windows 95 and 98 (the
// memory manager, and the file system helper without which only the
// minimal real-mode file system of IO.SYS is there); EMM386 only gives
// upper memory, and a machine starts without it.
const StartupFile kStartupFiles[] = {
    {"HIMEM.SYS", Severity::Error,
     "the memory manager that Windows 95 and 98 start with and that EMM386 and DOS=HIGH need"},
    {"IFSHLP.SYS", Severity::Error,
     "the file system helper of Windows 95 and 98, without which only the minimal real-mode "
     "file system is there"},
    {"EMM386.EXE", Severity::Warning,
     "the upper-memory manager: the machine still starts, but drivers loaded high then load "
     "low"},
};

std::string PlatformTitle(int osKind) {
    switch (osKind) {
        case os_kind::kWindows95:
            return "Windows 95";
        case os_kind::kWindows98:
            return "Windows 98";
        case os_kind::kWindowsNT:
            return "Windows NT 4.0";
        case os_kind::kWindows2000:
            return "Windows 2000";
        default:
            return "this Windows";
    }
}

constexpr int kShellPlatforms[] = {os_kind::kWindows95, os_kind::kWindows98, os_kind::kWindowsNT,
                                   os_kind::kWindows2000};

// The findings of one run, gathered as bytes of the run's code page.
class Findings {
  public:
    explicit Findings(DryRun& run, const std::vector<ProfileSection>& layout)
        : run_(run), layout_(layout) {}

    std::vector<Finding> Gather();

  private:
    // A file that a driver line of the run asks to copy.
    struct Installed {
        int line;
        std::string destination;
        bool copied;
    };

    void Add(const char* rule, Severity severity, int line, std::string message) {
        found_.push_back({severity, line, std::move(message), rule});
    }
    int PlatformCode() const { return OsKindFromVersion(run_.Platform().version); }
    bool OnNt() const { return shell_text::IsNtFamily(PlatformCode()); }
    const platform::HostFacts& Host() const { return run_.Context().sys.host; }
    // Names compared as the profile service compares them.
    bool SameName(std::string_view a, std::string_view b) const {
        return platform::sim::SameNameOn(Host(), a, b);
    }
    const ProfileSection* FindSection(std::string_view name) const {
        return FindProfileSection(layout_, name, Host());
    }
    // The [Display] line a keyed read of `key` finds: the first of that key.
    const ProfileLine* DisplayLine(std::string_view key) const;
    int DisplayHeaderLine() const {
        const ProfileSection* display = FindSection(script_names::kDisplay);
        return display ? display->number : 0;
    }
    std::string DisplayValue(const char* key, const char* fallback, std::size_t capacity) const {
        return ReadScriptValue(run_.Context(), ScriptPathOf(run_), script_names::kDisplay, key,
                               fallback, capacity);
    }
    static std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }
    bool HoldsPlaceholder(std::string_view written) const {
        return std::search(written.begin(), written.end(), kPlaceholder.begin(), kPlaceholder.end(),
                           [](char a, char b) {
                               return std::toupper(static_cast<unsigned char>(a)) ==
                                      std::toupper(static_cast<unsigned char>(b));
                           }) != written.end();
    }
    // True when the group name put into the line adds a "," to it.
    bool GroupNameSplits(std::string_view written) const {
        return HoldsPlaceholder(written) && run_.Context().groupName.find(',') != std::string::npos;
    }

    std::vector<std::string> KnownSections() const;
    void CheckNames();
    void CheckRepeatedKeys(const ProfileSection& section);
    // The byte-order mark; true when it hides the [Display] section.
    bool CheckByteOrderMark();
    void CheckText();
    void CheckDisplaySection(bool hiddenByMark);
    std::string DefaultsTaken() const;
    void CheckDisplayValues();
    void CheckGroupName();
    void CheckModify();
    void CheckModifyEntry(const ProfileLine& line);
    void CheckDeviceIds();
    void CheckDriverLines();
    bool CheckSlashes(const DriverLine& line);
    // The outcome of the line's last copy, as the machine recorded it.
    void CheckCopy(const DriverLine& line);
    void CheckPlatformInstalls();
    void CheckMiniport();
    void CheckListSizes();
    // The platform's list section of the shell-integration family, unless
    // the platform has none or the program skips it for its size.
    std::optional<ListSection> ShellSection(std::string_view family);
    // A line of a section whose entries are a one-character key, "=" and
    // the value; false, with a finding, when its key is of another length.
    bool HasOneCharacterKey(const NumberedLine& line, Severity severity, const char* what);
    void CheckShortcuts();
    void CheckShortcutTarget(const NumberedLine& line, std::string_view program);
    void CheckPrograms();
    void CheckExtraFiles();
    void CheckUninstall();
    void CheckBoxes();
    void CheckVersionDifferences();
    // One finding on the GroupName line for every line its commas split.
    void ReportCommaSplits();

    // The error of the item's last copy, 0 when it was copied; none when the
    // program never tried it.
    std::optional<std::uint32_t> LastCopyError(const CCopyListItem& item) const {
        const std::vector<CopyAttempt> copies = run_.Copies();
        const auto last = std::find_if(copies.rbegin(), copies.rend(), [&](const CopyAttempt& c) {
            return c.source == item.source && c.destination == item.destination;
        });
        if (last == copies.rend()) return std::nullopt;
        return last->error;
    }
    // Where the driver lines of the run put a file of that name, for the
    // finding of a file the script names but does not install there.
    std::string WhereInstalled(std::string_view path) const;

    // The text after the first "=" of the line as written in the file.
    std::string_view RawValue(const ProfileLine& line) const {
        if (line.number < 1 || static_cast<std::size_t>(line.number) > rawLines_.size()) return {};
        const std::string_view raw = rawLines_[line.number - 1];
        return raw.substr(raw.find('=') + 1);
    }

    DryRun& run_;
    const std::vector<ProfileSection>& layout_;
    const std::vector<std::string_view> rawLines_ = ProfileFileLines(run_.ScriptBytes());
    std::vector<Installed> installed_;
    // The lines whose fields the group name's commas split, and what the
    // program reads there.
    std::vector<std::pair<int, std::string>> commaSplits_;
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

// A name near enough to a known one to be taken for a misspelling of it:
// two letters off (a pair swapped), or at most a third of its letters.
bool IsClose(std::string_view name, std::string_view known) {
    const std::size_t distance = EditDistance(name, known);
    return distance <= 2 || distance * 3 <= known.size();
}

std::vector<std::string> DisplayKeys() {
    std::vector<std::string> keys;
    for (const KeyedValue& value : kDisplayValues) keys.emplace_back(value.key);
    return keys;
}

constexpr std::uint32_t kInvalidName = 123;

// Why a copy onto `destination` failed, from the error and what the
// machine holds there after the run.
std::string WhyNotCopied(std::uint32_t error, std::uint32_t destinationAttributes) {
    const bool exists = destinationAttributes != platform::sim::kInvalidFileAttributes;
    if (error == platform::win_error::kAccessDenied && exists &&
        (destinationAttributes & platform::kFileAttributeReadOnly) != 0) {
        return "the destination is read-only (Windows error 5): " +
               WindowsAgainstWine("read-only-destination");
    }
    switch (error) {
        case platform::win_error::kPathNotFound:
            return "the destination's folder could not be made (Windows error 3)";
        case platform::win_error::kAccessDenied:
            return "the destination could not be written (Windows error 5)";
        case platform::win_error::kSharingViolation:
            return "the destination is held open by a running program (Windows error 32)";
        case kInvalidName:
            return "a name in the path holds a character Windows does not take in a name "
                   "(\\ / : * ? \" < > |, or a drive inside the path) (Windows error 123)";
        default:
            return "Windows error " + std::to_string(error);
    }
}

std::vector<std::string> Findings::KnownSections() const {
    std::vector<std::string> known = {script_names::kDisplay, script_names::kModify,
                                      script_names::kUninstall};
    for (const int kind : kShellPlatforms) {
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

const ProfileLine* Findings::DisplayLine(std::string_view key) const {
    const ProfileSection* display = FindSection(script_names::kDisplay);
    if (display == nullptr) return nullptr;
    const auto line =
        std::find_if(display->lines.begin(), display->lines.end(),
                     [&](const ProfileLine& l) { return l.hasKey && SameName(l.key, key); });
    return line == display->lines.end() ? nullptr : &*line;
}

void Findings::CheckNames() {
    const std::vector<std::string> known = KnownSections();
    for (const ProfileSection& section : layout_) {
        if (section.number == 0) continue;  // the lines before the first section
        const std::string closest = ClosestName(section.name, known);
        if (!SameName(section.name, closest)) {
            if (IsClose(section.name, closest)) {
                Add("unknown-name", Severity::Warning, section.number,
                    "section [" + section.name + "] is never read (the closest known name is [" +
                        closest + "])");
            } else {
                Add("unknown-name", Severity::Note, section.number,
                    "section [" + section.name +
                        "] is not one the program reads: it is left as notes");
            }
        } else if (FindSection(section.name) != &section) {
            Add("repeated-name", Severity::Warning, section.number,
                "a second section [" + section.name + "]: Windows reads only the first one");
        }
    }
    if (const ProfileSection* display = FindSection(script_names::kDisplay)) {
        const std::vector<std::string> keys = DisplayKeys();
        for (const ProfileLine& line : display->lines) {
            if (!line.hasKey) continue;
            const std::string closest = ClosestName(line.key, keys);
            if (SameName(line.key, closest)) continue;
            if (IsClose(line.key, closest)) {
                Add("unknown-name", Severity::Warning, line.number,
                    "key " + Quoted(line.key) +
                        " of [Display] is never read (the closest known key is " + Quoted(closest) +
                        ")");
            } else {
                Add("unknown-name", Severity::Note, line.number,
                    "key " + Quoted(line.key) + " of [Display] is not one the program reads");
            }
        }
        CheckRepeatedKeys(*display);
    }
    if (const ProfileSection* modify = FindSection(script_names::kModify)) {
        CheckRepeatedKeys(*modify);
    }
}

void Findings::CheckRepeatedKeys(const ProfileSection& section) {
    for (auto line = section.lines.begin(); line != section.lines.end(); ++line) {
        if (!line->hasKey) continue;
        const auto first = std::find_if(section.lines.begin(), line, [&](const ProfileLine& l) {
            return l.hasKey && SameName(l.key, line->key);
        });
        if (first == line) continue;
        Add("repeated-name", Severity::Warning, line->number,
            "a second " + Quoted(line->key) + " in [" + section.name +
                "]: Windows reads the first, on line " + std::to_string(first->number) + " (" +
                Quoted(first->value) + "), and never this one");
    }
}

bool Findings::CheckByteOrderMark() {
    const std::string& script = run_.ScriptBytes();
    if (script.compare(0, kUtf8ByteOrderMark.size(), kUtf8ByteOrderMark) != 0) return false;
    const std::string_view first = rawLines_.empty()
                                       ? std::string_view()
                                       : rawLines_.front().substr(kUtf8ByteOrderMark.size());
    const std::size_t start = first.find_first_not_of(" \t");
    if (start == std::string_view::npos || first[start] != '[') return false;  // nothing lost
    const std::vector<ProfileSection> unmarked = ReadProfileLayout(first.substr(start), &Host());
    const std::string name = unmarked.empty() ? std::string() : unmarked.back().name;
    const bool display = SameName(name, script_names::kDisplay);
    Add("byte-order-mark", Severity::Error, 1,
        "the script starts with a UTF-8 byte-order mark: section [" + name + "] is never read" +
            (display ? ", so GroupName, Driver and DeviceID fall back to their defaults: " +
                           DefaultsTaken()
                     : std::string()) +
            "; " + WindowsAgainstWine("utf8-bom") +
            "; save the script as ANSI text, without the mark");
    return display;
}

void Findings::CheckText() {
    const unsigned codePage = run_.Language().codePage;
    int number = 0;
    for (std::string_view line : rawLines_) {
        ++number;
        if (number == 1 && line.compare(0, kUtf8ByteOrderMark.size(), kUtf8ByteOrderMark) == 0) {
            line.remove_prefix(kUtf8ByteOrderMark.size());  // reported on its own
        }
        if (!IsTextIn(line, codePage) || LooksLikeUtf8(line)) {
            Add("not-code-page-text", Severity::Warning, number,
                "the line holds bytes that are not text in code page " + std::to_string(codePage) +
                    " (was the script saved as UTF-8?): the program uses them as they are");
        }
    }
}

// The defaults the run takes without [Display], and what they do there.
std::string Findings::DefaultsTaken() const {
    std::string text = "the group name " + Quoted(kDefaultGroupName) +
                       " names the product key, the program group and the uninstall entry";
    if (OnNt()) {
        return text + ", and without a Driver no miniport service is registered, so " +
               PlatformTitle(PlatformCode()) + " does not start the adapter's driver";
    }
    return text + ", and the clean-up removes the entries of device id " +
           script_default::kDeviceId + " only";
}

void Findings::CheckDisplaySection(bool hiddenByMark) {
    if (hiddenByMark || run_.ScriptBytes().empty()) return;
    if (FindSection(script_names::kDisplay) == nullptr) {
        Add("display-missing", Severity::Error, 0,
            "there is no [Display] section: every value of it takes its default: " +
                DefaultsTaken() + "; write [Display] with GroupName" +
                (OnNt() ? ", Title and Driver" : " and DeviceID"));
        return;
    }
    if (DisplayLine(script_names::kGroupName) == nullptr) {
        Add("display-missing", Severity::Warning, DisplayHeaderLine(),
            "[Display] has no GroupName: the group name " + Quoted(kDefaultGroupName) +
                " names the product key, the program group and the uninstall entry; write "
                "GroupName=<your product's name>");
    }
}

void Findings::CheckDisplayValues() {
    const ProfileSection* display = FindSection(script_names::kDisplay);
    if (display == nullptr) return;
    for (const KeyedValue& keyed : kDisplayValues) {
        const ProfileLine* line = DisplayLine(keyed.key);
        if (line == nullptr) continue;
        if (RawValue(*line) != line->value) {
            Add("value-blanks", Severity::Warning, line->number,
                "blanks or quotes around the value of " + Quoted(keyed.key) +
                    ", which Windows strips: it reads " + Quoted(line->value));
        }
        if (line->value.size() >= keyed.capacity) {
            Add("value-too-long", Severity::Error, line->number,
                "the value of " + Quoted(keyed.key) + " is " + std::to_string(line->value.size()) +
                    " bytes; the program takes " + std::to_string(keyed.capacity - 1) +
                    " and cuts the rest off: the cut value " + keyed.effect);
        }
    }
    if (!run_.ShownMode()) {
        const ProfileLine* show = DisplayLine(script_names::kShow);
        Add("silent-install", Severity::Note, show == nullptr ? 0 : show->number,
            "bShow is not \"YES\": the install runs at once without the dialog and ends "
            "without the restart question");
    }
    CheckGroupName();
}

void Findings::CheckGroupName() {
    const ProfileLine* line = DisplayLine(script_names::kGroupName);
    if (line == nullptr) return;
    const std::string& group = run_.Context().groupName;
    if (group.empty()) {
        Add("group-name", Severity::Error, line->number,
            "GroupName is empty: \"<GROUp>\" stays as written in every line and no uninstall "
            "entry is made");
        return;
    }
    const std::size_t backslash = FindLastCharOf(Host(), group, "\\");
    if (backslash == group.size() - 1) {
        Add("group-name", Severity::Error, line->number,
            "GroupName ends in \"\\\": no uninstall entry is made");
    } else if (backslash != std::string::npos) {
        Add("group-name", Severity::Error, line->number,
            "GroupName holds \"\\\": the product key and the uninstall entry become keys below " +
                Quoted(group.substr(0, backslash)) + ", and the group a folder inside another");
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
        if (!IsNumber(line.key)) {
            Add("modify-key", Severity::Warning, line.number,
                "key " + Quoted(line.key) +
                    " of [Modify] is never read: the keys are 1, 2, 3, ...");
            continue;
        }
        if (line.key.front() == '0') {
            Add("modify-key", Severity::Error, line.number,
                "key " + line.key +
                    " of [Modify] is never read: the keys are 1, 2, 3, ..., written without "
                    "leading zeros");
        } else if (line.key.size() > 9 || std::stoi(line.key) > read) {
            Add("modify-key", Severity::Error, line.number,
                "key " + line.key + " of [Modify] is never read: the list ends at key " +
                    std::to_string(read + 1) + ", which is missing or empty");
        } else {
            if (RawValue(line) != line.value) {
                Add("value-blanks", Severity::Warning, line.number,
                    "blanks or quotes around the value, which Windows strips: it reads " +
                        Quoted(line.value));
            }
            CheckModifyEntry(line);
        }
        if (line.value.size() >= kModifyEntryCapacity) {
            Add("value-too-long", Severity::Error, line.number,
                "the value is " + std::to_string(line.value.size()) + " bytes; the program takes " +
                    std::to_string(kModifyEntryCapacity - 1) + " and cuts the rest off");
        }
    }
}

// An entry removes every CONFIG.SYS line that holds its file-name part, so
// one that a start-up file's name holds takes that file's line out.
void Findings::CheckModifyEntry(const ProfileLine& line) {
    if (line.value.empty() || line.value.front() == ';') return;
    if (HoldsPlaceholder(line.value)) {
        Add("modify-placeholder", Severity::Warning, line.number,
            "\"<GROUp>\" is not replaced in [Modify]: the entry removes the lines that hold its "
            "file name as written; write the name itself");
    }
    const std::size_t backslash = FindLastCharOf(Host(), line.value, "\\");
    const std::string name =
        UpperAscii(backslash == std::string::npos ? line.value : line.value.substr(backslash + 1));
    if (name.empty()) return;
    for (const StartupFile& file : kStartupFiles) {
        if (std::string_view(file.name).find(name) == std::string_view::npos) continue;
        const std::string removed = name == file.name
                                        ? "the line of CONFIG.SYS that loads " + name
                                        : "every line of CONFIG.SYS that holds " + Quoted(name) +
                                              ", the line that loads " + file.name + " among them";
        Add("modify-startup-file", file.severity, line.number,
            "the entry removes " + removed + ": " + file.name + " is " + file.loss +
                "; name only your own product's files");
    }
}

void Findings::CheckDeviceIds() {
    if (!shell_text::IsWindows9x(PlatformCode())) return;
    const ProfileLine* line = DisplayLine(script_names::kDeviceId);
    const std::string value = DisplayValue(script_names::kDeviceId, script_default::kDeviceId,
                                           script_capacity::kDeviceId);
    for (const std::string& piece : SplitDeviceIds(value)) {
        if (!IsFourHexDigits(piece)) {
            Add("device-id", Severity::Warning, line == nullptr ? 0 : line->number,
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
            Add("driver-line-malformed", Severity::Error, line.number,
                "the line has no \"=\": the program shows error 101 and skips it");
            continue;
        }
        if (line.parseCode == parse_error::kNoComma) {
            Add("driver-line-malformed", Severity::Error, line.number,
                "the line has no \",\" before a destination: the program shows error 102 "
                "and skips it");
            continue;
        }
        if (line.parseCode == parse_error::kCommaBeforeEquals) {
            Add("driver-line-malformed", Severity::Error, line.number,
                "the line's first \",\" stands before its \"=\": the program shows error 103 "
                "and skips it");
            continue;
        }
        installed_.push_back({line.number, item.destination, LastCopyError(item) == 0u});
        if (GroupNameSplits(line.written.substr(0, line.written.find(',')))) {
            commaSplits_.push_back({line.number, "line " + std::to_string(line.number) +
                                                     " copies " + Quoted(item.source) + " to " +
                                                     Quoted(item.destination)});
            continue;
        }
        if (!copiesSeen.insert({item.source, item.destination}).second) continue;
        if (CheckSlashes(line)) continue;
        if (!IsAbsolute(item.destination)) {
            const bool blank = !item.destination.empty() && item.destination.front() == ' ';
            Add("dest-relative", Severity::Error, line.number,
                "the destination " + Quoted(item.destination) +
                    " is neither \".\\\" nor absolute: the file is written below the start "
                    "directory, on the medium, and recorded with that relative path" +
                    (blank ? "; it begins with a blank: write no blanks around the \",\""
                           : "; write \".\\\" before a path below the Windows directory"));
        }
        CheckCopy(line);
    }
}

// A destination written with "/": the program takes only ".\" for the
// Windows directory and makes missing folders only at "\".
bool Findings::CheckSlashes(const DriverLine& line) {
    const CCopyListItem& item = line.item;
    // A "/" that the group name brought in is reported on the GroupName line.
    if (item.destination.find('/') == std::string::npos ||
        line.written.find('/') == std::string::npos)
        return false;
    const std::uint32_t error = LastCopyError(item).value_or(0);
    const std::string outcome =
        error == 0
            ? "the file is written to " + Quoted(item.destination) +
                  ", below the start directory, on the medium"
            : "the copy fails (Windows error " + std::to_string(error) +
                  ") and the customer is asked whether the destination may be write-protected "
                  "(message 42)";
    const std::size_t comma = line.written.find(',', line.written.find('='));
    Add("dest-slash", Severity::Error, line.number,
        "the destination " + Quoted(item.destination) +
            " is written with \"/\": the program takes only \".\\\" for the Windows directory "
            "and makes a missing folder only at \"\\\", so " +
            outcome + "; write " + Quoted(WithBackslashes(line.written.substr(comma + 1))));
    return true;
}

void Findings::CheckCopy(const DriverLine& driverLine) {
    const CCopyListItem& item = driverLine.item;
    const int line = driverLine.number;
    const std::uint32_t error = LastCopyError(item).value_or(0);
    if (error == 0) return;
    // A group name that no path can hold is reported on its own line.
    if (HoldsPlaceholder(driverLine.written) &&
        RefusedCharacter(run_.Context().groupName, "/:*?\"<>|") != '\0')
        return;
    if (!run_.Sim().Exists(item.source)) {
        Add("copy-fails", Severity::Error, line,
            "the source " + Quoted(item.source) +
                " is missing: the file is not copied, and the customer is asked whether the "
                "destination may be write-protected (message 42)");
    } else if (const std::uint32_t attributes = run_.Sim().Attributes(item.destination);
               (!item.destination.empty() && item.destination.back() == '\\') ||
               (attributes != platform::sim::kInvalidFileAttributes &&
                (attributes & platform::kFileAttributeDirectory) != 0)) {
        Add("copy-fails", Severity::Error, line,
            "the destination " + Quoted(item.destination) +
                " names a folder: the program copies to a file's path, so the copy fails "
                "(Windows error " +
                std::to_string(error) +
                ") and the customer is asked whether the destination may be write-protected "
                "(message 42); write " +
                Quoted(FolderWithFile(driverLine.written, item.source)));
    } else {
        Add("copy-fails", Severity::Error, line,
            "the file is not copied to " + Quoted(item.destination) + ": " +
                WhyNotCopied(error, attributes));
    }
}

// A platform that the script gives no driver line while it gives others some.
void Findings::CheckPlatformInstalls() {
    const auto driverSections = [this](int kind) {
        const DriverSections names = *DriverSectionsFor(kind);
        return std::pair{FindSection(names.first), FindSection(names.second)};
    };
    const auto copiesSomething = [](const ProfileSection* section) {
        return section != nullptr &&
               std::any_of(section->lines.begin(), section->lines.end(),
                           [](const ProfileLine& l) { return !shell_text::IsComment(l.text); });
    };
    const int kind = PlatformCode();
    if (!shell_text::IsShellPlatform(kind)) return;
    const auto [first, second] = driverSections(kind);
    if (copiesSomething(first) || copiesSomething(second)) return;
    std::vector<std::string> others;
    for (const int other : kShellPlatforms) {
        const auto [otherFirst, otherSecond] = driverSections(other);
        if (other != kind && (copiesSomething(otherFirst) || copiesSomething(otherSecond))) {
            others.push_back(PlatformTitle(other));
        }
    }
    if (others.empty()) return;
    std::string list;
    for (std::size_t i = 0; i < others.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == others.size() ? " and " : ", ") + others[i];
    }
    const DriverSections names = *DriverSectionsFor(kind);
    Add("platform-no-files", Severity::Error,
        first    ? first->number
        : second ? second->number
                 : 0,
        "the script copies no file on " + PlatformTitle(kind) + ": [" + names.first + "] and [" +
            names.second + "] hold no driver line, while those of " + list +
            " do; write the two sections for " + PlatformTitle(kind));
}

std::string Findings::WhereInstalled(std::string_view path) const {
    const std::string name = UpperAscii(path.substr(path.rfind('\\') + 1));
    for (const Installed& file : installed_) {
        const std::string destination = UpperAscii(WithBackslashes(file.destination));
        const bool samePath = destination == UpperAscii(path);
        if (!samePath && destination.substr(destination.rfind('\\') + 1) != name) continue;
        if (!file.copied) {
            return " (its copy on line " + std::to_string(file.line) + ", to " +
                   Quoted(file.destination) + ", fails)";
        }
        return samePath ? std::string()
                        : " (line " + std::to_string(file.line) + " copies it to " +
                              Quoted(file.destination) + " instead)";
    }
    return " (no driver line copies it)";
}

// The miniport service of the NT family: its image and its name.
void Findings::CheckMiniport() {
    if (!OnNt()) return;
    const ProfileLine* driverLine = DisplayLine(script_names::kDriver);
    const std::string driver = DisplayValue(script_names::kDriver, "", script_capacity::kDriver);
    const std::string title =
        DisplayValue(script_names::kTitle, script_default::kServiceTitle, script_capacity::kTitle);
    const std::string drivers = shell_text::JoinPath(run_.WindowsDir(), kDriversDirectory) + "\\";
    // A script without a Driver updates the files of a miniport that is
    // registered already.
    if (driver.empty()) return;
    const int line = driverLine ? driverLine->number : 0;
    // The program registers no service whose name is not one key below Services.
    if (title.empty() || FindLastCharOf(Host(), title, "\\") != std::string::npos) {
        const ProfileLine* titleLine = DisplayLine(script_names::kTitle);
        Add("miniport", Severity::Error, titleLine ? titleLine->number : line,
            "the service name (Title) " + Quoted(title) +
                (title.empty() ? " is empty" : " holds \"\\\"") +
                ": the program registers no miniport service for Driver " + Quoted(driver) +
                ", so " + PlatformTitle(PlatformCode()) +
                " does not start the adapter; write a name of letters and digits");
        return;
    }
    const std::string image = drivers + driver;
    if (!run_.Sim().Exists(image)) {
        Add("service-image", Severity::Error, line,
            "Driver names " + Quoted(driver) + ", which the script does not install as " +
                Quoted(image) + WhereInstalled(image) +
                ": the program registers the boot-start miniport service " + Quoted(title) +
                " with the image System32\\drivers\\" + driver + ", which is not there, so " +
                PlatformTitle(PlatformCode()) +
                " does not start the adapter; copy it with a line such as 1=.\\NT\\" + driver +
                ",.\\SYSTEM32\\DRIVERS\\" + driver);
    }
}

void Findings::CheckListSizes() {
    const std::vector<std::pair<std::string, std::size_t>> read = ListSectionsRead(PlatformCode());
    for (const auto& [name, capacity] : read) {
        const ListSection section = ReadListSection(run_, layout_, name, capacity);
        if (!section.tooLarge || section.layout == nullptr) continue;
        const bool comments =
            std::any_of(section.lines.begin(), section.lines.end(),
                        [](const auto& l) { return shell_text::IsComment(l.text); });
        Add("section-too-large", Severity::Error, section.layout->number,
            "section [" + name + "] does not fit the program's " + std::to_string(capacity) +
                "-byte buffer (with \"<GROUp>\" replaced): the program skips it whole" +
                (comments ? "; its comment lines count: " + WindowsAgainstWine("comment-lines")
                          : std::string()));
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

bool Findings::HasOneCharacterKey(const NumberedLine& line, Severity severity, const char* what) {
    if (line.text.size() <= 2 || line.text[1] == '=') return true;  // nothing to read after a key
    Add("key-not-one-character", severity, line.number,
        "the line's key is not one character: the program takes " + std::string(what) +
            " from the line's third character on, " + Quoted(shell_text::ValueAfterKey(line.text)) +
            "; write 1=" + std::string(ShortcutValue(line.text)));
    return false;
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
        const bool made = ParseShortcutEntry(ctx, value, record, groupFile, groupName);
        const std::vector<std::string_view> fields = ShortcutFields(value);
        if (GroupNameSplits(line.written)) {
            std::string read = "line " + std::to_string(line.number) + " reads ";
            for (std::size_t i = 0; i < fields.size(); ++i) {
                static const char* const kNames[] = {"the program ", "the group ", "the title "};
                read += (i == 0                   ? ""
                         : i + 1 == fields.size() ? " and "
                                                  : ", ") +
                        std::string(kNames[i]) + Quoted(fields[i]);
            }
            commaSplits_.push_back(
                {line.number, read + (made ? std::string()
                                           : ", and its shortcut is not made: " +
                                                 ShortcutProblem(ctx.windowsDirText, value))});
            continue;
        }
        if (!made) {
            Add("shortcut-dropped", Severity::Error, line.number,
                "the shortcut is not made: " + ShortcutProblem(ctx.windowsDirText, value));
            continue;
        }
        if (++taken > kMaxShortcuts) {
            Add("shortcut-dropped", Severity::Error, line.number,
                "more than " + std::to_string(kMaxShortcuts) +
                    " shortcuts: the program makes the first " + std::to_string(kMaxShortcuts) +
                    " and drops this one and the rest");
            continue;
        }
        if (fields[1].size() < kStartupGroup.size() &&
            StartsWithIgnoringCase(kStartupGroup, 0, fields[1])) {
            Add("startup-group", Severity::Warning, line.number,
                "the group " + Quoted(fields[1]) +
                    " is taken as the Startup group (the program compares the field with "
                    "\"Startup\" over the field's own length): the shortcut's program starts at "
                    "every log-on; write the group's whole name");
        }
        CheckShortcutTarget(line, fields[0]);
    }
}

void Findings::CheckShortcutTarget(const NumberedLine& line, std::string_view program) {
    // A group name that no path can hold is reported on its own line.
    if (HoldsPlaceholder(line.written) &&
        RefusedCharacter(run_.Context().groupName, "/:*?\"<>|") != '\0')
        return;
    const std::string target = shell_text::JoinPath(run_.Context().windowsDirText, program);
    if (IsAbsolute(program) || program.substr(0, 1) == "\\") {
        Add("shortcut-target", Severity::Error, line.number,
            "the shortcut's program " + Quoted(program) +
                " is joined to the Windows directory: the shortcut points at " + Quoted(target) +
                ", which cannot exist; write a path below the Windows directory (such as "
                "HELP\\README.TXT) and copy the file there with a driver line");
    } else if (!run_.Sim().Exists(target)) {
        Add("target-missing", Severity::Warning, line.number,
            "the shortcut's program " + Quoted(target) +
                " is not on the machine after the install" + WhereInstalled(target) +
                ": the shortcut points at a missing file");
    }
}

void Findings::CheckPrograms() {
    const std::optional<ListSection> section = ShellSection(shell_text::section_family::kExecute);
    if (!section) return;
    const std::string& workingDirectory = run_.Context().shell.workingDirectory;
    std::size_t taken = 0;  // the command lines the program takes, in order
    for (const NumberedLine& line : section->lines) {
        if (shell_text::IsComment(line.text)) continue;
        const std::string_view program = shell_text::ValueAfterKey(line.text);
        if (program.empty()) continue;
        if (!HasOneCharacterKey(line, Severity::Error, "the command line")) continue;
        const std::string commandLine = shell_text::JoinPath(workingDirectory, program);
        if (!Fits(commandLine, shell_capacity::kCommandLine)) {
            Add("command-too-long", Severity::Error, line.number,
                "the command line " + Quoted(commandLine) + " is " +
                    std::to_string(commandLine.size()) + " bytes, over the " +
                    std::to_string(shell_capacity::kCommandLine - 1) +
                    " the program takes: the program is not started");
        } else if (++taken > kMaxPrograms) {
            Add("too-many-programs", Severity::Error, line.number,
                "the program is not started: the program starts the first " +
                    std::to_string(kMaxPrograms) + " programs only");
        } else if (StartedFile(commandLine, run_.Sim()).empty()) {
            std::string file = commandLine.substr(0, commandLine.find(' '));
            if (file.find('.', file.rfind('\\') + 1) == std::string::npos) file += ".EXE";
            Add("exec-missing", Severity::Warning, line.number,
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
        if (!HasOneCharacterKey(line, Severity::Warning, "the file's name")) continue;
        const std::string path = shell_text::JoinPath(run_.Context().windowsDirText,
                                                      shell_text::ValueAfterKey(line.text));
        if (!Fits(path, shell_capacity::kExtraFilePath)) {
            Add("path-too-long", Severity::Error, line.number,
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
    const ListSection section = ReadListSection(run_, layout_, script_names::kUninstall,
                                                script_capacity::kUninstallSection);
    if (section.tooLarge || section.lines.empty()) return;
    const NumberedLine& first = section.lines.front();
    if (shell_text::IsComment(first.text)) {
        if (section.lines.size() > 1) {
            Add("uninstall-comment", Severity::Warning, first.number,
                "the first line of [UnInstall] is a comment: the program registers no uninstall "
                "program and never reads line " +
                    std::to_string(section.lines[1].number) + ": " +
                    WindowsAgainstWine("comment-lines"));
        }
        return;
    }
    if (!HasOneCharacterKey(first, Severity::Error, "the uninstall program's name")) return;
    if (!command) {
        const std::string program =
            shell_text::JoinPath(ctx.windowsDirText, shell_text::ValueAfterKey(first.text));
        const ProfileLine* groupLine = DisplayLine(script_names::kGroupName);
        if (!Fits(program, shell_capacity::kUninstallProgram)) {
            Add("path-too-long", Severity::Error, first.number,
                "the uninstall program's path " + Quoted(program) + " is " +
                    std::to_string(program.size()) + " bytes, over the " +
                    std::to_string(shell_capacity::kUninstallProgram - 1) +
                    " the program takes: no uninstall entry is made");
        } else if (!Fits(entry, shell_capacity::kUninstallEntryKey) && groupLine != nullptr) {
            const std::size_t most =
                shell_capacity::kUninstallEntryKey - 2 - std::string_view(kUninstallKey).size();
            Add("group-name", Severity::Error, groupLine->number,
                "GroupName is " + std::to_string(ctx.groupName.size()) +
                    " bytes: the uninstall entry takes a name of at most " + std::to_string(most) +
                    ", so no uninstall entry is made; write a shorter group name");
        }
        return;
    }
    const std::string program = UninstallProgramOf(*command);
    if (!program.empty() && !run_.Sim().Exists(program)) {
        Add("target-missing", Severity::Warning, first.number,
            "the uninstall program " + Quoted(program) +
                " is not on the machine after the install" + WhereInstalled(program) +
                ": the uninstall entry names a missing file");
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
            Add("modify-list", Severity::Warning, line,
                "no [Modify] entries: the install stops on message 49 until the user presses "
                "OK, in the silent mode too, and CONFIG.SYS keeps every line");
        } else if (box.text == tooLarge) {
            Add("modify-list", Severity::Error, line,
                "the [Modify] entries do not fit the editor's " +
                    std::to_string(kModifyListCapacity) +
                    "-byte list: the program shows message 48 and CONFIG.SYS keeps every line");
        }
    }
}

void Findings::ReportCommaSplits() {
    const ProfileLine* groupLine = DisplayLine(script_names::kGroupName);
    if (commaSplits_.empty() || groupLine == nullptr) return;
    std::vector<int> touched;
    std::string read;
    for (const auto& [line, what] : commaSplits_) {
        touched.push_back(line);
        read += (read.empty() ? "" : "; ") + what;
    }
    Add("group-name-comma", Severity::Error, groupLine->number,
        "GroupName " + Quoted(run_.Context().groupName) +
            " holds \",\", which splits the fields of each line it is put into: " + read +
            "; write the group name without commas");
    found_.back().touches = std::move(touched);
}

void Findings::CheckVersionDifferences() {
    for (Finding& finding : VersionDifferenceFindings(run_.Sim().VersionDifferencesMet(),
                                                      ScriptPathOf(run_), Host())) {
        finding.rule = "version-difference";
        found_.push_back(std::move(finding));
    }
}

std::vector<Finding> Findings::Gather() {
    if (run_.ScriptBytes().empty() && !run_.Sim().Exists(ScriptPathOf(run_))) {
        Add("script-missing", Severity::Error, 0,
            "there is no SETUP32.INI in the medium: Start shows that the setup script cannot be "
            "found (message 50), the program changes nothing and ends with exit code 2");
    }
    CheckNames();
    CheckDisplaySection(CheckByteOrderMark());
    CheckText();
    CheckDisplayValues();
    CheckModify();
    CheckDeviceIds();
    CheckDriverLines();
    CheckPlatformInstalls();
    CheckMiniport();
    CheckListSizes();
    CheckShortcuts();
    CheckPrograms();
    CheckExtraFiles();
    CheckUninstall();
    CheckBoxes();
    CheckVersionDifferences();
    ReportCommaSplits();
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
