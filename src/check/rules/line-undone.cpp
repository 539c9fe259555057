// A line whose effect a later step of the same run undoes, as the
// machine's record of calls shows it: a file a driver line copied that the
// program deletes, moves away or writes a file of its own over (its program
// group script, the driver database it clears on Windows 95 and 98, the old
// group files), and the miniport service a [Display] line names that the
// program disables again. Two driver lines onto one destination are
// dest-overwritten's.
#include <algorithm>
#include <map>

#include "check/rules/rule.h"
#include "check/script_view.h"
#include "check/text_encoding.h"
#include "platform/sim/sim_machine.h"
#include "state/script.h"
#include "sysconfig/sysconfig.h"

namespace setup32::check {
namespace {

namespace sim = platform::sim;

// What a later call that is no copy does to a file that is there.
const char* UndoneBy(std::string_view call) {
    if (call == sim::NameOf(sim::Call::DeleteFileA)) return "deletes it";
    if (call == sim::NameOf(sim::Call::MoveFileA)) return "moves it away";
    if (call == sim::NameOf(sim::Call::_lcreat)) return "writes a file of its own over it";
    return nullptr;
}

struct Undone {
    const CopyRecord* copy;
    const char* how;
};

void CheckFilesUndone(RunFacts& facts, RuleFindings& found) {
    const std::string_view copyFile = sim::NameOf(sim::Call::CopyFileA);
    const std::string_view moveFile = sim::NameOf(sim::Call::MoveFileA);
    const unsigned codePage = facts.run.Language().codePage;
    const auto key = [codePage](const std::string& path) {
        return PathKey(ToUtf8(path, codePage));
    };
    std::map<std::string, const CopyRecord*> installed;  // by destination
    std::map<std::string, Undone> undone;                // by destination
    std::size_t copies = 0;  // the plan's copies are the copy calls, in order
    for (const sim::Event& event : facts.run.Sim().Events()) {
        if (event.call == copyFile && copies < facts.plan.copies.size()) {
            const CopyRecord& copy = facts.plan.copies[copies++];
            if (copy.error == 0 && copy.line > 0) installed[PathKey(copy.destination)] = &copy;
            continue;
        }
        const char* how = UndoneBy(event.call);
        if (how == nullptr || event.error != 0 || event.paths.empty()) continue;
        // A file moved aside and another moved into its place (the
        // CONFIG.SYS editor's way) is edited, not undone.
        if (event.call == moveFile && event.paths.size() == 2) undone.erase(key(event.paths[1]));
        const auto it = installed.find(key(event.paths[0]));
        if (it == installed.end()) continue;
        undone.insert({it->first, {it->second, how}});
        installed.erase(it);
    }
    std::vector<Undone> inLineOrder;
    for (const auto& each : undone) inLineOrder.push_back(each.second);
    std::sort(inLineOrder.begin(), inLineOrder.end(),
              [](const Undone& a, const Undone& b) { return a.copy->line < b.copy->line; });
    for (const Undone& each : inLineOrder) {
        found.Add(Severity::Error, each.copy->line,
                  "the line installs " + Quoted(each.copy->destination) +
                      ", and later in the same run the program " + each.how +
                      ": the file of the line is not there after the install; give it a name "
                      "or folder the program does not use for its own files",
                  each.copy->from);
    }
}

// The miniport service written with boot start, which a later write of
// the run sets to another start.
void CheckServiceUndone(RunFacts& facts, RuleFindings& found) {
    const ProfileLine* title = DisplayLineOf(facts.run, facts.layout, script_names::kTitle);
    const ProfileLine* driver = DisplayLineOf(facts.run, facts.layout, script_names::kDriver);
    if (title == nullptr || driver == nullptr) return;
    const std::string key = kServicesKey + title->value;
    const std::string start = "HKEY_LOCAL_MACHINE\\" + key + " Start";
    int writes = 0;
    for (const sim::Event& event : facts.run.Sim().Events()) {
        if (event.call == sim::NameOf(sim::Call::RegSetValueExA) && event.error == 0 &&
            PathKey(event.detail) == PathKey(start))
            ++writes;
    }
    const std::optional<std::uint32_t> after =
        facts.run.Sim().DwordValue(platform::RegRoot::LocalMachine, key, "Start");
    if (writes < 2 || !after || *after == kStartBoot) return;
    const std::string name = ToUtf8(title->value, facts.run.Language().codePage);
    found.Add(Severity::Error, title->number,
              "the miniport service " + Quoted(name) +
                  " is registered to start at boot, and a later step of the same run sets its "
                  "Start to " +
                  std::to_string(*after) +
                  " (the program disables a service of that name): " + facts.run.Platform().title +
                  " does not start the adapter's driver; give the service another Title",
              {driver->number});
}

}  // namespace

void CheckLineUndone(RunFacts& facts, RuleFindings& found) {
    CheckFilesUndone(facts, found);
    CheckServiceUndone(facts, found);
}

}  // namespace setup32::check
