// A test fixture with a fresh simulated machine: drive C: with the Windows
// directory C:\WINDOWS, drive A: holding the distribution medium and being
// the current directory, and a run-wide context bound to the machine. A test
// fails when a message box came that it did not answer, or when answers it
// queued were never asked for.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/sim/sim_machine.h"
#include "platform/sim/temp_directory.h"
#include "state/context.h"

namespace setup32::testing {

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

    void TearDown() override {
        EXPECT_EQ(sim_.UnexpectedBoxes(), 0) << "message boxes nobody answered:" << BoxTexts();
        EXPECT_EQ(sim_.PendingAnswers(), 0u) << "queued answers that no message box took";
    }

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
    std::string BoxTexts() const {
        std::string texts;
        for (const platform::sim::BoxRecord& box : sim_.Boxes()) texts += "\n  " + box.text;
        return texts;
    }

    platform::sim::TempDirectory root_;
    platform::sim::SimMachine sim_;
    SetupContext ctx_{sim_.machine()};
};

}  // namespace setup32::testing
