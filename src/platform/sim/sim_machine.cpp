#include "platform/sim/sim_machine.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/sim/call_gate.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_host.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_ui.h"

namespace setup32::platform::sim {

class SimMachine::Impl {
  public:
    CallGate gate;
    SimHost host;
    SimWindows windows;
    SimFileSystem files{gate, host, windows};
    SimProfile profile{gate, host, files};
    SimRegistry registry{gate, host};
    SimDesktop desktop{gate, host, windows, files};
    SimMessageBoxes boxes{gate};
    SimDialogs dialogs{gate, windows};
    Machine machine{host, profile, registry, files, desktop, boxes, dialogs};
};

SimMachine::SimMachine() : impl_(std::make_unique<Impl>()) {
    impl_->registry.AddKeysOfVersion();
}
SimMachine::~SimMachine() = default;

Machine& SimMachine::machine() {
    return impl_->machine;
}

// --- configuration ---

void SimMachine::SetVersion(std::uint32_t version) {
    impl_->registry.RemoveKeysOfVersion();
    impl_->host.SetVersion(version);
    impl_->registry.AddKeysOfVersion();
}
void SimMachine::SetLcid(std::uint32_t lcid) {
    impl_->host.SetLcid(lcid);
}
void SimMachine::MapDrive(char letter, const std::filesystem::path& hostDirectory) {
    impl_->files.MapDrive(letter, hostDirectory);
}
void SimMachine::SetCurrentDirectory(const std::string& windowsPath) {
    impl_->files.SetCurrentDirectory(windowsPath);
}
void SimMachine::SetWindowsDirectory(const std::string& windowsPath) {
    impl_->files.SetWindowsDirectory(windowsPath);
}
void SimMachine::SetResourceString(unsigned id, const std::string& text) {
    impl_->dialogs.SetResourceString(id, text);
}
void SimMachine::SetSystemFontHeight(int height) {
    impl_->dialogs.Settings().systemFontHeight = height;
}
void SimMachine::SetHasSystemMenu(bool hasMenu) {
    impl_->dialogs.Settings().hasSystemMenu = hasMenu;
}
void SimMachine::SetPrivilegeHeld(const std::string& name, bool held) {
    impl_->desktop.SetPrivilegeHeld(name, held);
}

// --- files ---

std::filesystem::path SimMachine::HostPath(const std::string& windowsPath) const {
    return impl_->files.HostPath(windowsPath);
}

void SimMachine::WriteFile(const std::string& windowsPath, const std::string& bytes) {
    const std::filesystem::path host = HostPath(windowsPath);
    std::error_code ec;
    std::filesystem::create_directories(host.parent_path(), ec);
    std::ofstream(host, std::ios::binary) << bytes;
}

std::optional<std::string> SimMachine::ReadFile(const std::string& windowsPath) const {
    const std::filesystem::path host = HostPath(windowsPath);
    std::error_code ec;
    if (host.empty() || !std::filesystem::is_regular_file(host, ec)) return std::nullopt;
    std::ifstream in(host, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool SimMachine::Exists(const std::string& windowsPath) const {
    return impl_->files.AttributesOf(windowsPath) != kInvalidFileAttributes;
}

void SimMachine::SetAttributes(const std::string& windowsPath, std::uint32_t attributes) {
    impl_->files.StoreAttributes(windowsPath, attributes);
}

std::uint32_t SimMachine::Attributes(const std::string& windowsPath) const {
    return impl_->files.AttributesOf(windowsPath);
}

// --- registry ---

std::string SimMachine::SaveRegistry(const std::string& prefix) const {
    return impl_->registry.Save(prefix);
}
bool SimMachine::LoadRegistry(const std::string& regedit4) {
    return impl_->registry.Load(regedit4);
}
bool SimMachine::KeyExists(RegRoot root, const std::string& subkey) const {
    return impl_->registry.KeyExists(root, subkey);
}

std::optional<std::string> SimMachine::StringValue(RegRoot root, const std::string& subkey,
                                                   const std::string& name) const {
    const SimRegistry::Value* value = impl_->registry.FindValue(root, subkey, name);
    if (!value || value->type != static_cast<std::uint32_t>(RegType::String)) return std::nullopt;
    const std::vector<char>& data = value->data;
    const auto end = std::find(data.begin(), data.end(), '\0');
    if (end == data.end() || std::next(end) != data.end()) return std::nullopt;
    return std::string(data.begin(), end);
}

std::optional<std::uint32_t> SimMachine::DwordValue(RegRoot root, const std::string& subkey,
                                                    const std::string& name) const {
    const SimRegistry::Value* value = impl_->registry.FindValue(root, subkey, name);
    if (!value || value->type != static_cast<std::uint32_t>(RegType::Dword) ||
        value->data.size() != 4) {
        return std::nullopt;
    }
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i)
        number = (number << 8) | static_cast<unsigned char>(value->data[i]);
    return number;
}

std::vector<std::string> SimMachine::ValueNames(RegRoot root, const std::string& subkey) const {
    return impl_->registry.ValueNames(root, subkey);
}
void SimMachine::DenyRegistryWrites(RegRoot root, const std::string& subkey) {
    impl_->registry.DenyWrites(root, subkey);
}

// --- windows and programs ---

WindowHandle SimMachine::AddWindow(const std::string& title, bool closesOnRequest) {
    return impl_->windows.Add(title, closesOnRequest);
}
void SimMachine::HoldFile(const std::string& windowsPath, WindowHandle window) {
    impl_->files.HoldFile(windowsPath, window, SimFileSystem::Hold::Exclusive);
}
void SimMachine::HoldFileForReading(const std::string& windowsPath, WindowHandle window) {
    impl_->files.HoldFile(windowsPath, window, SimFileSystem::Hold::ReadSharing);
}
const std::vector<WindowRecord>& SimMachine::Windows() const {
    return impl_->windows.All();
}
const std::vector<ExecRecord>& SimMachine::Execs() const {
    return impl_->desktop.Execs();
}
const std::vector<unsigned>& SimMachine::Pauses() const {
    return impl_->desktop.Pauses();
}
const std::vector<unsigned>& SimMachine::Beeps() const {
    return impl_->desktop.Beeps();
}
const std::vector<CursorShape>& SimMachine::Cursors() const {
    return impl_->desktop.Cursors();
}
const std::vector<WindowHandle>& SimMachine::ForegroundCalls() const {
    return impl_->desktop.ForegroundCalls();
}
const std::vector<unsigned>& SimMachine::ExitWindowsCalls() const {
    return impl_->desktop.ExitWindowsCalls();
}
const std::vector<std::pair<std::string, bool>>& SimMachine::PrivilegeCalls() const {
    return impl_->desktop.PrivilegeCalls();
}
const std::vector<Event>& SimMachine::Events() const {
    return impl_->gate.Events();
}
const std::vector<VersionDifferenceMet>& SimMachine::VersionDifferencesMet() const {
    return impl_->gate.VersionDifferencesMet();
}

// --- message boxes ---

void SimMachine::QueueAnswer(int answer) {
    impl_->boxes.QueueAnswer(answer);
}
void SimMachine::OnNextBox(std::function<void()> action) {
    impl_->boxes.OnNextBox(std::move(action));
}
void SimMachine::AnswerBoxesWith(BoxResponder responder) {
    impl_->boxes.AnswerBoxesWith(std::move(responder));
}
const std::vector<BoxRecord>& SimMachine::Boxes() const {
    return impl_->boxes.Boxes();
}
int SimMachine::UnexpectedBoxes() const {
    return impl_->boxes.UnexpectedBoxes();
}
std::size_t SimMachine::PendingAnswers() const {
    return impl_->boxes.PendingAnswers();
}

// --- dialog windows ---

const std::vector<SimDialogView*>& SimMachine::DialogViews() const {
    return impl_->dialogs.Views();
}
const std::vector<std::pair<int, std::string>>& SimMachine::Fonts() const {
    return impl_->dialogs.Fonts();
}
void SimMachine::OnNextModal(std::function<void(SimDialogView&, DialogHandler&)> action) {
    impl_->dialogs.OnNextModal(std::move(action));
}
std::unique_ptr<DialogView> SimMachine::NewView(int templateId) {
    return impl_->dialogs.NewView(templateId);
}

// --- fault injection ---

void SimMachine::FailCall(Call call, std::uint32_t error, int nth, bool persistent) {
    impl_->gate.FailCall(call, error, nth, persistent);
}
void SimMachine::FailNthCall(long n, std::uint32_t error) {
    impl_->gate.FailNthCall(n, error);
}
long SimMachine::CallCount() const {
    return impl_->gate.CallCount();
}
const std::vector<Event>& SimMachine::FailedCalls() const {
    return impl_->gate.FailedCalls();
}
std::vector<std::string> SimMachine::UnfiredFaults() const {
    return impl_->gate.UnfiredFaults();
}

}  // namespace setup32::platform::sim
