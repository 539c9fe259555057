#include "install/run_outcome.h"

namespace setup32 {

ExitCode ExitCodeOf(const InstallResult& result) {
    if (result.scriptUnreadable) return ExitCode::kNoScript;
    if (result.configSysFailed) return ExitCode::kConfigSysFailed;
    if (result.copyCancelled) return ExitCode::kCopyCancelled;
    if (result.filesGivenUp > 0) return ExitCode::kFilesGivenUp;
    return ExitCode::kInstalled;
}

bool InstallHasRun(ExitCode code) {
    return code != ExitCode::kExitBeforeInstall && code != ExitCode::kNoScript &&
           code != ExitCode::kNoDialog;
}

ExitCode ExitCodeAfter(ExitCode before, const InstallResult& result) {
    if (result.scriptUnreadable && InstallHasRun(before)) return before;
    return ExitCodeOf(result);
}

}  // namespace setup32
