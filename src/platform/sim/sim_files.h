// The simulated machine's drives: each drive letter maps onto a host
// directory where the files really live. Windows paths are looked up one
// component at a time without regard to case; attributes, files held open
// by other programs and the current and Windows directories are kept here.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/sim/call_gate.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_host.h"

namespace setup32::platform::sim {

class SimFileSystem final : public FileSystem {
  public:
    SimFileSystem(CallGate& gate, const SimHost& host, const SimWindows& windows);
    ~SimFileSystem() override;

    std::string CurrentDirectory(std::size_t capacity) override;
    bool WindowsDirectory(std::size_t capacity, std::string& directory) override;
    std::uint32_t MakeDirectory(const std::string& path) override;
    std::uint32_t Copy(const std::string& from, const std::string& to, bool failIfExists) override;
    std::uint32_t Attributes(const std::string& path, std::uint32_t& attributes) override;
    std::uint32_t SetAttributes(const std::string& path, std::uint32_t attributes) override;
    std::uint32_t Remove(const std::string& path) override;
    std::uint32_t Rename(const std::string& from, const std::string& to) override;
    std::uint32_t ShortPathName(const std::string& path, std::size_t capacity,
                                std::string& shortPath) override;
    FileHandle OpenForRead(const std::string& path, std::uint32_t& error) override;
    FileHandle CreateForWrite(const std::string& path, std::uint32_t& error) override;
    long Read(FileHandle file, char* buffer, std::size_t size) override;
    std::uint32_t Write(FileHandle file, std::string_view data) override;
    std::uint32_t Close(FileHandle file) override;

    void MapDrive(char letter, const std::filesystem::path& hostDirectory);
    void SetCurrentDirectory(const std::string& windowsPath);
    void SetWindowsDirectory(const std::string& windowsPath);
    const std::string& CurrentDirectoryText() const { return currentText_; }
    const std::string& WindowsDirectoryText() const { return windowsDir_; }

    // The host path of a Windows path (empty when its drive is not mapped).
    std::filesystem::path HostPath(const std::string& windowsPath) const;
    // Why the file at `windowsPath` cannot be opened for reading now, or 0;
    // `host` is set to its host path when it can.
    std::uint32_t ReadableHostPath(const std::string& windowsPath,
                                   std::filesystem::path& host) const;
    // Attributes as GetFileAttributesA reports them.
    std::uint32_t AttributesOf(const std::string& windowsPath) const;
    void StoreAttributes(const std::string& windowsPath, std::uint32_t attributes);
    // How another program keeps a file open.
    enum class Hold {
        None,
        Exclusive,    // shares nothing
        ReadSharing,  // opened for reading, sharing reading and writing
    };
    void HoldFile(const std::string& windowsPath, WindowHandle window, Hold hold);
    // How the file at `windowsPath` is held open now.
    Hold HoldOn(const std::string& windowsPath) const;

  private:
    // An absolute place on a drive: the letter (upper case) and the
    // components below its root, as written.
    struct Location {
        char drive = 'C';
        std::vector<std::string> components;
    };
    // Where a Windows path leads on the host.
    struct Target {
        std::filesystem::path host;
        bool exists = false;
        bool isDirectory = false;
        bool parentIsDirectory = false;
        std::string written;  // the last component as the path wrote it
        std::string key;      // names the object in the attribute and hold tables
    };
    struct Stream;

    std::optional<Location> Locate(const std::string& windowsPath) const;
    // 0, or the error of a path that cannot name anything.
    std::uint32_t Resolve(const std::string& windowsPath, Target& target) const;
    Target Lookup(const Location& location) const;
    // The entry of `directory` that `name` stands for: the same name in any
    // letter case, or the long name whose short alias it is.
    std::optional<std::string> FindEntry(const std::filesystem::path& directory,
                                         const std::string& name) const;
    static std::uint32_t MissingError(const Target& target);
    // `windowsPath` as the file system receives it, through the code page;
    // records where that changed the name.
    std::string Received(const std::string& windowsPath);
    // The strongest hold an open window has on `target`.
    Hold HoldOn(const Target& target) const;
    bool IsReadOnly(const Target& target) const;
    // Why an existing `target` cannot be deleted, or 0.
    std::uint32_t RemovableError(const Target& target) const;
    // Why `target` cannot be opened for reading, or 0.
    std::uint32_t ReadableError(const Target& target) const;
    // Why a file cannot be made or written over at `target` (reached by
    // `windowsPath`), or 0; a refusal that only Windows 95 and 98 make is
    // recorded as the version difference `heldDifference`.
    std::uint32_t WritableError(const std::string& windowsPath, const Target& target,
                                const char* heldDifference);
    // Why CopyFileA of a file onto itself (reached by `windowsPath`) fails.
    std::uint32_t CopyOntoItselfError(const std::string& windowsPath);
    // The calls once they pass the gate.
    std::uint32_t MakeDirectoryOnDisk(const std::string& path);
    std::uint32_t CopyOnDisk(const std::string& from, const std::string& to, bool failIfExists);
    std::uint32_t SetAttributesOnDisk(const std::string& path, std::uint32_t attributes);
    std::uint32_t RemoveOnDisk(const std::string& path);
    std::uint32_t RenameOnDisk(const std::string& from, const std::string& to);
    std::uint32_t CreateOnDisk(const std::string& path, FileHandle& handle);
    std::uint32_t DoCopy(const Target& source, const Target& destination);
    std::uint32_t DoRename(const Target& source, const Target& destination);
    // Moves the attributes kept for `fromKey` and everything below it.
    void MoveAttributes(const std::string& fromKey, const std::string& toKey);
    std::string ShortComponent(const std::filesystem::path& directory, const std::string& written,
                               const std::string& onHost) const;
    FileHandle AddStream(std::FILE* file, bool writable);
    Stream* FindStream(FileHandle file);

    CallGate& gate_;
    const SimHost& host_;
    const SimWindows& windows_;
    std::map<char, std::filesystem::path> drives_;
    Location current_;
    std::string currentText_ = "C:\\";
    std::string windowsDir_ = "C:\\WINDOWS";
    std::map<std::string, std::uint32_t> attributes_;
    struct HeldFile {
        std::string key;
        WindowHandle window;
        Hold hold;
    };
    std::vector<HeldFile> held_;
    std::map<FileHandle, std::unique_ptr<Stream>> streams_;
    FileHandle nextStream_ = 4;
};

}  // namespace setup32::platform::sim
