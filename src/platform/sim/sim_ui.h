// Message boxes answered from a script, and dialog windows that record what
// their behaviour did to them.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/sim/call_gate.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_machine.h"
#include "platform/ui.h"

namespace setup32::platform::sim {

class SimMessageBoxes final : public MessageBoxes {
  public:
    explicit SimMessageBoxes(CallGate& gate) : gate_(gate) {}

    int Show(WindowHandle owner, const std::string& text, const std::string& caption,
             unsigned type) override;

    void QueueAnswer(int answer) { answers_.push_back(answer); }
    void OnNextBox(std::function<void()> action) { actions_.push_back(std::move(action)); }
    void AnswerBoxesWith(BoxResponder responder) { responder_ = std::move(responder); }
    const std::vector<BoxRecord>& Boxes() const { return boxes_; }
    int UnexpectedBoxes() const { return unexpected_; }
    std::size_t PendingAnswers() const { return answers_.size(); }

  private:
    CallGate& gate_;
    std::deque<int> answers_;
    std::deque<std::function<void()>> actions_;
    BoxResponder responder_;
    std::vector<BoxRecord> boxes_;
    int unexpected_ = 0;
};

class SimDialogs final : public Dialogs {
  public:
    using ModalAction = std::function<void(SimDialogView&, DialogHandler&)>;

    SimDialogs(CallGate& gate, SimWindows& windows);
    ~SimDialogs() override;

    FontHandle MakeFont(int height, const std::string& face) override;
    std::string ResourceString(unsigned id) override;
    int RunModal(int templateId, DialogHandler& handler, WindowHandle owner) override;
    std::unique_ptr<DialogView> CreateModeless(int templateId, DialogHandler& handler) override;

    DialogSettings& Settings() { return settings_; }
    void SetResourceString(unsigned id, const std::string& text) { strings_[id] = text; }
    void OnNextModal(ModalAction action) { modalActions_.push_back(std::move(action)); }
    const std::vector<SimDialogView*>& Views() const { return viewList_; }
    const std::vector<std::pair<int, std::string>>& Fonts() const { return fonts_; }
    // A window the caller owns: dropping it destroys the window, while its
    // record stays with the machine.
    std::unique_ptr<DialogView> NewView(int templateId);

  private:
    SimDialogView& AddView(int templateId, WindowHandle owner);

    CallGate& gate_;
    SimWindows& windows_;
    DialogSettings settings_;
    std::map<unsigned, std::string> strings_;
    std::deque<ModalAction> modalActions_;
    std::vector<std::unique_ptr<SimDialogView>> views_;
    std::vector<SimDialogView*> viewList_;
    std::vector<std::pair<int, std::string>> fonts_;
};

}  // namespace setup32::platform::sim
