// On the NT family, a Driver that the script does not install where the
// miniport service's image is looked for: the adapter is not started.
#include <utility>
#include <vector>

#include "check/rules/code_page_findings.h"
#include "check/rules/driver_copies.h"
#include "check/rules/miniport_service.h"
#include "check/rules/platforms.h"
#include "check/rules/run_script.h"
#include "shellint/shell_text.h"
#include "state/script.h"

namespace setup32::check {

void CheckServiceImage(RunFacts& facts, RuleFindings& into) {
    // A service the program cannot register is the miniport rule's.
    const std::optional<MiniportService> service = MiniportServiceOf(facts);
    if (!service || !service->registrable) return;
    const std::string& driver = service->driver;
    // Where the miniport service's image is looked for.
    const std::string image =
        shell_text::JoinPath(facts.run.WindowsDir(), "SYSTEM32\\DRIVERS") + "\\" + driver;
    if (facts.run.Sim().Exists(image)) return;
    const ProfileLine* driverLine = DisplayLine(facts, script_names::kDriver);
    const int driverNumber = driverLine ? driverLine->number : 0;
    // A line that copies the miniport elsewhere is the one to mend, and it
    // touches the Driver line. Otherwise the Driver line names a file that
    // nothing installs, or whose copy failed (that line's own finding).
    const InstallingLine copy = InstalledBy(facts, image);
    const bool copiedElsewhere = copy.number != 0 && !copy.failed;
    const int line = copiedElsewhere ? copy.number : driverNumber;
    const int other = copiedElsewhere ? driverNumber : copy.number;
    std::vector<int> touches;
    if (other != 0) touches.push_back(other);
    CodePageFindings found(facts, into);
    found.Add(Severity::Error, line,
              "Driver names " + Quoted(driver) + ", which the script does not install as " +
                  Quoted(image) + copy.where +
                  ": the program registers the boot-start miniport service " +
                  Quoted(service->title) + " with the image System32\\drivers\\" + driver +
                  ", which is not there, so " + PlatformTitle(facts.run.OsKind()) +
                  " does not start the adapter; copy it with a line such as 1=.\\NT\\" + driver +
                  ",.\\SYSTEM32\\DRIVERS\\" + driver,
              std::move(touches));
}

}  // namespace setup32::check
