// Message boxes answered from a script, and dialog windows that record what
// their behaviour did to them.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/sim/call_gate.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_records.h"
#include "platform/ui.h"

namespace setup32::platform::sim {

// A dialog window of the simulated machine, recording what was done to it.
class SimDialogView : public DialogView {
  public:
    struct Item {
        std::string text;
        FontHandle font = 0;
        int fontSets = 0;
    };

    // `owner` is the window a modal dialog was run for (0 for the others).
    SimDialogView(const DialogSettings& settings, CallGate& gate, int templateId,
                  WindowHandle handle, WindowHandle owner);

    WindowHandle Handle() const override { return handle_; }
    int SystemFontHeight() override;
    void SetItemFont(int controlId, FontHandle font) override;
    void SetItemText(int controlId, const std::string& text) override;
    void SetCaption(const std::string& text) override;
    bool AppendSystemMenuItem(unsigned commandId, const std::string& text) override;
    void SetIcon(bool big) override;
    void Show(int command) override;
    void End(int result) override;
    void SetProgressRange(int controlId, unsigned maximum) override;
    int SetProgressPos(int controlId, int position) override;

    int TemplateId() const { return templateId_; }
    WindowHandle Owner() const { return owner_; }
    bool Visible() const { return visible_; }
    bool Destroyed() const { return destroyed_; }
    std::optional<int> EndResult() const { return endResult_; }
    const std::string& Caption() const { return caption_; }
    const Item& ItemAt(int controlId) const;
    const std::map<int, Item>& Items() const { return items_; }
    // The order of calls made on this view ("font 1000", "text 1000", ...).
    const std::vector<std::string>& Log() const { return log_; }
    const std::vector<std::pair<unsigned, std::string>>& SystemMenuItems() const { return menu_; }
    unsigned ProgressMax() const { return progressMax_; }
    // The bar's position, kept within its range as the control does.
    int ProgressPos() const { return position_; }
    // Every position the bar was set to, in order, as asked.
    const std::vector<int>& ProgressPositions() const { return positions_; }
    // A modal dialog becomes visible once initialised, unless ended by then.
    void ShowAfterInit() { visible_ = !endResult_.has_value(); }
    void MarkDestroyed() { destroyed_ = true; }

  private:
    const DialogSettings& settings_;
    CallGate& gate_;
    int templateId_;
    WindowHandle handle_;
    WindowHandle owner_;
    bool visible_ = false;
    bool destroyed_ = false;
    std::optional<int> endResult_;
    std::string caption_;
    std::map<int, Item> items_;
    std::vector<std::string> log_;
    std::vector<std::pair<unsigned, std::string>> menu_;
    unsigned progressMax_ = 100;
    int position_ = 0;
    std::vector<int> positions_;
};

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
