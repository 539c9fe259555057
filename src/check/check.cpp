#include "check/check.h"

#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "check/dry_run.h"
#include "check/medium.h"
#include "check/plan.h"
#include "check/profile_layout.h"
#include "check/rules/rule.h"
#include "check/script_reading.h"
#include "check/text_encoding.h"
#include "platform/sim/sim_machine.h"
#include "platform/windows_versions.h"
#include "state/ascii_text.h"
#include "state/context.h"

namespace setup32::check {
namespace {

// Where the host keeps files in memory, when it does.
constexpr const char* kMemoryFileSystem = "/dev/shm";
// Room kept free there beside a dry run's files.
constexpr std::uintmax_t kMemoryHeadroom = 16 * 1024 * 1024;

// What a 1.44 MB disk holds for files: 2847 clusters of 512 bytes, each
// file and each folder taking whole clusters.
constexpr std::uintmax_t kFloppyCluster = 512;
constexpr std::uintmax_t kFloppyClusters = 2847;

std::uintmax_t Clusters(std::uintmax_t bytes) {
    return (bytes + kFloppyCluster - 1) / kFloppyCluster;
}

bool IsShortName(const std::string& name) {
    const std::size_t dot = name.find('.');
    const std::string stem = name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    const auto plain = [](const std::string& part) {
        return std::all_of(part.begin(), part.end(), [](unsigned char c) {
            return c > 0x20 && c < 0x7F &&
                   std::string_view("\"*+,./:;<=>?[\\]| ").find(static_cast<char>(c)) ==
                       std::string_view::npos;
        });
    };
    return !stem.empty() && stem.size() <= 8 && extension.size() <= 3 && plain(stem) &&
           plain(extension);
}

std::vector<Finding> FloppyFindings(const MediumListing& medium) {
    std::vector<Finding> found;
    std::uintmax_t clusters = medium.directories.size();
    for (const std::filesystem::path& file : medium.files) {
        std::error_code error;
        clusters += Clusters(std::filesystem::file_size(medium.root / file, error));
    }
    if (clusters > kFloppyClusters) {
        found.push_back({Severity::Error, 0,
                         "the medium needs " + std::to_string(clusters * kFloppyCluster) +
                             " bytes on a floppy disk; a 1.44 MB disk holds " +
                             std::to_string(kFloppyClusters * kFloppyCluster),
                         "floppy-size"});
    }
    std::vector<std::filesystem::path> names = medium.directories;
    names.insert(names.end(), medium.files.begin(), medium.files.end());
    for (const std::filesystem::path& path : names) {
        if (!IsShortName(path.filename().string())) {
            std::string name = path.generic_string();
            std::replace(name.begin(), name.end(), '/', '\\');
            found.push_back({Severity::Warning, 0,
                             "\"" + ToUtf8(name, 1252) +
                                 "\" is not an 8.3 name: a disk written without long names "
                                 "gives it another one, and the script's line no longer finds it",
                             "floppy-name"});
        }
    }
    return found;
}

// The findings every run has, taken out of the runs.
std::vector<Finding> HoistCommon(std::vector<RunResult>& runs) {
    std::vector<Finding> common;
    if (runs.size() < 2) return common;
    for (const Finding& finding : runs.front().findings) {
        const bool everywhere =
            std::all_of(runs.begin(), runs.end(), [&finding](const RunResult& run) {
                return std::find(run.findings.begin(), run.findings.end(), finding) !=
                       run.findings.end();
            });
        if (everywhere) common.push_back(finding);
    }
    for (RunResult& run : runs) {
        auto& findings = run.findings;
        findings.erase(std::remove_if(findings.begin(), findings.end(),
                                      [&common](const Finding& f) {
                                          return std::find(common.begin(), common.end(), f) !=
                                                 common.end();
                                      }),
                       findings.end());
    }
    return common;
}

// A SETUP32.INI that no run can read as a script: a directory (the program
// takes it for a missing script), or a file too large to be one.
bool ScriptUnusable(const MediumListing& medium, std::string& whyNot) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(medium.root, error), end; !error && it != end;
         it.increment(error)) {
        const std::filesystem::directory_entry& entry = *it;
        if (!EqualsIgnoringCase(entry.path().filename().string(), kScriptName)) continue;
        std::error_code statError;
        if (entry.is_directory(statError)) {
            whyNot =
                "SETUP32.INI is a directory, not a file: setup32.exe takes it for a missing "
                "script (message 50, exit code 2) and installs nothing";
            return true;
        }
        const std::uintmax_t size =
            entry.is_regular_file(statError) ? entry.file_size(statError) : 0;
        if (!statError && size > kLargestScript) {
            whyNot = "SETUP32.INI is " + std::to_string(size) + " bytes, over " +
                     std::to_string(kLargestScript) + ": that is no setup script";
            return true;
        }
    }
    return false;
}

