// Bytes of a Windows code page shown as UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace setup32::check {

// `bytes` of code page `codePage` in UTF-8; a byte that is no text there
// is shown as \xNN.
std::string ToUtf8(std::string_view bytes, unsigned codePage);
// The same, but a byte that is no text there is the character of its value
// (U+0080 to U+00FF), as Wine's code page tables give the bytes that
// cp1252 leaves undefined: the names a Wine machine shows.
std::string ToUtf8AsWine(std::string_view bytes, unsigned codePage);
// UTF-8 `text` as bytes of code page `codePage`; none when it is not
// UTF-8 or holds a character the code page does not have.
std::optional<std::string> FromUtf8(std::string_view text, unsigned codePage);
// True when every byte sequence of `bytes` is a character of the code page.
bool IsTextIn(std::string_view bytes, unsigned codePage);
// True when `bytes` hold a UTF-8 sequence of two or more bytes and nothing
// that is not UTF-8: text most likely saved as UTF-8.
bool LooksLikeUtf8(std::string_view bytes);

}  // namespace setup32::check
