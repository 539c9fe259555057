#include "platform/sim/sim_files.h"

#include <algorithm>
#include <cctype>

#include "platform/sim/host_file.h"

namespace setup32::platform::sim {
namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kNotSameDevice = 17;
constexpr std::uint32_t kInsufficientBuffer = 122;
constexpr std::string_view kSeparators = "\\/";
constexpr std::string_view kNotInShortNames = " +,;=[]";
// Characters no file name holds (the Win32 reference, "Naming a File"); a
// path with one of them is refused with ERROR_INVALID_NAME. So is a ":"
// anywhere but after the drive letter: the machine's drives are FAT drives.
constexpr std::string_view kNotInNames = "\"*<>?|";

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool HasDrive(std::string_view path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

char DriveLetter(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// The length of the drive and root part of a path: "C:\", "C:", "\" or nothing.
std::size_t PrefixLength(std::string_view path) {
    std::size_t length = HasDrive(path) ? 2 : 0;
    if (length < path.size() && IsSeparator(path[length])) ++length;
    return length;
}

// A name that already has the 8.3 form: at most 8 characters, a dot and at
// most 3 more, none of them a blank or a character a short name excludes.
bool IsShortName(std::string_view name) {
    if (name == "." || name == "..") return true;
    if (name.empty() || name.find_first_of(kNotInShortNames) != std::string_view::npos) {
        return false;
    }
    const std::size_t dot = name.find('.');
    const std::string_view base = name.substr(0, dot);
    if (base.empty() || base.size() > 8) return false;
    if (dot == std::string_view::npos) return true;
    const std::string_view extension = name.substr(dot + 1);
    return !extension.empty() && extension.size() <= 3 &&
           extension.find('.') == std::string_view::npos;
}

// What a long name keeps in its short alias: up to six characters of the
// name and three of the extension, in upper case, without blanks and dots,
// and with "_" for characters a short name cannot hold.
struct AliasParts {
    std::string base;
    std::string extension;
    bool operator==(const AliasParts& other) const {
        return base == other.base && extension == other.extension;
    }
};

AliasParts AliasPartsOf(std::string_view name, const HostFacts& host) {
    const auto cleaned = [&](std::string_view part, std::size_t keep) {
        std::string text;
        for (const char c : host.UpperCase(part)) {
            if (c == ' ' || c == '.') continue;
            text += kNotInShortNames.find(c) == std::string_view::npos ? c : '_';
        }
        return std::string(CutWhole(text, keep, host));
    };
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return AliasParts{cleaned(name, 6), ""};
    return AliasParts{cleaned(name.substr(0, dot), 6), cleaned(name.substr(dot + 1), 3)};
}

bool HoldsInvalidCharacter(std::string_view path, const HostFacts& host) {
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (host.IsLeadByte(byte)) {
            ++i;
        } else if (byte < 0x20 || kNotInNames.find(path[i]) != std::string_view::npos ||
                   (path[i] == ':' && !(i == 1 && HasDrive(path)))) {
            return true;
        }
    }
    return false;
}

}  // namespace

struct SimFileSystem::Stream {
    HostFile file;
    bool writable;
};

SimFileSystem::SimFileSystem(CallGate& gate, const SimHost& host, const SimWindows& windows)
    : gate_(gate), host_(host), windows_(windows) {}

SimFileSystem::~SimFileSystem() = default;

// --- paths ---

std::optional<SimFileSystem::Location> SimFileSystem::Locate(const std::string& windowsPath) const {
    std::string_view rest = windowsPath;
    Location location = current_;
    if (HasDrive(rest)) {
        const char drive = DriveLetter(rest[0]);
        rest.remove_prefix(2);
        if (drive != current_.drive || (!rest.empty() && IsSeparator(rest[0]))) {
            location = Location{drive, {}};
        }
    } else if (!rest.empty() && IsSeparator(rest[0])) {
        if (rest.size() >= 2 && IsSeparator(rest[1])) return std::nullopt;  // a network path
        location.components.clear();
    }
    for (std::string& piece : SplitText(rest, kSeparators, host_)) {
        if (piece.empty() || piece == ".") continue;
        if (piece == "..") {
            if (!location.components.empty()) location.components.pop_back();
        } else {
            location.components.push_back(std::move(piece));
        }
    }
    return location;
}

std::uint32_t SimFileSystem::Resolve(const std::string& windowsPath, Target& target) const {
    if (windowsPath.empty()) return win_error::kPathNotFound;
    if (HoldsInvalidCharacter(windowsPath, host_)) return win_error::kInvalidName;
    const std::optional<Location> location = Locate(windowsPath);
    if (!location) return win_error::kBadPathname;
    if (drives_.count(location->drive) == 0) return win_error::kPathNotFound;
    target = Lookup(*location);
    return win_error::kSuccess;
}

SimFileSystem::Target SimFileSystem::Lookup(const Location& location) const {
    Target target;
    target.host = drives_.at(location.drive);
    target.exists = true;
    target.isDirectory = true;
    for (const std::string& component : location.components) {
        target.parentIsDirectory = target.exists && target.isDirectory;
        const std::optional<std::string> entry =
            target.parentIsDirectory ? FindEntry(target.host, component) : std::nullopt;
        target.host /= entry.value_or(component);
        target.written = component;
        target.exists = entry.has_value();
        std::error_code ec;
        target.isDirectory = target.exists && fs::is_directory(target.host, ec);
    }
    target.key = target.host.lexically_normal().string();
    return target;
}

std::optional<std::string> SimFileSystem::FindEntry(const fs::path& directory,
                                                    const std::string& name) const {
    std::error_code ec;
    if (fs::exists(directory / name, ec)) return name;
    const auto match = [&](const auto& same) -> std::optional<std::string> {
        for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string entry = it->path().filename().string();
            if (same(entry)) return entry;
        }
        return std::nullopt;
    };
    if (auto entry = match([&](const std::string& e) { return host_.SameName(e, name); })) {
        return entry;
    }
    // A short alias such as PROGRA~1 names its long entry too.
    if (name.find('~') == std::string::npos) return std::nullopt;
    return match([&](const std::string& e) {
        return !IsShortName(e) && host_.SameName(ShortComponent(directory, e, e), name);
    });
}

