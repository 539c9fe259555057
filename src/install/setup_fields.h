// The main dialog's fields that the install steps read and write.
#pragma once

#include <memory>
#include <string>

#include "app/progress_dialog.h"
#include "state/context.h"
#include "state/copy_list.h"

namespace setup32 {

struct SetupFields {
    CopyList copyList;
    int osKind = os_kind::kUnrecognised;  // set by RunInstall
    std::string scriptName = kScriptName;
    std::string startDir;
    std::string infDir;
    std::string windowsDir;
    std::unique_ptr<CProgressDlg> progress;
    int showMain = 0;
    int cancelRequested = 0;
};

}  // namespace setup32
