// The modeless progress window of the copy pass (template 130).
#pragma once

#include <memory>
#include <string>

#include "files/copy_progress.h"
#include "platform/ui.h"

namespace setup32 {

struct SetupContext;

namespace progress_ids {
constexpr int kTemplate = 130;
constexpr int kDestination = 1004;
constexpr int kBar = 1003;
constexpr int kCancel = 1005;
constexpr int kSource = 1006;
}  // namespace progress_ids

// Sent by the progress window's Cancel button to the main dialog.
constexpr unsigned kWmCancelRequest = 0x405;

class CProgressDlg : public platform::DialogHandler, public CopyProgress {
  public:
    // `parent` receives WM_CANCELREQUEST when the Cancel button is pressed.
    CProgressDlg(SetupContext& ctx, platform::FontHandle dialogFont,
                 platform::DialogHandler& parent);

    // Creates the window, hidden. Only the first call creates it; until a
    // window exists the calls below do nothing.
    void Create() override;
    void Show() override;
    void SetRange(unsigned count) override;
    void SetPos(int position) override;
    void SetTexts(const std::string& source, const std::string& destination) override;
    // Destroys the window.
    void Close() override;

    bool OnInitDialog(platform::DialogView& view) override;
    void OnCommand(platform::DialogView& view, int controlId) override;
    platform::DialogView* View() const { return view_.get(); }

  private:
    SetupContext& ctx_;
    platform::FontHandle font_;
    platform::DialogHandler& parent_;
    std::unique_ptr<platform::DialogView> view_;
};

}  // namespace setup32
