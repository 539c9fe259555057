// The C library's memory and string functions that the compiler and the
// standard library's headers call: std::char_traits<char> calls strlen,
// memchr, memcmp, memcpy, memmove and memset, and the compiler itself calls
// memcpy and memset to copy and to clear large objects. The program links no
// C library, so these are its own. Their callers pass strings of a few
// kilobytes at most (CONFIG.SYS is the longest); a loop of bytes is all they
// need.
//
// This file is compiled without the optimisation that turns such loops back
// into calls of these very functions (src/app/win32/CMakeLists.txt).
#include <cstddef>

extern "C" {

void* memcpy(void* destination, const void* source, std::size_t count) {
    auto* to = static_cast<unsigned char*>(destination);
    const auto* from = static_cast<const unsigned char*>(source);
    while (count-- != 0) *to++ = *from++;
    return destination;
}

void* memmove(void* destination, const void* source, std::size_t count) {
    auto* to = static_cast<unsigned char*>(destination);
    const auto* from = static_cast<const unsigned char*>(source);
    if (to <= from) return memcpy(destination, source, count);
    // The ranges may overlap with the destination behind: copy from the end.
    while (count-- != 0) to[count] = from[count];
    return destination;
}

void* memset(void* destination, int value, std::size_t count) {
    auto* to = static_cast<unsigned char*>(destination);
    while (count-- != 0) *to++ = static_cast<unsigned char>(value);
    return destination;
}

int memcmp(const void* left, const void* right, std::size_t count) {
    const auto* a = static_cast<const unsigned char*>(left);
    const auto* b = static_cast<const unsigned char*>(right);
    for (; count != 0; --count, ++a, ++b) {
        if (*a != *b) return *a < *b ? -1 : 1;
    }
    return 0;
}

void* memchr(const void* block, int value, std::size_t count) {
    const auto* byte = static_cast<const unsigned char*>(block);
    for (; count != 0; --count, ++byte) {
        if (*byte == static_cast<unsigned char>(value)) return const_cast<unsigned char*>(byte);
    }
    return nullptr;
}

std::size_t strlen(const char* text) {
    const char* end = text;
    while (*end != '\0') ++end;
    return static_cast<std::size_t>(end - text);
}

}  // extern "C"
