#include "check/version_findings.h"

#include <algorithm>

#include "platform/sim/sim_host.h"

namespace setup32::check {
namespace {

using platform::sim::VersionDifference;
using platform::sim::VersionDifferenceMet;

// "95 98" as "Windows 95 and 98"; "NT" as "Windows NT 4.0".
std::string VersionsTitle(std::string_view versions) {
    std::vector<std::string> names;
    for (std::size_t start = 0; start < versions.size();) {
        const std::size_t blank = std::min(versions.find(' ', start), versions.size());
        const std::string_view name = versions.substr(start, blank - start);
        if (!name.empty()) names.emplace_back(name == "NT" ? "NT 4.0" : std::string(name));
        start = blank + 1;
    }
    std::string title = "Windows ";
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) title += i + 1 == names.size() ? " and " : ", ";
        title += names[i];
    }
    return title;
}

struct Meeting {
    std::string id;
    std::string path;
    std::vector<int> lines;  // distinct, in the order met
};

// The meetings of each difference and path, in the order first met.
std::vector<Meeting> GroupMeetings(const std::vector<VersionDifferenceMet>& met,
                                   const platform::HostFacts& host) {
    std::vector<Meeting> meetings;
    for (const VersionDifferenceMet& one : met) {
        auto meeting = std::find_if(meetings.begin(), meetings.end(), [&](const Meeting& m) {
            return m.id == one.id && platform::sim::SameNameOn(host, m.path, one.path);
        });
        if (meeting == meetings.end()) {
            meetings.push_back({one.id, one.path, {}});
            meeting = meetings.end() - 1;
        }
        if (std::find(meeting->lines.begin(), meeting->lines.end(), one.line) ==
            meeting->lines.end()) {
            meeting->lines.push_back(one.line);
        }
    }
    return meetings;
}

}  // namespace

std::vector<RuledFinding> RuledVersionDifferenceFindings(
    const std::vector<VersionDifferenceMet>& met, const std::string& scriptPath,
    const platform::HostFacts& host, const VersionDifferenceLookup& lookup) {
    std::vector<RuledFinding> found;
    for (Meeting& meeting : GroupMeetings(met, host)) {
        const VersionDifference& difference = lookup(meeting.id);
        const bool inScript = platform::sim::SameNameOn(host, meeting.path, scriptPath);
        std::sort(meeting.lines.begin(), meeting.lines.end());
        const int line = inScript ? meeting.lines.front() : 0;
        std::string message =
            "on " + VersionsTitle(difference.versions) + " " + std::string(difference.behaviour);
        if (!inScript) message += " (in \"" + meeting.path + "\")";
        if (inScript && meeting.lines.size() > 1) {
            message += "; the same holds for " + std::to_string(meeting.lines.size() - 1) +
                       " more lines of the script, up to line " +
                       std::to_string(meeting.lines.back());
        }
        if (!difference.certain) {
            message +=
                "; the source says only that these versions differ, so the result "
                "there is uncertain";
        }
        message += " (" + std::string(difference.source) + ")";
        // What the source does not settle may go either way: a warning.
        const Severity severity = difference.certain ? Severity::Error : Severity::Warning;
        found.push_back({difference.id, {severity, line, std::move(message)}});
    }
    return found;
}

std::vector<Finding> VersionDifferenceFindings(const std::vector<VersionDifferenceMet>& met,
                                               const std::string& scriptPath,
                                               const platform::HostFacts& host,
                                               const VersionDifferenceLookup& lookup) {
    std::vector<Finding> found;
    for (RuledFinding& ruled : RuledVersionDifferenceFindings(met, scriptPath, host, lookup))
        found.push_back(std::move(ruled.finding));
    return found;
}

}  // namespace setup32::check
