#include <windows.h>

#include <algorithm>
#include <limits>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_services.h"

namespace setup32::platform::win32 {
namespace {

// The error of a call that reported failure by its result.
std::uint32_t ResultOf(BOOL succeeded) {
    return succeeded ? ERROR_SUCCESS : GetLastError();
}

// A fixed-size buffer for calls that return their length, or the room they
// would need when it is too small.
std::string FilledPrefix(const std::string& buffer, DWORD length) {
    return length == 0 || length >= buffer.size() ? std::string() : buffer.substr(0, length);
}

UINT ClampToUint(std::size_t size) {
    return static_cast<UINT>(std::min<std::size_t>(size, std::numeric_limits<UINT>::max() - 1));
}

}  // namespace

std::string Win32FileSystem::CurrentDirectory(std::size_t capacity) {
    std::string buffer(capacity, '\0');
    return FilledPrefix(buffer, GetCurrentDirectoryA(static_cast<DWORD>(capacity), buffer.data()));
}

bool Win32FileSystem::WindowsDirectory(std::size_t capacity, std::string& directory) {
    std::string buffer(capacity, '\0');
    const std::string filled =
        FilledPrefix(buffer, GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(capacity)));
    if (filled.empty()) return false;
    directory = filled;
    return true;
}

std::uint32_t Win32FileSystem::MakeDirectory(const std::string& path) {
    return ResultOf(CreateDirectoryA(path.c_str(), nullptr));
}

std::uint32_t Win32FileSystem::Copy(const std::string& from, const std::string& to,
                                    bool failIfExists) {
    return ResultOf(CopyFileA(from.c_str(), to.c_str(), failIfExists));
}

std::uint32_t Win32FileSystem::Attributes(const std::string& path, std::uint32_t& attributes) {
    const DWORD found = GetFileAttributesA(path.c_str());
    if (found == INVALID_FILE_ATTRIBUTES) return GetLastError();
    attributes = found;
    return ERROR_SUCCESS;
}

std::uint32_t Win32FileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    return ResultOf(SetFileAttributesA(path.c_str(), attributes));
}

std::uint32_t Win32FileSystem::Remove(const std::string& path) {
    return ResultOf(DeleteFileA(path.c_str()));
}

std::uint32_t Win32FileSystem::Rename(const std::string& from, const std::string& to) {
    return ResultOf(MoveFileA(from.c_str(), to.c_str()));
}

std::uint32_t Win32FileSystem::ShortPathName(const std::string& path, std::size_t capacity,
                                             std::string& shortPath) {
    std::string buffer(capacity, '\0');
    const DWORD length =
        GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(capacity));
    if (length == 0) return GetLastError();
    if (length >= capacity) return ERROR_INSUFFICIENT_BUFFER;
    shortPath = buffer.substr(0, length);
    return ERROR_SUCCESS;
}

FileHandle Win32FileSystem::OpenForRead(const std::string& path, std::uint32_t& error) {
    const FileHandle file = FromHfile(_lopen(path.c_str(), OF_READ));
    error = file == 0 ? GetLastError() : ERROR_SUCCESS;
    return file;
}

FileHandle Win32FileSystem::CreateForWrite(const std::string& path, std::uint32_t& error) {
    const FileHandle file = FromHfile(_lcreat(path.c_str(), 0));
    error = file == 0 ? GetLastError() : ERROR_SUCCESS;
    return file;
}

long Win32FileSystem::Read(FileHandle file, char* buffer, std::size_t size) {
    const UINT count = _lread(ToHfile(file), buffer, ClampToUint(size));
    return count == static_cast<UINT>(HFILE_ERROR) ? -1 : static_cast<long>(count);
}

std::uint32_t Win32FileSystem::Write(FileHandle file, std::string_view data) {
    const UINT size = ClampToUint(data.size());
    const UINT written = _lwrite(ToHfile(file), data.data(), size);
    if (written == static_cast<UINT>(HFILE_ERROR)) return GetLastError();
    // A short write without an error is still a failure to the caller.
    return written == size && size == data.size() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

std::uint32_t Win32FileSystem::Close(FileHandle file) {
    return _lclose(ToHfile(file)) == HFILE_ERROR ? GetLastError() : ERROR_SUCCESS;
}

}  // namespace setup32::platform::win32
