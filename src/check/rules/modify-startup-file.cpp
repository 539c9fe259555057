// A [Modify] entry removes every CONFIG.SYS line that holds its file-name
// part, so one that a start-up file's name holds takes that file's line
// out.
#include "check/rules/code_page_findings.h"
#include "check/rules/modify_keys.h"
#include "check/script_rules.h"
#include "state/ansi_text.h"

namespace setup32::check {
namespace {

// A file of Windows' own start-up that a [Modify] entry may take out of
// CONFIG.SYS, and what the machine loses with its line.
struct StartupFile {
    const char* name;
    Severity severity;
    const char* loss;
};

// HIMEM.SYS and IFSHLP.SYS carry the start of Windows 95 and 98 (the
// memory manager, and the file system helper without which only the
// minimal real-mode file system of IO.SYS is there); EMM386 only gives
// upper memory, and a machine starts without it.
const StartupFile kStartupFiles[] = {
    {"HIMEM.SYS", Severity::Error,
     "the memory manager that Windows 95 and 98 start with and that EMM386 and DOS=HIGH need"},
    {"IFSHLP.SYS", Severity::Error,
     "the file system helper of Windows 95 and 98, without which only the minimal real-mode "
     "file system is there"},
    {"EMM386.EXE", Severity::Warning,
     "the upper-memory manager: the machine still starts, but drivers loaded high then load "
     "low"},
};

void CheckEntry(RunFacts& facts, const ProfileLine& line, CodePageFindings& found) {
    const std::size_t backslash = FindLastCharOf(facts.run.Context().sys.host, line.value, "\\");
    const std::string name =
        UpperAscii(backslash == std::string::npos ? line.value : line.value.substr(backslash + 1));
    if (name.empty()) return;
    for (const StartupFile& file : kStartupFiles) {
        if (std::string_view(file.name).find(name) == std::string_view::npos) continue;
        const std::string removed = name == file.name
                                        ? "the line of CONFIG.SYS that loads " + name
                                        : "every line of CONFIG.SYS that holds " + Quoted(name) +
                                              ", the line that loads " + file.name + " among them";
        found.Add(file.severity, line.number,
                  "the entry removes " + removed + ": " + file.name + " is " + file.loss +
                      "; name only your own product's files");
    }
}

}  // namespace

void CheckModifyStartupFile(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    for (const ProfileLine* line : ModifyEntriesRead(facts)) {
        if (!line->value.empty() && line->value.front() != ';') CheckEntry(facts, *line, found);
    }
}

}  // namespace setup32::check
