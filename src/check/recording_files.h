// A file system that passes every call on to another and keeps the outcome
// of the copies and directory creations the setup asked for, which the
// simulated machine's event log names without their result.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

namespace setup32::check {

struct CopyAttempt {
    std::string source;
    std::string destination;
    std::uint32_t error;  // 0: copied
};

struct DirectoryAttempt {
    std::string path;
    std::uint32_t error;  // 0: created
};

class RecordingFiles final : public platform::FileSystem {
  public:
    explicit RecordingFiles(platform::FileSystem& inner) : inner_(inner) {}

    const std::vector<CopyAttempt>& Copies() const { return copies_; }
    const std::vector<DirectoryAttempt>& Directories() const { return directories_; }

    std::string CurrentDirectory(std::size_t capacity) override {
        return inner_.CurrentDirectory(capacity);
    }
    bool WindowsDirectory(std::size_t capacity, std::string& directory) override {
        return inner_.WindowsDirectory(capacity, directory);
    }
    std::uint32_t MakeDirectory(const std::string& path) override {
        const std::uint32_t error = inner_.MakeDirectory(path);
        directories_.push_back({path, error});
        return error;
    }
    std::uint32_t Copy(const std::string& from, const std::string& to, bool failIfExists) override {
        const std::uint32_t error = inner_.Copy(from, to, failIfExists);
        copies_.push_back({from, to, error});
        return error;
    }
    std::uint32_t SetAttributes(const std::string& path, std::uint32_t attributes) override {
        return inner_.SetAttributes(path, attributes);
    }
    std::uint32_t Remove(const std::string& path) override { return inner_.Remove(path); }
    std::uint32_t Rename(const std::string& from, const std::string& to) override {
        return inner_.Rename(from, to);
    }
    std::uint32_t ShortPathName(const std::string& path, std::size_t capacity,
                                std::string& shortPath) override {
        return inner_.ShortPathName(path, capacity, shortPath);
    }
    platform::FileHandle OpenForRead(const std::string& path, std::uint32_t& error) override {
        return inner_.OpenForRead(path, error);
    }
    platform::FileHandle CreateForWrite(const std::string& path, std::uint32_t& error) override {
        return inner_.CreateForWrite(path, error);
    }
    long Read(platform::FileHandle file, char* buffer, std::size_t size) override {
        return inner_.Read(file, buffer, size);
    }
    std::uint32_t Write(platform::FileHandle file, std::string_view data) override {
        return inner_.Write(file, data);
    }
    std::uint32_t Close(platform::FileHandle file) override { return inner_.Close(file); }

  private:
    platform::FileSystem& inner_;
    std::vector<CopyAttempt> copies_;
    std::vector<DirectoryAttempt> directories_;
};

}  // namespace setup32::check
