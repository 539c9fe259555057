// The vendor's checker: runs the setup's own install sequence on a fresh
// simulated machine for each Windows version and language asked for, with a
// copy of the medium as the start directory, and reports what the install
// did and what in the script will not work as the vendor meant it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace setup32::check {

struct PlatformInfo {
    const char* name;   // as the command line names it: "win95"
    const char* title;  // "Windows 95"
    std::uint32_t version;
};

struct LanguageInfo {
    const char* name;   // "en"
    const char* title;  // "English"
    std::uint32_t lcid;
    unsigned codePage;
};

// The four platforms and three languages, in their usual order.
const std::vector<PlatformInfo>& Platforms();
const std::vector<LanguageInfo>& Languages();

enum class Severity { Error, Warning, Note };
const char* SeverityName(Severity severity);

struct Finding {
    Severity severity;
    int line;                       // SETUP32.INI line number of the cause; 0 when none applies
    std::string message;            // UTF-8
    std::string rule = {};          // the id of the rule that gives it: "dest-overwritten"
    std::vector<int> touches = {};  // the other lines the cause shows on, in order
};

bool operator==(const Finding& a, const Finding& b);

enum class RetryAnswer { No, Yes };

struct CheckOptions {
    std::filesystem::path medium;
    std::vector<PlatformInfo> platforms;
    std::vector<LanguageInfo> languages;
    // Each of these three not given is that of the run's version's default
    // machine (DefaultMachine()); a start or Windows directory given holds
    // for every version.
    std::optional<std::string> configSys;  // the bytes of C:\CONFIG.SYS before the install
    std::string startDir;                  // where the medium is: "A:\", "D:\SETUP"
    std::string windowsDir;                // "C:\WINDOWS"
    bool withoutConfigSys = false;         // the machine has no C:\CONFIG.SYS at all
    std::optional<std::string> registry;   // REGEDIT4 text loaded before the run
    RetryAnswer retry = RetryAnswer::No;
    bool floppy = false;  // the medium is a 1.44 MB disk: its size and names are checked
};

// Every text of a plan is UTF-8, converted from the run's code page.
struct CopyRecord {
    std::string source;
    std::string destination;
    std::uintmax_t bytes = 0;  // of the source, when there is one
    std::uint32_t error = 0;   // 0: copied
    int line = 0;
    // The other script lines whose bytes went into the paths: the GroupName
    // line when "<GROUp>" was put in.
    std::vector<int> from = {};
};

struct RegistryChange {
    std::string key;                    // "HKEY_CURRENT_USER\software\Disk Tools"
    std::optional<std::string> value;   // none: the key itself
    std::optional<std::string> before;  // REGEDIT4 data text; none: absent
    std::optional<std::string> after;
};

struct FileChange {
    std::string path;
    std::optional<std::uintmax_t> before;  // bytes; none: absent
    std::optional<std::uintmax_t> after;
};

struct ShortcutPlan {
    std::string group;
    std::string title;
    std::string target;
    int line = 0;                // the ShortCut line that asks for it
    std::vector<int> from = {};  // as in CopyRecord
};

// A program the install starts, and what WinExec answered.
struct ProgramPlan {
    std::string commandLine;
    std::string image;         // the file WinExec found; empty when none
    std::uint32_t answer = 0;  // above 31: started; 2: not found; 11: not a program
    int line = 0;              // the Execute line that asks for it
};

struct BoxPlan {
    std::string caption;
    std::string text;
    std::string answer;  // "OK", "Yes", "No"
};

// A registry value as a REGEDIT4 export writes it: a quoted name or "@",
// and data such as "text" or dword:00000004. In the plan's product key and
// uninstall entry, names and string data are given as the plain text.
struct NamedValue {
    std::string name;
    std::string data;
};

// A place where the run met a difference between Windows versions that its
// source names without saying exactly what those versions do: the run's
// result on them is uncertain.
struct Uncertainty {
    std::string versions;    // "95 98"
    std::string behaviour;   // what the run took those versions to do
    std::string source;      // where the difference is documented
    std::string path;        // the file or registry key it was met in
    std::vector<int> lines;  // the file's lines, in order; empty when none applies
};