std::uint32_t SimFileSystem::MissingError(const Target& target) {
    return target.parentIsDirectory ? win_error::kFileNotFound : win_error::kPathNotFound;
}

std::string SimFileSystem::Received(const std::string& windowsPath) {
    // Long names are kept in Unicode on NTFS and on FAT alike, so every
    // version turns the bytes through the ANSI code page.
    std::string received = host_.ThroughUnicode(windowsPath);
    if (received != windowsPath) {
        gate_.RecordVersionDifference(VersionDifferenceMet{
            host_.IsNtFamily() ? "file-name-code-page" : "file-name-code-page-9x", windowsPath, 0});
    }
    return received;
}

SimFileSystem::Hold SimFileSystem::HoldOn(const Target& target) const {
    // A hold is on the name, which need not exist yet; a program that reads
    // a file holds one that exists.
    Hold strongest = Hold::None;
    for (const HeldFile& held : held_) {
        if (!windows_.IsOpen(held.window) || !host_.SameName(held.key, target.key)) continue;
        if (held.hold == Hold::Exclusive) return Hold::Exclusive;
        if (target.exists) strongest = Hold::ReadSharing;
    }
    return strongest;
}

SimFileSystem::Hold SimFileSystem::HoldOn(const std::string& windowsPath) const {
    Target target;
    if (Resolve(windowsPath, target) != win_error::kSuccess) return Hold::None;
    return HoldOn(target);
}

bool SimFileSystem::IsReadOnly(const Target& target) const {
    const auto it = attributes_.find(target.key);
    return it != attributes_.end() && (it->second & kFileAttributeReadOnly) != 0;
}

