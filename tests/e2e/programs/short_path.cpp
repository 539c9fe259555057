// A test-only program that prints the short (8.3) form of each path on its
// command line, one line each, as GetShortPathNameA gives it, or the path
// unchanged when there is none. Wine hashes short names its own way, so
// tests ask Wine instead of computing them.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::string shortPath(MAX_PATH, '\0');
        const DWORD length = GetShortPathNameA(argv[i], shortPath.data(), MAX_PATH);
        shortPath.resize(length > 0 && length < MAX_PATH ? length : 0);
        std::printf("%s\n", shortPath.empty() ? argv[i] : shortPath.c_str());
    }
    return 0;
}
