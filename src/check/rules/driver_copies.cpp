#include "check/rules/driver_copies.h"

#include <algorithm>
#include <set>
#include <utility>

#include "check/rules/run_script.h"
#include "check/script_rules.h"

namespace setup32::check {

std::optional<std::uint32_t> LastCopyError(DryRun& run, const CCopyListItem& item) {
    const std::vector<CopyAttempt> copies = run.Copies();
    const auto last = std::find_if(copies.rbegin(), copies.rend(), [&](const CopyAttempt& c) {
        return c.source == item.source && c.destination == item.destination;
    });
    if (last == copies.rend()) return std::nullopt;
    return last->error;
}

std::vector<DriverLine> WellFormedDriverLines(RunFacts& facts) {
    std::vector<DriverLine> lines = ReadDriverLines(facts.run, facts.layout);
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const DriverLine& line) { return line.parseCode != 0; }),
                lines.end());
    return lines;
}

std::vector<DriverLine> JudgedDriverLines(RunFacts& facts) {
    std::set<std::pair<std::string, std::string>> copiesSeen;
    std::vector<DriverLine> judged;
    for (DriverLine& line : WellFormedDriverLines(facts)) {
        if (GroupNameSplits(facts, line.written.substr(0, line.written.find(',')))) continue;
        if (!copiesSeen.insert({line.item.source, line.item.destination}).second) continue;
        judged.push_back(std::move(line));
    }
    return judged;
}

bool WrittenWithSlash(const DriverLine& line) {
    return line.item.destination.find('/') != std::string::npos &&
           line.written.find('/') != std::string::npos;
}

InstallingLine InstalledBy(RunFacts& facts, std::string_view path) {
    const std::string name = UpperAscii(path.substr(path.rfind('\\') + 1));
    for (const DriverLine& line : WellFormedDriverLines(facts)) {
        const std::string& written = line.item.destination;
        const std::string destination = UpperAscii(WithBackslashes(written));
        const bool samePath = destination == UpperAscii(path);
        if (!samePath && destination.substr(destination.rfind('\\') + 1) != name) continue;
        if (LastCopyError(facts.run, line.item) != 0u) {
            return {line.number, true,
                    " (its copy on line " + std::to_string(line.number) + ", to " +
                        Quoted(written) + ", fails)"};
        }
        return {line.number, false,
                samePath ? std::string()
                         : " (line " + std::to_string(line.number) + " copies it to " +
                               Quoted(written) + " instead)"};
    }
    return {0, false, " (no driver line copies it)"};
}

std::string WhereInstalled(RunFacts& facts, std::string_view path) {
    return InstalledBy(facts, path).where;
}

}  // namespace setup32::check
