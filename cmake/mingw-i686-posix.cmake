# The posix thread model, for the Windows conformance suite alone:
# GoogleTest needs std::mutex, which the win32 model lacks. Linked
# statically, the suite still imports only system DLLs. The i686 build
# makes a build of its own with this file (tests/CMakeLists.txt); it builds
# no setup32.exe and keeps the compiler's default options.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(SETUP32_MINGW_THREADS posix)
set(SETUP32_CONFORMANCE_ONLY ON)