std::uintmax_t FreeBytes(const char* directory) {
    struct statvfs space {};
    if (statvfs(directory, &space) != 0) return 0;
    return static_cast<std::uintmax_t>(space.f_bavail) * space.f_frsize;
}

}  // namespace

void PreferMemoryForScratch(const std::filesystem::path& medium) {
    if (std::getenv("TMPDIR") != nullptr || access(kMemoryFileSystem, W_OK | X_OK) != 0) return;
    MediumListing listing;
    std::string whyNot;
    if (!ListMedium(medium, listing, whyNot)) return;
    if (FreeBytes(kMemoryFileSystem) >= 2 * listing.bytes + kMemoryHeadroom)
        setenv("TMPDIR", kMemoryFileSystem, 0);
}

const std::vector<PlatformInfo>& Platforms() {
    static const std::vector<PlatformInfo> platforms = [] {
        std::vector<PlatformInfo> all;
        for (const platform::WindowsVersion& version : platform::kWindowsVersions) {
            all.push_back({version.id.data(), version.name.data(), version.getVersion});
        }
        return all;
    }();
    return platforms;
}

const std::vector<LanguageInfo>& Languages() {
    static const std::vector<LanguageInfo> languages = {
        {"en", "English", 0x0409, 1252},
        {"zh", "Traditional Chinese", 0x0404, 950},
        {"ja", "Japanese", 0x0411, 932},
    };
    return languages;
}

const char* SeverityName(Severity severity) {
    switch (severity) {
        case Severity::Error:
            return "error";
        case Severity::Warning:
            return "warning";
        case Severity::Note:
            break;
    }
    return "note";
}

bool operator==(const Finding& a, const Finding& b) {
    return a.severity == b.severity && a.line == b.line && a.message == b.message &&
           a.rule == b.rule && a.touches == b.touches;
}

std::optional<CheckResult> CheckMedium(const CheckOptions& options, std::string& whyNot) {
    MediumListing medium;
    if (!ListMedium(options.medium, medium, whyNot) || ScriptUnusable(medium, whyNot)) {
        return std::nullopt;
    }
    CheckResult result;
    for (const PlatformInfo& platform : options.platforms) {
        for (const LanguageInfo& language : options.languages) {
            DryRun run(options, medium, platform, language, whyNot);
            if (!run.Ready()) return std::nullopt;
            run.Run();
            const std::vector<ProfileSection> layout =
                ReadProfileLayout(run.ScriptBytes(), &run.Sim().machine().host);
            Plan plan = PlanOf(run, layout);
            RunFacts facts{run, layout, plan};
            std::vector<Finding> findings = RunRuleFindings(facts);
            for (const std::string& name : run.UnconvertedNames())
                findings.insert(findings.begin(),
                                {Severity::Warning, 0, name, "name-not-in-code-page"});
            ScriptReading script = ReadScript(run, layout, plan);
            std::optional<WineReading> wine =
                ReadAsWine(options, medium, run, layout, script, whyNot);
            if (!wine) return std::nullopt;
            result.runs.push_back({platform, language, std::move(plan), std::move(findings),
                                   std::move(script), std::move(*wine)});
        }
    }
    AddCrossRunFindings(result.runs);
    result.common = HoistCommon(result.runs);
    for (const std::string& problem : medium.problems) {
        result.common.push_back({Severity::Warning, 0, problem, "medium-file"});
    }
    if (options.floppy) {
        for (Finding& finding : FloppyFindings(medium)) result.common.push_back(std::move(finding));
    }
    return result;
}

int ExitStatus(const CheckResult& result) {
    bool warnings = false;
    const auto scan = [&warnings](const std::vector<Finding>& findings) {
        for (const Finding& finding : findings) {
            if (finding.severity == Severity::Error) return true;
            warnings = warnings || finding.severity == Severity::Warning;
        }
        return false;
    };
    if (scan(result.common)) return 2;
    for (const RunResult& run : result.runs) {
        if (scan(run.findings)) return 2;
    }
    return warnings ? 1 : 0;
}

}  // namespace setup32::check
