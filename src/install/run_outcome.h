// What a run of the program came to, and the exit code that tells it to a
// batch file or a deployment tool. The codes are the same whether the main
// dialog was shown or the run was silent.
#pragma once

namespace setup32 {

enum class ExitCode : int {
    kInstalled = 0,          // the install ran to its end and no file was given up
    kExitBeforeInstall = 1,  // Exit pressed (or the dialog closed) before any install
    kNoScript = 2,           // Start could not find or open the setup script; nothing was changed
    kCopyCancelled = 3,      // the copy pass ended early at the cancel question
    kFilesGivenUp = 4,       // one or more files given up at the retry question
    kConfigSysFailed = 5,    // the CONFIG.SYS edit failed and ended the install
    kNoDialog = 6,           // the main dialog could not be created; nothing was done
};

// What one run of the install sequence met.
struct InstallResult {
    bool scriptUnreadable = false;  // no script to read: nothing was done
    bool copyCancelled = false;     // the copy pass ended early; the sequence went on
    int filesGivenUp = 0;           // the sequence went on after each
    bool configSysFailed = false;   // the steps after the CONFIG.SYS edit did not run

    // True when the sequence ran to its end; otherwise the main dialog stays
    // open (and becomes visible in the silent mode).
    bool RanToEnd() const { return !scriptUnreadable && !configSysFailed; }
};

// The exit code of an install: a failed CONFIG.SYS edit first, then an early
// end of the copy pass, then files given up.
ExitCode ExitCodeOf(const InstallResult& result);

// True when the run that has come to `code` so far has installed something,
// or may have: an install got past its script.
bool InstallHasRun(ExitCode code);

// The exit code of a run that had come to `before` and then ran the install
// once more. An install that found no script did nothing, so after an
// earlier install the run keeps that install's code.
ExitCode ExitCodeAfter(ExitCode before, const InstallResult& result);

}  // namespace setup32
