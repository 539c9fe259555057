#include "check/text_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>

namespace setup32::check {
namespace {

std::string CodePageName(unsigned codePage) {
    return "CP" + std::to_string(codePage);
}

// An iconv conversion between two encodings, closed when dropped.
class Converter {
  public:
    Converter(const std::string& to, const std::string& from)
        : handle_(iconv_open(to.c_str(), from.c_str())) {}
    ~Converter() {
        if (Valid()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of `in` as it can; returns false at a byte sequence
    // that is not text (or is cut off) or has no character in the target,
    // leaving `in` on it.
    bool Convert(std::string_view& in, std::string& out) {
        char buffer[256];
        while (!in.empty()) {
            char* inPtr = const_cast<char*>(in.data());
            std::size_t inLeft = in.size();
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            in.remove_prefix(in.size() - inLeft);
            if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
                iconv(handle_, nullptr, nullptr, nullptr, nullptr);
                return false;
            }
            // A character written as a stand-in is no conversion either.
            if (result != static_cast<std::size_t>(-1) && result > 0) return false;
        }
        return true;
    }

  private:
    iconv_t handle_;
};

std::string Escaped(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02X", byte);
    return text;
}

std::string Latin1(unsigned char byte) {
    if (byte < 0x80) return std::string(1, static_cast<char>(byte));
    return {static_cast<char>(0xC0 | (byte >> 6)), static_cast<char>(0x80 | (byte & 0x3F))};
}

// `bytes` in UTF-8, each byte that is no text in the code page given as
// `fallback` has it.
std::string Converted(std::string_view bytes, unsigned codePage,
                      std::string (*fallback)(unsigned char)) {
    Converter converter("UTF-8", CodePageName(codePage));
    std::string out;
    while (!bytes.empty()) {
        if (converter.Valid() && converter.Convert(bytes, out)) break;
        out += fallback(static_cast<unsigned char>(bytes.front()));
        bytes.remove_prefix(1);
    }
    return out;
}

std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    const std::size_t length = lead < 0x80                   ? 1
                               : lead >= 0xF0 && lead < 0xF5 ? 4
                               : lead >= 0xE0                ? 3
                               : lead >= 0xC2 && lead < 0xE0 ? 2
                                                             : 0;
    if (length == 0 || pos + length > bytes.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(bytes[pos + i]) & 0xC0) != 0x80) return 0;
    }
    return length;
}

}  // namespace

std::string ToUtf8(std::string_view bytes, unsigned codePage) {
    return Converted(bytes, codePage, Escaped);
}

std::string ToUtf8AsWine(std::string_view bytes, unsigned codePage) {
    return Converted(bytes, codePage, Latin1);
}

bool IsTextIn(std::string_view bytes, unsigned codePage) {
    Converter converter("UTF-8", CodePageName(codePage));
    std::string out;
    return converter.Valid() && converter.Convert(bytes, out);
}

std::optional<std::string> FromUtf8(std::string_view text, unsigned codePage) {
    Converter converter(CodePageName(codePage), "UTF-8");
    std::string out;
    if (!converter.Valid() || !converter.Convert(text, out)) return std::nullopt;
    return out;
}

bool LooksLikeUtf8(std::string_view bytes) {
    bool multibyte = false;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = Utf8SequenceLength(bytes, pos);
        if (length == 0) return false;
        multibyte = multibyte || length > 1;
        pos += length;
    }
    return multibyte;
}

}  // namespace setup32::check