std::uint32_t SimFileSystem::RemovableError(const Target& target) const {
    // Deleting needs a share of deletion, which no hold gives.
    if (target.isDirectory) return win_error::kAccessDenied;
    if (HoldOn(target) != Hold::None) return win_error::kSharingViolation;
    if (IsReadOnly(target)) return win_error::kAccessDenied;
    return win_error::kSuccess;
}

std::uint32_t SimFileSystem::ReadableError(const Target& target) const {
    if (!target.exists) return MissingError(target);
    if (target.isDirectory) return win_error::kAccessDenied;
    return HoldOn(target) == Hold::Exclusive ? win_error::kSharingViolation : win_error::kSuccess;
}

std::uint32_t SimFileSystem::WritableError(const std::string& windowsPath, const Target& target,
                                           const char* heldDifference) {
    if (!target.exists && !target.parentIsDirectory) return win_error::kPathNotFound;
    if (target.isDirectory) return win_error::kAccessDenied;
    switch (HoldOn(target)) {
        case Hold::Exclusive:
            return win_error::kSharingViolation;
        case Hold::ReadSharing:
            // The NT family writes over a file that its reader shares for
            // writing; Windows 95 and 98 refuse.
            if (!host_.IsNtFamily()) {
                gate_.RecordVersionDifference(VersionDifferenceMet{heldDifference, windowsPath, 0});
                return win_error::kSharingViolation;
            }
            break;
        case Hold::None:
            break;
    }
    return target.exists && IsReadOnly(target) ? win_error::kAccessDenied : win_error::kSuccess;
}

// --- configuration and test helpers ---

void SimFileSystem::MapDrive(char letter, const fs::path& hostDirectory) {
    drives_[DriveLetter(letter)] = hostDirectory;
}

void SimFileSystem::SetCurrentDirectory(const std::string& windowsPath) {
    if (const std::optional<Location> location = Locate(windowsPath)) {
        current_ = *location;
        currentText_ = std::string(1, current_.drive) + ":\\";
        for (std::size_t i = 0; i < current_.components.size(); ++i) {
            currentText_ += (i == 0 ? "" : "\\") + current_.components[i];
        }
    }
}

void SimFileSystem::SetWindowsDirectory(const std::string& windowsPath) {
    windowsDir_ = windowsPath;
}

fs::path SimFileSystem::HostPath(const std::string& windowsPath) const {
    Target target;
    return Resolve(windowsPath, target) == win_error::kSuccess ? target.host : fs::path();
}

std::uint32_t SimFileSystem::ReadableHostPath(const std::string& windowsPath,
                                              fs::path& host) const {
    Target target;
    if (const std::uint32_t error = Resolve(windowsPath, target)) return error;
    if (const std::uint32_t error = ReadableError(target)) return error;
    host = target.host;
    return win_error::kSuccess;
}

std::uint32_t SimFileSystem::AttributesOf(const std::string& windowsPath) const {
    Target target;
    if (Resolve(windowsPath, target) != win_error::kSuccess || !target.exists) {
        return kInvalidFileAttributes;
    }
    const auto it = attributes_.find(target.key);
    if (target.isDirectory) {
        return kFileAttributeDirectory | (it == attributes_.end() ? 0 : it->second);
    }
    return it == attributes_.end() ? kFileAttributeNormal : it->second;
}

void SimFileSystem::StoreAttributes(const std::string& windowsPath, std::uint32_t attributes) {
    Target target;
    if (Resolve(windowsPath, target) != win_error::kSuccess) return;
    attributes &= ~(kFileAttributeNormal | kFileAttributeDirectory);
    if (attributes == 0) {
        attributes_.erase(target.key);
    } else {
        attributes_[target.key] = attributes;
    }
}

void SimFileSystem::HoldFile(const std::string& windowsPath, WindowHandle window, Hold hold) {
    Target target;
    if (Resolve(windowsPath, target) == win_error::kSuccess) {
        held_.push_back(HeldFile{target.key, window, hold});
    }
}

// --- directories and files ---

std::string SimFileSystem::CurrentDirectory(std::size_t capacity) {
    if (gate_.Enter(Call::GetCurrentDirectoryA)) return std::string();
    return currentText_.size() < capacity ? currentText_ : std::string();
}

