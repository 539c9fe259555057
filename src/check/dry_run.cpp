#include "check/dry_run.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "check/default_machine.h"
#include "messages/messages.h"
#include "platform/sim/sim_profile.h"
#include "platform/windows_versions.h"
#include "state/script.h"
#include "sysconfig/sysconfig.h"

namespace setup32::check {
namespace fs = std::filesystem;
namespace mb = platform::mb;

namespace {

constexpr const char* kProgramName = "SETUP32.EXE";
// Spelled as Windows itself creates the key; names compare without case.
constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// The device the adapter is found as when its driver is installed already.
constexpr const char* kAdapterInstance = "6E02\\BUS_00&DEV_0D&FUNC_00";
// The times a failed copy is tried again when the answer is Yes, before
// the user gives up: the same file does not appear by asking again.
constexpr int kRetriesPerFile = 1;

const platform::WindowsVersion& VersionOf(const PlatformInfo& platform) {
    return platform::WindowsVersionLike(platform.version);
}

bool IsNt(const PlatformInfo& platform) {
    return VersionOf(platform).IsNtFamily();
}

// "X:\..." with a letter: the drive letter, upper case.
char DriveOf(const std::string& windowsPath) {
    if (windowsPath.size() < 3 || !std::isalpha(static_cast<unsigned char>(windowsPath[0])) ||
        windowsPath[1] != ':' || windowsPath[2] != '\\') {
        return 0;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(windowsPath[0])));
}

std::string RegString(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

// A folder of the table of Windows versions on the machine whose Windows
// directory is `windowsDir`: a leading %windir% is that directory, a
// leading %systemdrive% its drive.
std::string InWindowsOf(std::string_view folder, const std::string& windowsDir) {
    constexpr std::string_view kWindir = "%windir%";
    constexpr std::string_view kSystemDrive = "%systemdrive%";
    if (folder.substr(0, kWindir.size()) == kWindir)
        return windowsDir + std::string(folder.substr(kWindir.size()));
    if (folder.substr(0, kSystemDrive.size()) == kSystemDrive)
        return windowsDir.substr(0, 2) + std::string(folder.substr(kSystemDrive.size()));
    return std::string(folder);
}

// The pieces of `list` between its semicolons.
std::vector<std::string> SemicolonList(std::string_view list) {
    std::vector<std::string> pieces;
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find(';', start), list.size());
        pieces.emplace_back(list.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

// The profile folders of the version: where its Start menu lives.
struct ProfileFolders {
    std::string user;    // the user's Start Menu
    std::string common;  // all users' Start Menu; empty on Windows 9x
};

ProfileFolders ProfileFoldersOf(const PlatformInfo& platform, const std::string& windowsDir) {
    const platform::WindowsVersion& version = VersionOf(platform);
    return {InWindowsOf(version.startMenu, windowsDir),
            InWindowsOf(version.commonStartMenu, windowsDir)};
}

// The Shell Folders values and, on Windows 9x, the adapter's enumeration key.
std::string BuiltInRegistry(const PlatformInfo& platform, const ProfileFolders& folders) {
    std::string text =
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + std::string(kShellFolders) + "]\r\n";
    text += "\"Start Menu\"=" + RegString(folders.user) + "\r\n";
    text += "\"Programs\"=" + RegString(folders.user + "\\Programs") + "\r\n";
    text += "\"Startup\"=" + RegString(folders.user + "\\Programs\\StartUp") + "\r\n\r\n";
    if (!folders.common.empty()) {
        text += "[HKEY_LOCAL_MACHINE\\" + std::string(kShellFolders) + "]\r\n";
        text += "\"Common Programs\"=" + RegString(folders.common + "\\Programs") + "\r\n";
        text += "\"Common Startup\"=" + RegString(folders.common + "\\Programs\\Startup") + "\r\n";
    }
    if (!IsNt(platform)) {
        text += "[HKEY_LOCAL_MACHINE\\" + std::string(kAdapterEnumKeyPrefix) + kAdapterInstance +
                "]\r\n\"DeviceDesc\"=\"PCI SCSI host adapter\"\r\n";
    }
    return text;
}

std::string HostFileBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string OrDefault(const std::string& given, const std::string& fallback) {
    return given.empty() ? fallback : given;
}

}  // namespace

VersionedMachine::VersionedMachine(const PlatformInfo& platform, const LanguageInfo& language) {
    sim.SetVersion(platform.version);
    sim.SetLcid(language.lcid);
}

DryRun::DryRun(const CheckOptions& options, const MediumListing& medium,
               const PlatformInfo& platform, const LanguageInfo& language, std::string& whyNot)
    : platform_(platform),
      language_(language),
      retry_(options.retry),
      startDir_(OrDefault(options.startDir, DefaultMachine(VersionOf(platform)).startDir)),
      windowsDir_(OrDefault(options.windowsDir, DefaultMachine(VersionOf(platform)).windowsDir)),
      machineOf_(platform, language),
      sim_(machineOf_.sim),
      app_(sim_.machine(), kProgramName) {
    if (DriveOf(windowsDir_) != 'C') {
        whyNot = "the Windows directory must be on drive C:, as CONFIG.SYS is: " + windowsDir_;
        return;
    }
    if (!PlaceMedium(medium, whyNot)) return;
    LayOutWindows(options);
    if (options.registry && !sim_.LoadRegistry(*options.registry)) {
        whyNot = "the registry file is not REGEDIT4 text the machine can load";
        return;
    }
    ready_ = true;
}

bool DryRun::PlaceMedium(const MediumListing& medium, std::string& whyNot) {
    const char drive = DriveOf(startDir_);
    if (drive == 0) {
        whyNot =
            "the start directory must be a Windows path such as D:\\ or C:\\DRIVERS: " + startDir_;
        return false;
    }
    for (const char letter : {'C', drive}) {
        const fs::path host = root_.path() / std::string(1, letter);
        std::error_code error;
        fs::create_directories(host, error);
        sim_.MapDrive(letter, host);
    }
    if (!CopyMedium(medium, sim_.HostPath(startDir_), language_.codePage, unconverted_, whyNot)) {
        return false;
    }
    sim_.SetCurrentDirectory(startDir_);
    // The text rules read what the run's profile calls read: on 2000 a
    // UTF-16 script in the ANSI code page, elsewhere its bytes.
    script_ = platform::sim::ProfileText(
        sim_.ReadFile(ScriptPath(startDir_, kScriptName)).value_or(""), &sim_.machine().host);
    return true;
}

void DryRun::ReplaceScript(std::string bytes) {
    sim_.WriteFile(ScriptPath(startDir_, kScriptName), bytes);
    script_ = std::move(bytes);
}

void DryRun::LayOutWindows(const CheckOptions& options) {
    const ProfileFolders folders = ProfileFoldersOf(platform_, windowsDir_);
    std::error_code error;
    for (const std::string& directory : SemicolonList(VersionOf(platform_).windowsFolders)) {
        fs::create_directories(sim_.HostPath(windowsDir_ + "\\" + directory), error);
    }
    for (const std::string& menu : {folders.user, folders.common}) {
        if (!menu.empty())
            fs::create_directories(sim_.HostPath(menu + "\\Programs\\StartUp"), error);
    }
    sim_.SetWindowsDirectory(windowsDir_);
    if (!IsNt(platform_)) {
        for (const char* file : kDriverDatabaseFiles) {
            sim_.WriteFile(windowsDir_ + "\\INF\\" + file, "driver database");
        }
    }
    if (!options.withoutConfigSys)
        sim_.WriteFile(kConfigSysPath,
                       options.configSys.value_or(DefaultMachine(VersionOf(platform_)).configSys));
    sim_.LoadRegistry(BuiltInRegistry(platform_, folders));
}

int DryRun::AnswerBox(const platform::sim::BoxRecord& box) {
    if ((box.type & 0x0F) != mb::kYesNo) return mb::kIdOk;
    const setup32::Language language = LanguageFromLcid(language_.lcid);
    if (box.text == MsgText(language, 43)) return mb::kIdNo;  // the restart question
    if (retry_ == RetryAnswer::No) return mb::kIdNo;
    return retriesAnswered_[box.text]++ < kRetriesPerFile ? mb::kIdYes : mb::kIdNo;
}

void DryRun::Run() {
    configBefore_ = sim_.ReadFile(kConfigSysPath).value_or("");
    registryBefore_ = sim_.SaveRegistry();
    filesBefore_ = SnapshotFiles();
    sim_.AnswerBoxesWith([this](const platform::sim::BoxRecord& box) { return AnswerBox(box); });
    sim_.OnNextModal([this](platform::sim::SimDialogView& view, platform::DialogHandler& dialog) {
        // The main dialog waits: Start, as the user would press it. After a
        // silent install that was abandoned it waits too, and is closed.
        shown_ = static_cast<CSetupDlg&>(dialog).Fields().showMain == 1;
        if (shown_) {
            dialog.OnOK(view);
        } else {
            view.End(dialog_ids::kCancel);
        }
    });
    app_.InitInstance();
    registryAfter_ = sim_.SaveRegistry();
    filesAfter_ = SnapshotFiles();
}

std::vector<CopyAttempt> DryRun::Copies() const {
    const std::string_view copyFile = platform::sim::NameOf(platform::sim::Call::CopyFileA);
    std::vector<CopyAttempt> copies;
    for (const platform::sim::Event& event : sim_.Events()) {
        if (event.call == copyFile) copies.push_back({event.paths[0], event.paths[1], event.error});
    }
    return copies;
}

std::vector<DirectoryAttempt> DryRun::Directories() const {
    const std::string_view createDirectory =
        platform::sim::NameOf(platform::sim::Call::CreateDirectoryA);
    std::vector<DirectoryAttempt> directories;
    for (const platform::sim::Event& event : sim_.Events()) {
        if (event.call == createDirectory) directories.push_back({event.paths[0], event.error});
    }
    return directories;
}

FileSnapshot DryRun::SnapshotFiles() const {
    FileSnapshot snapshot;
    std::error_code error;
    for (fs::recursive_directory_iterator it(root_.path(), error), end; !error && it != end;
         it.increment(error)) {
        if (!it->is_regular_file(error)) continue;
        const fs::path relative = it->path().lexically_relative(root_.path());
        std::string windowsPath;
        for (const fs::path& part : relative) {
            windowsPath += windowsPath.empty() ? part.string() + ":" : "\\" + part.string();
        }
        snapshot[windowsPath] = HostFileBytes(it->path());
    }
    return snapshot;
}

}  // namespace setup32::check
