#include "platform/types.h"

#include <cstring>

namespace setup32::platform {

std::vector<std::string_view> SectionBlock::Lines() const {
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < bytes.size() && bytes[pos] != '\0') {
        const void* end = std::memchr(bytes.data() + pos, '\0', bytes.size() - pos);
        const std::size_t length =
            end ? static_cast<const char*>(end) - (bytes.data() + pos) : bytes.size() - pos;
        lines.emplace_back(bytes.data() + pos, length);
        pos += length + 1;
    }
    return lines;
}

}  // namespace setup32::platform