bool SimFileSystem::WindowsDirectory(std::size_t capacity, std::string& directory) {
    if (gate_.Enter(Call::GetWindowsDirectoryA)) return false;
    if (windowsDir_.empty() || windowsDir_.size() >= capacity) return false;
    directory = windowsDir_;
    return true;
}

std::uint32_t SimFileSystem::MakeDirectory(const std::string& path) {
    return gate_.LoggedOnPaths(Call::CreateDirectoryA, {path},
                               [&] { return MakeDirectoryOnDisk(path); });
}

std::uint32_t SimFileSystem::MakeDirectoryOnDisk(const std::string& path) {
    Target target;
    if (const std::uint32_t error = Resolve(Received(path), target)) return error;
    if (target.exists) return win_error::kAlreadyExists;
    if (!target.parentIsDirectory) return win_error::kPathNotFound;
    std::error_code ec;
    return fs::create_directory(target.host, ec) ? win_error::kSuccess : win_error::kAccessDenied;
}

std::uint32_t SimFileSystem::Copy(const std::string& from, const std::string& to,
                                  bool failIfExists) {
    return gate_.LoggedOnPaths(Call::CopyFileA, {from, to},
                               [&] { return CopyOnDisk(from, to, failIfExists); });
}

std::uint32_t SimFileSystem::CopyOnDisk(const std::string& from, const std::string& to,
                                        bool failIfExists) {
    Target source, destination;
    if (const std::uint32_t error = Resolve(Received(from), source)) return error;
    if (const std::uint32_t error = ReadableError(source)) return error;
    if (const std::uint32_t error = Resolve(Received(to), destination)) return error;
    if (destination.exists && failIfExists) return win_error::kFileExists;
    if (destination.key == source.key) return CopyOntoItselfError(to);
    if (const std::uint32_t error = WritableError(to, destination, "write-over-open-file"))
        return error;
    return DoCopy(source, destination);
}

std::uint32_t SimFileSystem::CopyOntoItselfError(const std::string& windowsPath) {
    // NT opens the source and then fails to open it again for writing.
    if (host_.IsNtFamily()) return win_error::kSharingViolation;
    gate_.RecordVersionDifference(VersionDifferenceMet{"win9x-copy-onto-itself", windowsPath, 0});
    return win_error::kFileExists;
}

std::uint32_t SimFileSystem::DoCopy(const Target& source, const Target& destination) {
    std::error_code ec;
    fs::copy_file(source.host, destination.host, fs::copy_options::overwrite_existing, ec);
    if (ec) return win_error::kAccessDenied;
    const auto it = attributes_.find(source.key);
    if (it == attributes_.end()) {
        attributes_.erase(destination.key);
    } else {
        attributes_[destination.key] = it->second;
    }
    return win_error::kSuccess;
}

std::uint32_t SimFileSystem::Attributes(const std::string& path, std::uint32_t& attributes) {
    if (const auto error = gate_.Enter(Call::GetFileAttributesA)) return *error;
    const std::string received = Received(path);
    Target target;
    if (const std::uint32_t error = Resolve(received, target)) return error;
    if (!target.exists) return MissingError(target);
    attributes = AttributesOf(received);
    return win_error::kSuccess;
}

std::uint32_t SimFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    return gate_.LoggedOnPaths(Call::SetFileAttributesA, {path},
                               [&] { return SetAttributesOnDisk(path, attributes); });
}

std::uint32_t SimFileSystem::SetAttributesOnDisk(const std::string& path,
                                                 std::uint32_t attributes) {
    const std::string received = Received(path);
    Target target;
    if (const std::uint32_t error = Resolve(received, target)) return error;
    if (!target.exists) return MissingError(target);
    StoreAttributes(received, attributes);
    return win_error::kSuccess;
}

std::uint32_t SimFileSystem::Remove(const std::string& path) {
    return gate_.LoggedOnPaths(Call::DeleteFileA, {path}, [&] { return RemoveOnDisk(path); });
}

