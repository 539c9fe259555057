// Directories and files. Calls that can fail return the Windows error code
// (0 on success) so that a failure never loses its cause.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace setup32::platform {

using FileHandle = std::uintptr_t;

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // GetCurrentDirectoryA into `capacity` bytes. Returns the directory, or
    // an empty text when it does not fit or cannot be read.
    virtual std::string CurrentDirectory(std::size_t capacity) = 0;
    // GetWindowsDirectoryA into `capacity` bytes; false when it fails or
    // does not fit.
    virtual bool WindowsDirectory(std::size_t capacity, std::string& directory) = 0;
    // CreateDirectoryA with default security.
    virtual std::uint32_t MakeDirectory(const std::string& path) = 0;
    // CopyFileA.
    virtual std::uint32_t Copy(const std::string& from, const std::string& to,
                               bool failIfExists) = 0;
    // GetFileAttributesA: the attributes of `path` into `attributes`.
    virtual std::uint32_t Attributes(const std::string& path, std::uint32_t& attributes) = 0;
    // SetFileAttributesA.
    virtual std::uint32_t SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
    // DeleteFileA.
    virtual std::uint32_t Remove(const std::string& path) = 0;
    // MoveFileA: fails when `to` exists.
    virtual std::uint32_t Rename(const std::string& from, const std::string& to) = 0;
    // GetShortPathNameA into `capacity` bytes.
    virtual std::uint32_t ShortPathName(const std::string& path, std::size_t capacity,
                                        std::string& shortPath) = 0;

    // Byte streams (_lopen for reading, _lcreat with attribute 0, _lread,
    // _lwrite, _lclose). A handle of 0 means the open failed.
    virtual FileHandle OpenForRead(const std::string& path, std::uint32_t& error) = 0;
    virtual FileHandle CreateForWrite(const std::string& path, std::uint32_t& error) = 0;
    // Reads up to `size` bytes; the count read (0 at the end) or -1 on failure.
    virtual long Read(FileHandle file, char* buffer, std::size_t size) = 0;
    virtual std::uint32_t Write(FileHandle file, std::string_view data) = 0;
    virtual std::uint32_t Close(FileHandle file) = 0;
};

// Owns an open byte stream and closes it when dropped. `Close` closes it
// early and reports the result, for writers that must know it.
class FileStream {
  public:
    FileStream() = default;
    FileStream(FileSystem& files, FileHandle handle) : files_(&files), handle_(handle) {}
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;
    FileStream(FileStream&& other) noexcept
        : files_(other.files_), handle_(std::exchange(other.handle_, 0)) {}
    FileStream& operator=(FileStream&& other) noexcept {
        if (this != &other) {
            Close();
            files_ = other.files_;
            handle_ = std::exchange(other.handle_, 0);
        }
        return *this;
    }
    ~FileStream() { Close(); }

    explicit operator bool() const { return handle_ != 0; }
    FileHandle get() const { return handle_; }
    long Read(char* buffer, std::size_t size) { return files_->Read(handle_, buffer, size); }
    std::uint32_t Write(std::string_view data) { return files_->Write(handle_, data); }
    std::uint32_t Close() { return handle_ != 0 ? files_->Close(std::exchange(handle_, 0)) : 0; }

  private:
    FileSystem* files_ = nullptr;
    FileHandle handle_ = 0;
};

}  // namespace setup32::platform