struct Plan {
    int exitCode = 0;  // the code setup32.exe ends with
    std::string startDir;
    std::string windowsDir;
    bool silent = false;
    std::vector<CopyRecord> copies;
    std::vector<std::string> directoriesCreated;
    std::vector<RegistryChange> registry;
    std::vector<FileChange> files;  // every file created, changed or deleted
    std::string productKey;         // HKEY_CURRENT_USER\...
    std::vector<NamedValue> productValues;
    std::string uninstallKey;  // HKEY_LOCAL_MACHINE\...; empty when none was written
    std::vector<NamedValue> uninstallValues;
    std::string configBefore;
    std::string configAfter;
    std::vector<std::string> configRemoved;
    std::optional<std::string> groupScript;
    std::vector<ShortcutPlan> shortcuts;
    std::vector<std::string> groups;
    std::vector<ProgramPlan> programs;  // in the order started
    std::vector<BoxPlan> boxes;
    bool restartAsked = false;
    std::vector<Uncertainty> uncertain;
    // The Services key the install wrote for a boot-start driver, with
    // its image as written, and the [Display] lines it comes from.
    struct Service {
        std::string key;
        std::string image;
        std::vector<int> lines;
    };
    std::vector<Service> services;
};

// A line of the run's driver-file sections, parsed as the program parses it.
struct DriverFileLine {
    std::string section;
    int line = 0;
    std::string text;                        // as the program read it, "<GROUp>" replaced
    std::optional<std::string> source;       // resolved; none when the line does not parse
    std::optional<std::string> destination;  // resolved; none when the line does not parse
    bool sourceFound = false;                // the source is a file of the machine
    bool usesGroup = false;                  // the line as written holds "<GROUp>"
};

// A program the run starts, and the file that starting it looks for.
struct ProgramStart {
    int line = 0;  // the Execute line; 0 for the program-group converter
    std::string commandLine;
    std::string file;
    bool found = false;  // the file is there
};

// What the program read of the script in one run, and the names it gave
// from it. Every text is UTF-8.
struct ScriptReading {
    bool found = false;  // the medium has the script
    std::string groupName;
    int groupNameLine = 0;  // the [Display] GroupName line read; 0: the default was taken
    std::vector<std::string> deviceIds;
    bool silent = false;
    std::vector<DriverFileLine> driverFiles;
    std::vector<ProgramStart> programs;
    // What the device clean-up of Windows 95 and 98 removes: an enumeration
    // key (below HKEY_LOCAL_MACHINE) for each device id, and the driver
    // database files.
    std::vector<std::string> deviceKeys;
    std::vector<std::string> driverDatabase;
    std::string productKey;
    std::string uninstallKey;  // empty when the run writes no uninstall entry
};

// A list section of the run that holds comment lines, which Windows returns
// in a section read and Wine leaves out.
struct CommentedSection {
    std::string name;
    int comments = 0;
    std::size_t capacity = 0;           // of the program's buffer for the section
    bool skippedOnWindowsOnly = false;  // with its comment lines it does not fit
    bool firstLineComment = false;
    bool uninstallEntry = false;  // the section is [UnInstall], read for the uninstall entry
};

// The run's script as Wine reads it: past a UTF-8 byte-order mark (the text
// after it taken as UTF-8), and without comment lines in a section read.
struct WineReading {
    ScriptReading script;
    bool byteOrderMark = false;
    std::string hiddenSection;  // the section the mark hides from Windows; empty: none
    std::vector<CommentedSection> commented;
};

struct RunResult {
    PlatformInfo platform;
    LanguageInfo language;
    Plan plan;
    std::vector<Finding> findings;
    ScriptReading script = {};
    WineReading wine = {};
};

struct CheckResult {
    std::vector<Finding> common;  // findings that every run has
    std::vector<RunResult> runs;
};

// No setup script comes near this size; a larger SETUP32.INI is not one.
constexpr std::uintmax_t kLargestScript = 1024 * 1024;

// Checks the medium; none, with the reason in `whyNot`, when the check
// cannot run (the medium is missing or is a file, a copy of it cannot be
// made, its SETUP32.INI is a directory or too large to be a setup script).
std::optional<CheckResult> CheckMedium(const CheckOptions& options, std::string& whyNot);

// Each dry run lays out a machine of a few hundred files and removes it
// again; on a disk most of the check's time is spent waiting for that. So
// the machines go to the memory file system when there is one with room for
// a run (the medium, and what the install copies out of it): TMPDIR is set
// to it, unless the user set TMPDIR.
void PreferMemoryForScratch(const std::filesystem::path& medium);

// 0 nothing found, 1 warnings only, 2 errors.
int ExitStatus(const CheckResult& result);

}  // namespace setup32::check
