// Shared ground for the conformance cases: a fresh backend per case, rows
// that remember the line they were written on, and a way to say that a case
// holds for one backend only.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "backend.h"

namespace setup32::conformance {

// GetVersion values of the versions the cases name.
namespace version {
constexpr std::uint32_t kWindows95 = 0xC0000004;
constexpr std::uint32_t kWindows98 = 0xC0000A04;
constexpr std::uint32_t kWindowsNT4 = 0x05650004;
constexpr std::uint32_t kWindows2000 = 0x08930005;
}  // namespace version

class ConformanceTest : public testing::Test {
  protected:
    ConformanceTest() : backend_(MakeBackend()), machine_(backend_->machine()) {}

    bool IsBackend(const std::string& name) const { return name == backend_->Name(); }
    // The Windows 95/98 family sets bit 31 of the version.
    bool IsWindows9x() const { return (machine_.host.Version() & 0x80000000u) != 0; }
    // Whether a row for `version` and `lcid` runs: a simulated machine is
    // made that; the real one runs the rows of what it is, except those of
    // Windows 95 and 98, as Wine, which runs the suite, behaves as NT in
    // every version setting.
    bool RunsAs(std::uint32_t version, std::uint32_t lcid) {
        // The family bit and the major and minor version tell a version;
        // the rest is a build number.
        constexpr std::uint32_t kVersionBits = 0x8000FFFFu;
        if (backend_->Configure(version, lcid)) return true;
        return (version & 0x80000000u) == 0 &&
               (machine_.host.Version() & kVersionBits) == (version & kVersionBits) &&
               (machine_.host.DefaultLcid() & 0xFFFF) == lcid;
    }
    // The default locale's language and sublanguage.
    std::uint32_t Language() const { return machine_.host.DefaultLcid() & 0xFFFF; }

    // A path in the case's scratch directory.
    std::string Scratch(const std::string& name) {
        if (scratch_.empty()) scratch_ = backend_->ScratchDirectory();
        return name.empty() ? scratch_ : scratch_ + "\\" + name;
    }

    std::unique_ptr<Backend> backend_;
    platform::Machine& machine_;

  private:
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

}  // namespace setup32::conformance
