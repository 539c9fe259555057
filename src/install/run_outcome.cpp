#include "install/run_outcome.h"

namespace setup32 {

ExitCode ExitCodeOf(const InstallResult& result) {
    if (result.scriptMissing) return ExitCode::kNoScript;
    if (result.configSysFailed) return ExitCode::kConfigSysFailed;
    if (result.copyCancelled) return ExitCode::kCopyCancelled;
    if (result.filesGivenUp > 0) return ExitCode::kFilesGivenUp;
    return ExitCode::kInstalled;
}

}  // namespace setup32
