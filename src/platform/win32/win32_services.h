// The seam's services on the real Win32 API. Each method is the one Win32
// call its seam comment names; error codes pass through unchanged.
#pragma once

#include <windows.h>

#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/ui.h"

namespace setup32::platform::win32 {

class Win32HostFacts final : public HostFacts {
  public:
    std::uint32_t Version() const override;
    std::uint32_t DefaultLcid() const override;
    unsigned AnsiCodePage() const override;
    bool IsLeadByte(unsigned char byte) const override;
    std::string UpperCase(std::string_view text) const override;
};

class Win32Profile final : public Profile {
  public:
    std::string ReadString(const std::string& path, const std::string& section,
                           const std::string& key, const std::string& fallback,
                           std::size_t capacity) override;
    SectionBlock ReadSection(const std::string& path, const std::string& section,
                             std::size_t capacity) override;
    SectionBlock ReadSectionNames(const std::string& path, std::size_t capacity) override;
};

class Win32Registry final : public Registry {
  public:
    long SetDefaultValue(RegRoot root, const std::string& subkey, const std::string& text) override;
    long CreateKey(RegRoot root, const std::string& subkey, RegHandle& key, bool* created) override;
    long OpenKey(RegRoot root, const std::string& subkey, RegAccess access,
                 RegHandle& key) override;
    long SetValue(RegHandle key, const std::string& name, RegType type,
                  const std::vector<char>& data) override;
    long QueryValue(RegHandle key, const std::string& name, std::uint32_t capacity,
                    std::vector<char>& data) override;
    long DeleteValue(RegHandle key, const std::string& name) override;
    long EnumKey(RegHandle key, std::uint32_t index, std::string& name) override;
    long DeleteKey(RegRoot root, const std::string& subkey) override;
    long CloseKey(RegHandle key) override;
};

class Win32FileSystem final : public FileSystem {
  public:
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
};

class Win32Desktop final : public Desktop {
  public:
    std::uint32_t Exec(const std::string& commandLine, int show) override;
    WindowHandle FindTopWindow(const std::string& title) override;
    bool SendClose(WindowHandle window, unsigned timeoutMs) override;
    void BringToForeground(WindowHandle window) override;
    void Beep(unsigned type) override;
    void SetCursorShape(CursorShape shape) override;
    void Pause(unsigned milliseconds) override;
    std::uint32_t AdjustPrivilege(const std::string& name, bool enable) override;
    bool ShutDownSystem(unsigned flags) override;
};

class Win32MessageBoxes final : public MessageBoxes {
  public:
    int Show(WindowHandle owner, const std::string& text, const std::string& caption,
             unsigned type) override;
};

}  // namespace setup32::platform::win32
