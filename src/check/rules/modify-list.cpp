// A [Modify] list that the CONFIG.SYS editor does not take, by the message
// box the run showed: no entries, or more than its list holds.
#include "check/rules/run_script.h"
#include "messages/messages.h"
#include "state/script.h"
#include "sysconfig/sysconfig.h"

namespace setup32::check {

void CheckModifyList(RunFacts& facts, RuleFindings& found) {
    const Language language = LanguageFromLcid(facts.run.Language().lcid);
    const std::string tooLarge = MsgText(language, 48);
    const std::string noEntries = MsgText(language, 49);
    const ProfileSection* modify = FindSection(facts, script_names::kModify);
    const int line = modify ? modify->number : 0;
    for (const platform::sim::BoxRecord& box : facts.run.Sim().Boxes()) {
        if (box.text == noEntries) {
            found.Add(Severity::Warning, line,
                      "no [Modify] entries: the install stops on message 49 until the user "
                      "presses OK, in the silent mode too, and CONFIG.SYS keeps every line");
        } else if (box.text == tooLarge) {
            found.Add(Severity::Error, line,
                      "the [Modify] entries do not fit the editor's " +
                          std::to_string(kModifyListCapacity) +
                          "-byte list: the program shows message 48 and CONFIG.SYS keeps every "
                          "line");
        }
    }
}

}  // namespace setup32::check
