#include "platform/win32/win32_machine.h"

#include <utility>

namespace setup32::platform::win32 {

Win32Machine::Win32Machine(std::unique_ptr<Dialogs> dialogs)
    : dialogs_(std::move(dialogs)), machine_{host_,    profile_, registry_, files_,
                                             desktop_, boxes_,   *dialogs_} {}

}  // namespace setup32::platform::win32
