// The conformance backend on the simulated machine: drive C: is a fresh
// host directory, the current directory is its root, and scratch keys lie
// below HKCU\Software\Setup32Conformance.
#include <filesystem>
#include <string>

#include "backend.h"
#include "platform/sim/sim_machine.h"
#include "platform/sim/temp_directory.h"

namespace setup32::conformance {
namespace {

class SimBackend final : public Backend {
  public:
    SimBackend() {
        sim_.MapDrive('C', drive_.path());
        sim_.SetCurrentDirectory("C:\\");
    }

    platform::Machine& machine() override { return sim_.machine(); }
    const char* Name() const override { return "sim"; }

    std::string ScratchDirectory() override {
        const std::string directory = "C:\\scratch" + std::to_string(directories_++);
        std::error_code ec;
        std::filesystem::create_directory(sim_.HostPath(directory), ec);
        return directory;
    }

    void WriteFile(const std::string& windowsPath, const std::string& bytes) override {
        sim_.WriteFile(windowsPath, bytes);
    }

    std::string ReadFile(const std::string& windowsPath) override {
        return sim_.ReadFile(windowsPath).value_or(std::string());
    }

    std::string ScratchRegistryKey() override {
        return "Software\\Setup32Conformance\\" + std::to_string(keys_++);
    }

    bool Configure(std::uint32_t version, std::uint32_t lcid) override {
        sim_.SetVersion(version);
        sim_.SetLcid(lcid);
        return true;
    }

    std::shared_ptr<void> HoldForReading(const std::string& windowsPath) override {
        const platform::WindowHandle viewer = sim_.AddWindow("Viewer - " + windowsPath);
        sim_.HoldFileForReading(windowsPath, viewer);
        platform::Desktop& desktop = sim_.machine().desktop;
        return std::shared_ptr<void>(nullptr,
                                     [&desktop, viewer](void*) { desktop.SendClose(viewer, 0); });
    }

  private:
    platform::sim::TempDirectory drive_{"setup32-conformance"};
    platform::sim::SimMachine sim_;
    int directories_ = 0;
    int keys_ = 0;
};

}  // namespace

std::unique_ptr<Backend> MakeBackend() {
    return std::make_unique<SimBackend>();
}

}  // namespace setup32::conformance
