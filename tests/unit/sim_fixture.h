// A test fixture with a fresh simulated machine: drive C: with the Windows
// directory C:\WINDOWS, drive A: holding the distribution medium and being
// the current directory, and a run-wide context bound to the machine. A test
// fails when a message box came that it did not answer, when answers it
// queued were never asked for, or when a fault it armed never fired.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/sim/sim_machine.h"
#include "platform/sim/temp_directory.h"
#include "state/context.h"

namespace setup32::testing {

// Fails the running test when `sim` showed a message box nobody answered,
// kept answers no box took, or kept faults no call met.
inline void ExpectScriptPlayedOut(const platform::sim::SimMachine& sim) {
    std::string boxes;
    for (const platform::sim::BoxRecord& box : sim.Boxes()) boxes += "\n  " + box.text;
    EXPECT_EQ(sim.UnexpectedBoxes(), 0) << "message boxes nobody answered:" << boxes;
    EXPECT_EQ(sim.PendingAnswers(), 0u) << "queued answers that no message box took";
    std::string faults;
    for (const std::string& fault : sim.UnfiredFaults()) faults += "\n  " + fault;
    EXPECT_TRUE(faults.empty()) << "faults armed for calls that never came:" << faults;
}

class SimFixture : public ::testing::Test {
  protected:
    static constexpr const char* kMedium = "A:\\";
    static constexpr const char* kScriptPath = "A:\\SETUP32.INI";
    static constexpr const char* kWindowsDir = "C:\\WINDOWS";

    SimFixture() {
        AddDrive('A');
        AddDrive('C');
        std::filesystem::create_directory(root_.path() / "C" / "WINDOWS");
        sim_.SetWindowsDirectory(kWindowsDir);
        sim_.SetCurrentDirectory(kMedium);
    }

    void TearDown() override { ExpectScriptPlayedOut(sim_); }

    // Maps a further drive onto a fresh host directory of the fixture.
    void AddDrive(char letter) { MapDrive(sim_, letter); }
    // Maps `letter` of another machine onto the same host directory, so a
    // test can start a second machine on the same disks.
    void MapDrive(platform::sim::SimMachine& machine, char letter) {
        const std::filesystem::path host = root_.path() / std::string(1, letter);
        std::filesystem::create_directories(host);
        machine.MapDrive(letter, host);
    }

    platform::sim::SimMachine& sim() { return sim_; }
    platform::Machine& machine() { return sim_.machine(); }
    SetupContext& ctx() { return ctx_; }

    // Writes the medium's setup script, byte for byte.
    void WriteScript(const std::string& text) { sim_.WriteFile(kScriptPath, text); }
    // Writes a file of the medium, `relativePath` below A:\.
    void WriteMediumFile(const std::string& relativePath, const std::string& bytes) {
        sim_.WriteFile(std::string(kMedium) + relativePath, bytes);
    }

  private:
    platform::sim::TempDirectory root_;
    platform::sim::SimMachine sim_;
    SetupContext ctx_{sim_.machine()};
};

}  // namespace setup32::testing
