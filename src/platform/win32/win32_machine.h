// The real Windows behind the seam: one of each Win32 service, handed out
// as a platform::Machine.
#pragma once

#include <memory>

#include "platform/machine.h"
#include "platform/win32/win32_services.h"

namespace setup32::platform::win32 {

class Win32Machine {
  public:
    // The dialog windows come from the application, which knows its module
    // and resources; the machine owns them from here on.
    explicit Win32Machine(std::unique_ptr<Dialogs> dialogs);
    Win32Machine(const Win32Machine&) = delete;
    Win32Machine& operator=(const Win32Machine&) = delete;

    Machine& machine() { return machine_; }

  private:
    Win32HostFacts host_;
    Win32Profile profile_;
    Win32Registry registry_;
    Win32FileSystem files_;
    Win32Desktop desktop_;
    Win32MessageBoxes boxes_;
    std::unique_ptr<Dialogs> dialogs_;
    Machine machine_;
};

}  // namespace setup32::platform::win32
