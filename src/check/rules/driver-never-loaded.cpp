// A driver file copied where its Windows never loads it from.
//
// Windows 95 and 98: the I/O supervisor loads port drivers (.PDR) and SCSI
// miniport drivers (.MPD) only from SYSTEM\IOSUBSYS ("Device Driver
// Loading", Windows 95 and 98 DDK: "The IOS requires the files for these
// drivers to be located in the SYSTEM\IOSUBSYS directory").
// Windows NT 4.0 and 2000: a kernel-mode driver (.SYS) is loaded from the
// ImagePath of its service, which the program writes as
// System32\drivers\<Driver>, below %SystemRoot% (the NT DDK's Services key
// entries: ImagePath defaults to \SystemRoot\System32\Drivers\<name>.SYS).
#include "check/rules/rule.h"
#include "messages/messages.h"
#include "shellint/shell_text.h"

namespace setup32::check {
namespace {

std::string Extension(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('\\', dot) != std::string_view::npos) return {};
    return PathKey(path.substr(dot + 1));
}

std::string Folder(std::string_view path) {
    const std::size_t backslash = path.rfind('\\');
    return backslash == std::string_view::npos ? std::string() : PathKey(path.substr(0, backslash));
}

// The file named by a service's image, which another rule speaks for.
bool IsServiceImage(const Plan& plan, const std::string& path) {
    const std::string name = PathKey(path.substr(path.rfind('\\') + 1));
    for (const Plan::Service& service : plan.services) {
        if (PathKey(service.image.substr(service.image.rfind('\\') + 1)) == name) return true;
    }
    return false;
}

}  // namespace

void CheckDriverNeverLoaded(RunFacts& facts, RuleFindings& found) {
    const bool nt = shell_text::IsNtFamily(facts.run.OsKind());
    const std::string loaded = PathKey(
        shell_text::JoinPath(facts.plan.windowsDir, nt ? "SYSTEM32\\DRIVERS" : "SYSTEM\\IOSUBSYS"));
    for (const CopyRecord& copy : facts.plan.copies) {
        if (copy.error != 0 || copy.line == 0 || copy.destination.size() < 3 ||
            copy.destination[1] != ':')
            continue;
        const std::string extension = Extension(copy.destination);
        const bool driver = nt ? extension == "SYS" : extension == "MPD" || extension == "PDR";
        if (!driver || Folder(copy.destination) == loaded) continue;
        if (nt && !facts.plan.services.empty() && IsServiceImage(facts.plan, copy.destination))
            continue;
        const std::string name = copy.destination.substr(copy.destination.rfind('\\') + 1);
        found.Add(Severity::Error, copy.line,
                  "the driver " + Quoted(name) + " is copied to " + Quoted(copy.destination) +
                      ", where " + facts.run.Platform().title + " never loads a driver from: " +
                      (nt ? "its drivers are loaded from %SystemRoot%\\System32\\drivers"
                          : "its miniport and port drivers are loaded from SYSTEM\\IOSUBSYS only") +
                      "; write " + (nt ? ".\\SYSTEM32\\DRIVERS\\" : ".\\SYSTEM\\IOSUBSYS\\") +
                      name);
    }
}

}  // namespace setup32::check
