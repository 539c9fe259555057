// A note written after a value (" ; the miniport"): a person reads it as a
// comment, the program as part of the value, since only a line that
// starts with ";" is a comment.
#include "check/rules/read_lines.h"
#include "check/text_encoding.h"

namespace setup32::check {

void CheckInlineComment(RunFacts& facts, RuleFindings& found) {
    for (const ProfileLine* line : LinesReadByRun(facts)) {
        const std::string& text = line->text;
        const std::size_t equals = text.find('=');
        if (equals == std::string::npos) continue;
        const std::size_t note = text.find(';', equals + 1);
        if (note == std::string::npos || note == equals + 1 ||
            (text[note - 1] != ' ' && text[note - 1] != '\t'))
            continue;
        const std::size_t end = text.find_last_not_of(" \t", note - 1);
        const unsigned codePage = facts.run.Language().codePage;
        found.Add(Severity::Warning, line->number,
                  "the program reads the note as part of the value: it takes " +
                      Quoted(ToUtf8(text.substr(equals + 1), codePage)) + ", not " +
                      Quoted(ToUtf8(text.substr(equals + 1, end - equals), codePage)) +
                      " (only a line that starts with \";\" is a comment); write the note on a "
                      "line of its own");
    }
}

}  // namespace setup32::check
