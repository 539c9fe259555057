// The backend a conformance case runs against: the simulated machine in the
// native build, the real Win32 API in the Windows build.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/machine.h"

namespace setup32::conformance {

class Backend {
  public:
    virtual ~Backend() = default;
    virtual platform::Machine& machine() = 0;
    // "sim" or "win32", for cases that hold on one backend only.
    virtual const char* Name() const = 0;
    // A fresh, empty directory for the case, as a Windows path without a
    // trailing backslash. Removed with the backend.
    virtual std::string ScratchDirectory() = 0;
    // Writes a file byte for byte (test set-up, outside the seam).
    virtual void WriteFile(const std::string& windowsPath, const std::string& bytes) = 0;
    virtual std::string ReadFile(const std::string& windowsPath) = 0;
    // A registry key below HKEY_CURRENT_USER that is empty at the start of
    // the case and removed with the backend.
    virtual std::string ScratchRegistryKey() = 0;
    // Makes a simulated machine report and behave as this version (a
    // GetVersion value) and default locale; false on the real system, which
    // is what it is.
    virtual bool Configure(std::uint32_t version, std::uint32_t lcid) = 0;
    // Keeps an existing file open for reading, sharing reading and writing,
    // as a program that shows the file does, until the result is dropped.
    virtual std::shared_ptr<void> HoldForReading(const std::string& windowsPath) = 0;
};

std::unique_ptr<Backend> MakeBackend();

}  // namespace setup32::conformance
