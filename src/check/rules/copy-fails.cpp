// A driver line whose copy fails, and why: the source is missing, the
// destination names a folder, or Windows refuses the write.
#include "check/rules/code_page_findings.h"
#include "check/rules/driver_copies.h"
#include "check/rules/platforms.h"
#include "check/rules/run_script.h"
#include "check/script_rules.h"

namespace setup32::check {
namespace {

// Why a copy onto `destination` failed, from the error and what the
// machine holds there after the run.
std::string WhyNotCopied(std::uint32_t error, std::uint32_t destinationAttributes) {
    const bool exists = destinationAttributes != platform::sim::kInvalidFileAttributes;
    if (error == platform::win_error::kAccessDenied && exists &&
        (destinationAttributes & platform::kFileAttributeReadOnly) != 0) {
        return "the destination is read-only (Windows error 5): " +
               WindowsAgainstWine("read-only-destination");
    }
    switch (error) {
        case platform::win_error::kPathNotFound:
            return "the destination's folder could not be made (Windows error 3)";
        case platform::win_error::kAccessDenied:
            return "the destination could not be written (Windows error 5)";
        case platform::win_error::kSharingViolation:
            return "the destination is held open by a running program (Windows error 32)";
        case platform::win_error::kInvalidName:
            return "a name in the path holds a character Windows does not take in a name "
                   "(\\ / : * ? \" < > |, or a drive inside the path) (Windows error 123)";
        default:
            return "Windows error " + std::to_string(error);
    }
}

void CheckCopy(RunFacts& facts, const DriverLine& line, std::uint32_t error,
               CodePageFindings& found) {
    const CCopyListItem& item = line.item;
    platform::sim::SimMachine& sim = facts.run.Sim();
    if (!sim.Exists(item.source)) {
        found.Add(Severity::Error, line.number,
                  "the source " + Quoted(item.source) +
                      " is missing: the file is not copied, and the customer is asked whether "
                      "the destination may be write-protected (message 42)");
    } else if (const std::uint32_t attributes = sim.Attributes(item.destination);
               (!item.destination.empty() && item.destination.back() == '\\') ||
               (attributes != platform::sim::kInvalidFileAttributes &&
                (attributes & platform::kFileAttributeDirectory) != 0)) {
        found.Add(Severity::Error, line.number,
                  "the destination " + Quoted(item.destination) +
                      " names a folder: the program copies to a file's path, so the copy fails "
                      "(Windows error " +
                      std::to_string(error) +
                      ") and the customer is asked whether the destination may be "
                      "write-protected (message 42); write " +
                      Quoted(FolderWithFile(line.written, item.source)));
    } else {
        found.Add(Severity::Error, line.number,
                  "the file is not copied to " + Quoted(item.destination) + ": " +
                      WhyNotCopied(error, attributes));
    }
}

}  // namespace

void CheckCopyFails(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    for (const DriverLine& line : JudgedDriverLines(facts)) {
        // A destination with "/" is dest-slash's; a group name that no
        // path can hold is reported on its own line.
        if (WrittenWithSlash(line) || PutsInRefusedGroupName(facts, line.written)) continue;
        const std::uint32_t error = LastCopyError(facts.run, line.item).value_or(0);
        if (error != 0) CheckCopy(facts, line, error, found);
    }
}

}  // namespace setup32::check
