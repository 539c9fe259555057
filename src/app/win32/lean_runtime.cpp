// Our own versions of the few parts of the C++ runtime the program needs.
// A static link would otherwise bring in the library's versions, and with them
// the exception machinery and the unwinder: about half of the executable.
//
// The program throws and catches no exceptions. The standard library raises its
// own only for failures the program cannot recover from anyway (no memory left,
// a string grown past max_size()), and an exception nobody catches ends the
// program. The functions below end it at once instead.
#include <cstdlib>
#include <new>
#include <string>

// Memory comes from the C runtime's heap, as with the library's operators; no
// new-handler is ever installed, so a failed allocation has no one to retry it.
void* operator new(std::size_t size) {
    void* const block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) std::abort();
    return block;
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

// The library's std::string members are compiled to throw and to unwind, and
// its headers tell every caller to use them rather than instantiate their own.
// Instantiating them here, with the program's options, puts them in their own
// sections, so the linker keeps only the members the program calls.
template class std::basic_string<char>;

namespace std {

// The library raises its own exceptions through these functions. This is the
// whole set its functexcept unit defines, so that unit is never linked beside
// this file.
void __throw_bad_exception() {
    std::abort();
}
void __throw_bad_alloc() {
    std::abort();
}
void __throw_bad_array_new_length() {
    std::abort();
}
void __throw_bad_cast() {
    std::abort();
}
void __throw_bad_typeid() {
    std::abort();
}
void __throw_logic_error(const char*) {
    std::abort();
}
void __throw_domain_error(const char*) {
    std::abort();
}
void __throw_invalid_argument(const char*) {
    std::abort();
}
void __throw_length_error(const char*) {
    std::abort();
}
void __throw_out_of_range(const char*) {
    std::abort();
}
void __throw_out_of_range_fmt(const char*, ...) {
    std::abort();
}
void __throw_runtime_error(const char*) {
    std::abort();
}
void __throw_range_error(const char*) {
    std::abort();
}
void __throw_overflow_error(const char*) {
    std::abort();
}
void __throw_underflow_error(const char*) {
    std::abort();
}

}  // namespace std

namespace __gnu_cxx {

// The default handler prints the uncaught exception's type, which takes the
// whole symbol demangler and a printf; a window program has no console to
// print to.
void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx
