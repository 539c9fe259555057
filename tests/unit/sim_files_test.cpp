// The simulated machine's drives: path lookup, copies, renames, deletes,
// attributes, held files, short names and byte streams.
#include <gtest/gtest.h>

#include "sim_fixture.h"

namespace setup32::testing {
namespace {

using platform::kFileAttributeNormal;
using platform::kFileAttributeReadOnly;
namespace win_error = platform::win_error;

class SimFiles : public SimFixture {
  protected:
    platform::FileSystem& files() { return machine().files; }
};

TEST_F(SimFiles, PathsAreFoundWithoutRegardToCaseAndWithEitherSeparator) {
    sim().WriteFile("C:\\WINDOWS\\System\\Drv.Sys", "driver");
    const char* const spellings[] = {
        "C:\\WINDOWS\\System\\Drv.Sys",    "c:\\windows\\SYSTEM\\drv.sys",
        "C:/Windows/system/DRV.SYS",
        "\\WINDOWS\\SYSTEM\\DRV.SYS",  // root of the current drive, after the change below
        "..\\WINDOWS\\.\\SYSTEM\\DRV.SYS",
    };
    sim().SetCurrentDirectory("C:\\WINDOWS");
    for (const char* path : spellings) {
        EXPECT_EQ(sim().ReadFile(path), "driver") << path;
    }
    sim().SetCurrentDirectory("C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(sim().ReadFile("drv.sys"), "driver");
    EXPECT_EQ(sim().ReadFile("C:drv.sys"), "driver");
}

}  // namespace
}  // namespace setup32::testing
