// The text rules of the CONFIG.SYS editor: the file's text mode and the
// matching of lines against the file names to remove. Text is bytes in the
// ANSI code page; every step over characters asks the host for lead bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setup32 {

namespace platform {
class HostFacts;
}

// The file as text mode reads it: each CR LF becomes LF and a Ctrl-Z ends
// the input. A CR that is not followed by LF stays.
std::string DecodeTextMode(std::string_view raw);
// Text as text mode writes it: each LF becomes CR LF.
std::string EncodeTextMode(std::string_view text);

// The part of `path` after its last "\" (all of it when there is none);
// the trail byte of a double-byte character is never taken for a "\".
std::string_view FileNamePart(const platform::HostFacts& host, std::string_view path);

// The upper-cased file-name parts of the entries, in order. Comments (a
// leading ";") are skipped, and so is an entry whose file-name part is
// empty, which would otherwise match every line.
std::vector<std::string> BuildMatchList(const platform::HostFacts& host,
                                        const std::vector<std::string_view>& entries);

// True when the upper-cased `line` contains one of the match texts at a
// position where a character begins.
bool LineMatches(const platform::HostFacts& host, std::string_view line,
                 const std::vector<std::string>& matchList);

// `text` without the lines that match. Lines end after each LF; a last line
// without one is a line too. A line is kept or dropped whole, whatever its length.
std::string RemoveMatchingLines(const platform::HostFacts& host, std::string_view text,
                                const std::vector<std::string>& matchList);

}  // namespace setup32