std::uint32_t SimFileSystem::RemoveOnDisk(const std::string& path) {
    Target target;
    if (const std::uint32_t error = Resolve(Received(path), target)) return error;
    if (!target.exists) return MissingError(target);
    if (const std::uint32_t error = RemovableError(target)) return error;
    std::error_code ec;
    if (!fs::remove(target.host, ec)) return win_error::kAccessDenied;
    attributes_.erase(target.key);
    return win_error::kSuccess;
}

std::uint32_t SimFileSystem::Rename(const std::string& from, const std::string& to) {
    return gate_.LoggedOnPaths(Call::MoveFileA, {from, to}, [&] { return RenameOnDisk(from, to); });
}

std::uint32_t SimFileSystem::RenameOnDisk(const std::string& from, const std::string& to) {
    Target source, destination;
    if (const std::uint32_t error = Resolve(Received(from), source)) return error;
    if (!source.exists) return MissingError(source);
    if (HoldOn(source) != Hold::None) return win_error::kSharingViolation;
    if (const std::uint32_t error = Resolve(Received(to), destination)) return error;
    // A new letter case of the same name is a rename, not a clash.
    if (destination.exists && destination.key != source.key) return win_error::kAlreadyExists;
    if (!destination.exists && !destination.parentIsDirectory) return win_error::kPathNotFound;
    return DoRename(source, destination);
}

std::uint32_t SimFileSystem::DoRename(const Target& source, const Target& destination) {
    const fs::path to = destination.exists ? destination.host.parent_path() / destination.written
                                           : destination.host;
    std::error_code ec;
    fs::rename(source.host, to, ec);
    if (ec) {
        // Another drive: a file is copied and the original removed; a
        // directory cannot move there.
        if (source.isDirectory) return kNotSameDevice;
        if (!fs::copy_file(source.host, to, ec) || ec) return win_error::kAccessDenied;
        fs::remove(source.host, ec);
    }
    MoveAttributes(source.key, to.lexically_normal().string());
    return win_error::kSuccess;
}

void SimFileSystem::MoveAttributes(const std::string& fromKey, const std::string& toKey) {
    const std::string below = fromKey + fs::path::preferred_separator;
    std::map<std::string, std::uint32_t> moved;
    for (auto it = attributes_.begin(); it != attributes_.end();) {
        if (it->first == fromKey || it->first.rfind(below, 0) == 0) {
            moved[toKey + it->first.substr(fromKey.size())] = it->second;
            it = attributes_.erase(it);
        } else {
            ++it;
        }
    }
    attributes_.merge(moved);
}

std::uint32_t SimFileSystem::ShortPathName(const std::string& path, std::size_t capacity,
                                           std::string& shortPath) {
    if (const auto error = gate_.Enter(Call::GetShortPathNameA)) return *error;
    Target target;
    if (const std::uint32_t error = Resolve(Received(path), target)) return error;
    if (!target.exists) return MissingError(target);

    // Each component is shortened in its own directory, walking the path as written.
    const std::size_t prefixLength = PrefixLength(path);
    std::string result = path.substr(0, prefixLength);
    Location location = *Locate(result.empty() ? std::string(".") : result);
    const std::vector<std::string> pieces =
        SplitText(std::string_view(path).substr(prefixLength), kSeparators, host_);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const std::string& piece = pieces[i];
        std::string shortPiece = piece;
        if (piece == "..") {
            if (!location.components.empty()) location.components.pop_back();
        } else if (!piece.empty() && piece != ".") {
            location.components.push_back(piece);
            const Target step = Lookup(location);
            shortPiece =
                ShortComponent(step.host.parent_path(), piece, step.host.filename().string());
        }
        result += (i == 0 ? "" : "\\") + shortPiece;
    }
    if (result.size() >= capacity) return kInsufficientBuffer;
    shortPath = result;
    return win_error::kSuccess;
}

