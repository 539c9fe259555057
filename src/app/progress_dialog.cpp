#include "app/progress_dialog.h"

#include "state/context.h"

namespace setup32 {

CProgressDlg::CProgressDlg(SetupContext& ctx, platform::FontHandle dialogFont,
                           platform::DialogHandler& parent)
    : ctx_(ctx), font_(dialogFont), parent_(parent) {}

void CProgressDlg::Create() {
    if (!view_) view_ = ctx_.sys.dialogs.CreateModeless(progress_ids::kTemplate, *this);
}

// A window that could not be created leaves the copy pass without a
// display: the pass goes on, and these calls do nothing.
void CProgressDlg::Show() {
    if (view_) view_->Show(platform::sw::kShow);
}

void CProgressDlg::SetRange(unsigned count) {
    if (view_) view_->SetProgressRange(progress_ids::kBar, count);
}

void CProgressDlg::SetPos(int position) {
    if (view_) view_->SetProgressPos(progress_ids::kBar, position);
}

void CProgressDlg::SetTexts(const std::string& source, const std::string& destination) {
    if (!view_) return;
    view_->SetItemText(progress_ids::kSource, ctx_.Msg(0) + source);
    view_->SetItemText(progress_ids::kDestination, ctx_.Msg(1) + destination);
}

bool CProgressDlg::OnInitDialog(platform::DialogView& view) {
    view.SetItemFont(progress_ids::kCancel, font_);
    view.SetItemText(progress_ids::kCancel, ctx_.Msg(100));
    view.SetCaption(ctx_.Msg(101));
    view.SetItemFont(progress_ids::kSource, font_);
    view.SetItemFont(progress_ids::kDestination, font_);
    return true;
}

void CProgressDlg::OnCommand(platform::DialogView& /*view*/, int controlId) {
    if (controlId == progress_ids::kCancel) parent_.OnCancelRequest();
}

}  // namespace setup32
