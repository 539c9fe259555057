// Shared ground for the conformance cases: a fresh backend per case, rows
// that remember the line they were written on, and a way to say that a case
// holds for one backend only.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "backend.h"
#include "platform/windows_versions.h"

namespace setup32::conformance {

// The versions the cases name, from the table of Windows versions, and
// their GetVersion values.
using platform::WindowsVersion;
using platform::windows_version::kWindows2000;
using platform::windows_version::kWindows95;
using platform::windows_version::kWindows98;
using platform::windows_version::kWindowsNT4;
namespace version {
constexpr std::uint32_t kWindows95 = platform::windows_version::kWindows95.getVersion;
constexpr std::uint32_t kWindows98 = platform::windows_version::kWindows98.getVersion;
constexpr std::uint32_t kWindowsNT4 = platform::windows_version::kWindowsNT4.getVersion;
constexpr std::uint32_t kWindows2000 = platform::windows_version::kWindows2000.getVersion;
}  // namespace version

class ConformanceTest : public testing::Test {
  protected:
    ConformanceTest() : backend_(MakeBackend()), machine_(backend_->machine()) {}

    bool IsBackend(const std::string& name) const { return name == backend_->Name(); }
    bool IsWindows9x() const { return !platform::IsNtFamilyVersion(machine_.host.Version()); }
    // Whether a row for `version` and `lcid` runs: a simulated machine is
    // made that; the real one runs the rows of what it is, except those of
    // Windows 95 and 98, as Wine, which runs the suite, behaves as NT in
    // every version setting.
    bool RunsAs(std::uint32_t version, std::uint32_t lcid) {
        if (backend_->Configure(version, lcid)) return true;
        return platform::IsNtFamilyVersion(version) && IsVersion(version) && Language() == lcid;
    }
    // The default locale's language and sublanguage.
    std::uint32_t Language() const { return machine_.host.DefaultLcid() & 0xFFFF; }

    // Runs `check` as each of `versions` this backend can be: every one on
    // the simulated machine, which is set to each in turn; on a real machine
    // only its own version (family, major and minor). Skips the case when
    // none of them is the machine's.
    template <typename Check>
    void ForEachVersion(std::initializer_list<WindowsVersion> versions, Check check) {
        bool ran = false;
        for (const WindowsVersion& version : versions) {
            if (!backend_->Configure(version.getVersion, machine_.host.DefaultLcid()) &&
                !IsVersion(version.getVersion))
                continue;
            SCOPED_TRACE(version.name);
            check();
            ran = true;
        }
        if (!ran) GTEST_SKIP() << "holds for other versions of Windows than this machine's";
    }

    // A path in the case's scratch directory.
    std::string Scratch(const std::string& name) {
        if (scratch_.empty()) scratch_ = backend_->ScratchDirectory();
        return name.empty() ? scratch_ : scratch_ + "\\" + name;
    }

    // A script of exactly these bytes in the scratch directory; its path.
    std::string WriteBytes(std::string_view bytes) {
        const std::string path = Scratch("SETUP32.INI");
        backend_->WriteFile(path, std::string(bytes));
        return path;
    }

    std::unique_ptr<Backend> backend_;
    platform::Machine& machine_;

  private:
    // Whether the machine is `version`, whatever its build.
    bool IsVersion(std::uint32_t version) const {
        return platform::IsSameRelease(machine_.host.Version(), version);
    }

    std::string scratch_;
};

// A table row that knows the line it was written on: ROW(a, b, ...) builds
// {__LINE__, a, b, ...} for a struct whose first member is `int line`.
#define ROW(...) \
    { __LINE__, __VA_ARGS__ }

// Names the row in every failure reported while `row` is checked.
#define TRACE_ROW(row) SCOPED_TRACE(testing::Message() << "row at line " << (row).line)

// Ends the case as skipped unless it runs on the named backend.
#define ONLY_ON_BACKEND(name, reason)                                                     \
    do {                                                                                  \
        if (!IsBackend(name)) GTEST_SKIP() << "holds for " << (name) << ": " << (reason); \
    } while (false)

// Ends the case as skipped unless it runs on the simulated machine: Wine
// behaves as Windows NT in every version setting, so where 95 and 98 differ
// (`id` in wine_differences.tsv) shows on the simulated machine only.
#define ONLY_ON_SIM_AS_9X(id) \
    ONLY_ON_BACKEND("sim", "Wine behaves as Windows NT in every version setting (" id ")")

}  // namespace setup32::conformance