std::string SimFileSystem::ShortComponent(const fs::path& directory, const std::string& written,
                                          const std::string& onHost) const {
    if (IsShortName(written)) return written;
    // Long names that share their alias parts are numbered ~1, ~2, ... in
    // the order of their names.
    const AliasParts parts = AliasPartsOf(onHost, host_);
    std::vector<std::string> siblings;
    std::error_code ec;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!IsShortName(name) && AliasPartsOf(name, host_) == parts) siblings.push_back(name);
    }
    std::sort(siblings.begin(), siblings.end());
    const auto position = std::find(siblings.begin(), siblings.end(), onHost);
    const std::string number = std::to_string(position - siblings.begin() + 1);
    const std::string base(CutWhole(parts.base, 7 - number.size(), host_));
    return base + "~" + number + (parts.extension.empty() ? "" : "." + parts.extension);
}

// --- byte streams ---

FileHandle SimFileSystem::AddStream(std::FILE* file, bool writable) {
    ++nextStream_;
    streams_[nextStream_] = std::make_unique<Stream>(Stream{HostFile(file), writable});
    return nextStream_;
}

SimFileSystem::Stream* SimFileSystem::FindStream(FileHandle file) {
    const auto it = streams_.find(file);
    return it == streams_.end() ? nullptr : it->second.get();
}

FileHandle SimFileSystem::OpenForRead(const std::string& path, std::uint32_t& error) {
    if (const auto fault = gate_.Enter(Call::_lopen)) {
        error = *fault;
        return 0;
    }
    Target target;
    error = Resolve(Received(path), target);
    if (error == 0) error = ReadableError(target);
    std::FILE* const file = error == 0 ? std::fopen(target.host.c_str(), "rb") : nullptr;
    if (error == 0 && !file) error = win_error::kAccessDenied;
    return file ? AddStream(file, false) : 0;
}

FileHandle SimFileSystem::CreateForWrite(const std::string& path, std::uint32_t& error) {
    FileHandle handle = 0;
    error = gate_.LoggedOnPaths(Call::_lcreat, {path}, [&] { return CreateOnDisk(path, handle); });
    return handle;
}

std::uint32_t SimFileSystem::CreateOnDisk(const std::string& path, FileHandle& handle) {
    Target target;
    std::uint32_t error = Resolve(Received(path), target);
    if (error == 0) error = WritableError(path, target, "win9x-lcreat-over-open-file");
    std::FILE* const file = error == 0 ? std::fopen(target.host.c_str(), "wb") : nullptr;
    if (error == 0 && !file) error = win_error::kAccessDenied;
    if (!file) return error;
    attributes_.erase(target.key);
    handle = AddStream(file, true);
    return error;
}

long SimFileSystem::Read(FileHandle file, char* buffer, std::size_t size) {
    if (gate_.Enter(Call::_lread)) return -1;
    Stream* const stream = FindStream(file);
    if (!stream || stream->writable) return -1;
    const std::size_t count = std::fread(buffer, 1, size, stream->file.get());
    return std::ferror(stream->file.get()) ? -1 : static_cast<long>(count);
}

std::uint32_t SimFileSystem::Write(FileHandle file, std::string_view data) {
    if (const auto error = gate_.Enter(Call::_lwrite)) return *error;
    Stream* const stream = FindStream(file);
    if (!stream) return win_error::kInvalidHandle;
    if (!stream->writable) return win_error::kAccessDenied;
    const std::size_t written = std::fwrite(data.data(), 1, data.size(), stream->file.get());
    return written == data.size() ? win_error::kSuccess : win_error::kWriteFault;
}

std::uint32_t SimFileSystem::Close(FileHandle file) {
    const auto fault = gate_.Enter(Call::_lclose);
    const auto it = streams_.find(file);
    if (it == streams_.end()) return fault.value_or(win_error::kInvalidHandle);
    // The handle is gone even when the close reports a failure.
    const bool closed = std::fclose(it->second->file.release()) == 0;
    streams_.erase(it);
    if (fault) return *fault;
    return closed ? win_error::kSuccess : win_error::kWriteFault;
}

}  // namespace setup32::platform::sim
