#include "platform/sim/sim_ui.h"

#include <algorithm>

namespace setup32::platform::sim {
namespace {

constexpr FontHandle kFirstFont = 0xF000;
constexpr unsigned kAboutMenuString = 101;

// The caller's hold on a window whose record the machine keeps: every call
// goes to the record, and dropping the hold destroys the window.
class OwnedWindow final : public DialogView {
  public:
    OwnedWindow(SimDialogView& view, CallGate& gate) : view_(view), gate_(gate) {}
    ~OwnedWindow() override {
        gate_.Record("DestroyWindow", std::to_string(view_.TemplateId()));
        view_.MarkDestroyed();
    }
    OwnedWindow(const OwnedWindow&) = delete;
    OwnedWindow& operator=(const OwnedWindow&) = delete;

    WindowHandle Handle() const override { return view_.Handle(); }
    int SystemFontHeight() override { return view_.SystemFontHeight(); }
    void SetItemFont(int controlId, FontHandle font) override {
        view_.SetItemFont(controlId, font);
    }
    void SetItemText(int controlId, const std::string& text) override {
        view_.SetItemText(controlId, text);
    }
    void SetCaption(const std::string& text) override { view_.SetCaption(text); }
    bool AppendSystemMenuItem(unsigned commandId, const std::string& text) override {
        return view_.AppendSystemMenuItem(commandId, text);
    }
    void SetIcon(bool big) override { view_.SetIcon(big); }
    void Show(int command) override { view_.Show(command); }
    void End(int result) override { view_.End(result); }
    void SetProgressRange(int controlId, unsigned maximum) override {
        view_.SetProgressRange(controlId, maximum);
    }
    int SetProgressPos(int controlId, int position) override {
        return view_.SetProgressPos(controlId, position);
    }

  private:
    SimDialogView& view_;
    CallGate& gate_;
};

}  // namespace

// --- message boxes ---

int SimMessageBoxes::Show(WindowHandle owner, const std::string& text, const std::string& caption,
                          unsigned type) {
    if (gate_.EnterLogged(Call::MessageBoxA, text)) return 0;
    if (!actions_.empty()) {
        const std::function<void()> action = std::move(actions_.front());
        actions_.pop_front();
        action();
    }
    BoxRecord box{owner, text, caption, type, mb::kIdOk};
    if (!answers_.empty()) {
        box.answer = answers_.front();
        answers_.pop_front();
    } else if (responder_) {
        box.answer = responder_(box);
    } else {
        ++unexpected_;
    }
    const int answer = box.answer;
    boxes_.push_back(std::move(box));
    return answer;
}

// --- dialogs ---

SimDialogs::SimDialogs(CallGate& gate, SimWindows& windows) : gate_(gate), windows_(windows) {
    strings_[kAboutMenuString] = "&About M420x Setup Program...";
}

SimDialogs::~SimDialogs() = default;

FontHandle SimDialogs::MakeFont(int height, const std::string& face) {
    if (gate_.Enter(Call::CreateFontA)) return 0;
    fonts_.emplace_back(height, face);
    return kFirstFont + fonts_.size();
}

std::string SimDialogs::ResourceString(unsigned id) {
    if (gate_.Enter(Call::LoadStringA)) return std::string();
    const auto it = strings_.find(id);
    return it == strings_.end() ? std::string() : it->second;
}

SimDialogView& SimDialogs::AddView(int templateId, WindowHandle owner) {
    views_.push_back(
        std::make_unique<SimDialogView>(settings_, gate_, templateId, windows_.NewHandle(), owner));
    viewList_.push_back(views_.back().get());
    return *views_.back();
}

int SimDialogs::RunModal(int templateId, DialogHandler& handler, WindowHandle owner) {
    if (gate_.EnterLogged(Call::DialogBoxParamA, std::to_string(templateId))) return kDialogFailed;
    SimDialogView& view = AddView(templateId, owner);
    handler.OnInitDialog(view);
    view.ShowAfterInit();
    if (!view.EndResult() && !modalActions_.empty()) {
        const ModalAction action = std::move(modalActions_.front());
        modalActions_.pop_front();
        action(view, handler);
    }
    handler.OnDestroy();
    view.MarkDestroyed();
    return view.EndResult().value_or(mb::kIdOk);
}

std::unique_ptr<DialogView> SimDialogs::CreateModeless(int templateId, DialogHandler& handler) {
    if (gate_.EnterLogged(Call::CreateDialogParamA, std::to_string(templateId))) return nullptr;
    SimDialogView& view = AddView(templateId, 0);
    handler.OnInitDialog(view);
    return std::make_unique<OwnedWindow>(view, gate_);
}

std::unique_ptr<DialogView> SimDialogs::NewView(int templateId) {
    return std::make_unique<OwnedWindow>(AddView(templateId, 0), gate_);
}

// --- one dialog window ---

SimDialogView::SimDialogView(const DialogSettings& settings, CallGate& gate, int templateId,
                             WindowHandle handle, WindowHandle owner)
    : settings_(settings), gate_(gate), templateId_(templateId), handle_(handle), owner_(owner) {}

int SimDialogView::SystemFontHeight() {
    return settings_.systemFontHeight;
}

void SimDialogView::SetItemFont(int controlId, FontHandle font) {
    Item& item = items_[controlId];
    item.font = font;
    ++item.fontSets;
    log_.push_back("font " + std::to_string(controlId));
}

void SimDialogView::SetItemText(int controlId, const std::string& text) {
    items_[controlId].text = text;
    log_.push_back("text " + std::to_string(controlId));
    gate_.Record("SetDlgItemTextA", std::to_string(controlId) + " " + text);
}

void SimDialogView::SetCaption(const std::string& text) {
    caption_ = text;
    log_.push_back("caption");
}

bool SimDialogView::AppendSystemMenuItem(unsigned commandId, const std::string& text) {
    if (!settings_.hasSystemMenu) return false;
    menu_.emplace_back(commandId, text);
    return true;
}

void SimDialogView::SetIcon(bool big) {
    log_.push_back(big ? "icon big" : "icon small");
}

void SimDialogView::Show(int command) {
    visible_ = command != sw::kHide;
    log_.push_back("show " + std::to_string(command));
    gate_.Record("ShowWindow", std::to_string(templateId_) + " " + std::to_string(command));
}

void SimDialogView::End(int result) {
    endResult_ = result;
    visible_ = false;
    log_.push_back("end " + std::to_string(result));
    gate_.Record("EndDialog", std::to_string(templateId_) + " " + std::to_string(result));
}

void SimDialogView::SetProgressRange(int controlId, unsigned maximum) {
    progressMax_ = maximum;
    position_ = std::min(position_, static_cast<int>(maximum));
    log_.push_back("range " + std::to_string(controlId) + " " + std::to_string(maximum));
}

int SimDialogView::SetProgressPos(int controlId, int position) {
    const int previous = position_;
    position_ = std::clamp(position, 0, static_cast<int>(progressMax_));
    positions_.push_back(position);
    log_.push_back("pos " + std::to_string(controlId) + " " + std::to_string(position));
    gate_.Record("PBM_SETPOS", std::to_string(position));
    return previous;
}

const SimDialogView::Item& SimDialogView::ItemAt(int controlId) const {
    static const Item kNone;
    const auto it = items_.find(controlId);
    return it == items_.end() ? kNone : it->second;
}

}  // namespace setup32::platform::sim
