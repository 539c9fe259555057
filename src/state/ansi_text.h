// Stepping over text in the system's ANSI code page, where a lead byte
// starts a double-byte character whose second byte may look like "\".
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace setup32 {

namespace platform {
class HostFacts;
}

// The length in bytes (1 or 2) of the character that starts at `pos`. A lead
// byte in the last position stands alone.
std::size_t CharLengthAt(const platform::HostFacts& host, std::string_view text, std::size_t pos);

// The position of the last character of `text` that is one of `chars` (all
// single-byte), or npos.
std::size_t FindLastCharOf(const platform::HostFacts& host, std::string_view text,
                           std::string_view chars);

// `text` cut to at most `maxBytes` bytes without splitting a character.
std::string_view CutToBytes(const platform::HostFacts& host, std::string_view text,
                            std::size_t maxBytes);

// `format` with its first `placeholder` ("%s", "%d") replaced by `value`;
// unchanged when it has none. The placeholder's "%" is never the second
// byte of a character, so a plain search is exact.
std::string FillPlaceholder(std::string_view format, std::string_view placeholder,
                            std::string_view value);
// `format` with its placeholders replaced by `values` in order; an inserted
// value is never searched again. Placeholders beyond the values stay.
std::string FillPlaceholders(std::string_view format, std::string_view placeholder,
                             std::initializer_list<std::string_view> values);

}  // namespace setup32
