// Our own versions of the few parts of the C++ runtime the program needs.
// setup32.exe links no C runtime: Windows 95 has no C runtime DLL, and its
// loader refuses a program that imports one (lean_startup.cpp is the start-up
// code, lean_memory.cpp the C library's functions). A static link would also
// bring in the library's exception machinery and the unwinder, with imports
// of their own.
//
// The program throws and catches no exceptions. The standard library raises its
// own only for failures the program cannot recover from anyway (no memory left,
// a string grown past max_size()), and an exception nobody catches ends the
// program. The functions below end it at once instead.
#include <windows.h>

#include <new>
#include <string>

namespace {

// The exit code the C runtime's abort() ended the program with.
constexpr UINT kAbortExitCode = 3;

[[noreturn]] void EndOnFailure() {
    ExitProcess(kAbortExitCode);
}

}  // namespace

// Memory comes from the process's heap. No new-handler is ever installed, so a
// failed allocation has no one to retry it.
void* operator new(std::size_t size) {
    void* const block = HeapAlloc(GetProcessHeap(), 0, size == 0 ? 1 : size);
    if (block == nullptr) EndOnFailure();
    return block;
}

void operator delete(void* block) noexcept {
    if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
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
    EndOnFailure();
}
void __throw_bad_alloc() {
    EndOnFailure();
}
void __throw_bad_array_new_length() {
    EndOnFailure();
}
void __throw_bad_cast() {
    EndOnFailure();
}
void __throw_bad_typeid() {
    EndOnFailure();
}
void __throw_logic_error(const char*) {
    EndOnFailure();
}
void __throw_domain_error(const char*) {
    EndOnFailure();
}
void __throw_invalid_argument(const char*) {
    EndOnFailure();
}
void __throw_length_error(const char*) {
    EndOnFailure();
}
void __throw_out_of_range(const char*) {
    EndOnFailure();
}
void __throw_out_of_range_fmt(const char*, ...) {
    EndOnFailure();
}
void __throw_runtime_error(const char*) {
    EndOnFailure();
}
void __throw_range_error(const char*) {
    EndOnFailure();
}
void __throw_overflow_error(const char*) {
    EndOnFailure();
}
void __throw_underflow_error(const char*) {
    EndOnFailure();
}

}  // namespace std
