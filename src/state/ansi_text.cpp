#include "state/ansi_text.h"

#include "platform/host.h"

namespace setup32 {

std::size_t CharLengthAt(const platform::HostFacts& host, std::string_view text, std::size_t pos) {
    const bool pair =
        host.IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size();
    return pair ? 2 : 1;
}

std::size_t FindLastCharOf(const platform::HostFacts& host, std::string_view text,
                           std::string_view chars) {
    std::size_t found = std::string_view::npos;
    for (std::size_t pos = 0; pos < text.size(); pos += CharLengthAt(host, text, pos)) {
        if (chars.find(text[pos]) != std::string_view::npos) found = pos;
    }
    return found;
}

std::string_view CutToBytes(const platform::HostFacts& host, std::string_view text,
                            std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + CharLengthAt(host, text, end);
        if (next > maxBytes) break;
        end = next;
    }
    return text.substr(0, end);
}

std::string FillPlaceholder(std::string_view format, std::string_view placeholder,
                            std::string_view value) {
    return FillPlaceholders(format, placeholder, {value});
}

std::string FillPlaceholders(std::string_view format, std::string_view placeholder,
                             std::initializer_list<std::string_view> values) {
    std::string text(format);
    std::size_t pos = 0;
    for (const std::string_view value : values) {
        pos = text.find(placeholder, pos);
        if (pos == std::string::npos) break;
        text.replace(pos, placeholder.size(), value);
        pos += value.size();
    }
    return text;
}

}  // namespace setup32
