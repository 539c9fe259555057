// A line of bytes that are no text in the run's code page, such as a
// script saved as UTF-8: the program uses the bytes as they are.
#include "check/rules/byte_order_mark.h"
#include "check/rules/code_page_findings.h"
#include "check/rules/run_script.h"
#include "check/text_encoding.h"

namespace setup32::check {

void CheckNotCodePageText(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    const unsigned codePage = facts.run.Language().codePage;
    int number = 0;
    for (std::string_view line : FileLines(facts)) {
        ++number;
        if (number == 1 && line.compare(0, kUtf8ByteOrderMark.size(), kUtf8ByteOrderMark) == 0) {
            line.remove_prefix(kUtf8ByteOrderMark.size());  // reported on its own
        }
        if (!IsTextIn(line, codePage) || LooksLikeUtf8(line)) {
            found.Add(Severity::Warning, number,
                      "the line holds bytes that are not text in code page " +
                          std::to_string(codePage) +
                          " (was the script saved as UTF-8?): the program uses them as they are");
        }
    }
}

}  // namespace setup32::check
