// One install on a fresh simulated machine: the Windows version and locale
// of one platform and language, that version's usual layout, a copy of the
// medium as the start directory, and the program's own objects driven as a
// user would drive them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/setup_app.h"
#include "check/check.h"
#include "check/medium.h"
#include "messages/messages.h"
#include "platform/sim/sim_machine.h"
#include "platform/sim/temp_directory.h"

namespace setup32::check {

// A copy the program asked for, and its outcome.
struct CopyAttempt {
    std::string source;
    std::string destination;
    std::uint32_t error;  // 0: copied
};

// A directory the program asked to create, and the outcome.
struct DirectoryAttempt {
    std::string path;
    std::uint32_t error;  // 0: created
};

// Host files below the machine's drives: Windows path -> bytes.
using FileSnapshot = std::map<std::string, std::string>;

// A simulated machine set to the platform's version and the language's
// locale before anything that reads them (the program's objects) is made.
struct VersionedMachine {
    VersionedMachine(const PlatformInfo& platform, const LanguageInfo& language);
    platform::sim::SimMachine sim;
};

class DryRun {
  public:
    // Lays out the machine; Ready() is false, with the reason in
    // `whyNot`, when the medium could not be copied onto it.
    DryRun(const CheckOptions& options, const MediumListing& medium, const PlatformInfo& platform,
           const LanguageInfo& language, std::string& whyNot);
    DryRun(const DryRun&) = delete;
    DryRun& operator=(const DryRun&) = delete;

    bool Ready() const { return ready_; }
    // Puts `bytes` in place of the medium's script; before Run().
    void ReplaceScript(std::string bytes);
    // Runs the program: the main dialog, Start when it waits for it, the
    // boxes answered as the options say.
    void Run();

    platform::sim::SimMachine& Sim() { return sim_; }
    // The program's run-wide state after the run, on the recording machine.
    SetupContext& Context() { return app_.Context(); }
    // The copies and directory creations the program asked for, in order.
    std::vector<CopyAttempt> Copies() const;
    std::vector<DirectoryAttempt> Directories() const;
    const PlatformInfo& Platform() const { return platform_; }
    // The program's platform code of the run's Windows version.
    int OsKind() const { return OsKindFromVersion(platform_.version); }
    const LanguageInfo& Language() const { return language_; }
    const std::string& StartDir() const { return startDir_; }
    const std::string& WindowsDir() const { return windowsDir_; }
    // The script as the run's profile calls read it (ProfileText).
    const std::string& ScriptBytes() const { return script_; }
    bool ShownMode() const { return shown_; }
    // The code setup32.exe ends with, once the run is over.
    ExitCode Outcome() const { return app_.Outcome(); }
    // The medium's names that could not be given in the run's code page.
    const std::vector<std::string>& UnconvertedNames() const { return unconverted_; }

    const std::string& ConfigSysBefore() const { return configBefore_; }
    const std::string& RegistryBefore() const { return registryBefore_; }
    const std::string& RegistryAfter() const { return registryAfter_; }
    const FileSnapshot& FilesBefore() const { return filesBefore_; }
    const FileSnapshot& FilesAfter() const { return filesAfter_; }

  private:
    bool PlaceMedium(const MediumListing& medium, std::string& whyNot);
    void LayOutWindows(const CheckOptions& options);
    int AnswerBox(const platform::sim::BoxRecord& box);
    FileSnapshot SnapshotFiles() const;

    PlatformInfo platform_;
    LanguageInfo language_;
    RetryAnswer retry_;
    std::string startDir_;
    std::string windowsDir_;
    std::string script_;
    platform::sim::TempDirectory root_{"setup32-check"};
    VersionedMachine machineOf_;
    platform::sim::SimMachine& sim_;
    CSetupApp app_;
    std::map<std::string, int> retriesAnswered_;
    bool ready_ = false;
    bool shown_ = false;
    std::vector<std::string> unconverted_;
    std::string configBefore_;
    std::string registryBefore_;
    std::string registryAfter_;
    FileSnapshot filesBefore_;
    FileSnapshot filesAfter_;
};

}  // namespace setup32::check
