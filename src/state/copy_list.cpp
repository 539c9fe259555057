#include "state/copy_list.h"

#include <string_view>

#include "platform/ui.h"
#include "state/ansi_text.h"
#include "state/script.h"

namespace setup32 {
namespace {

constexpr std::string_view kRelativePrefix = ".\\";

bool IsRelative(std::string_view path) {
    return path.substr(0, kRelativePrefix.size()) == kRelativePrefix;
}

std::string ResolveSource(std::string_view text, const std::string& startDir) {
    if (!IsRelative(text)) return std::string(text);
    const std::string separator = IsDriveRoot(startDir) ? "" : "\\";
    return startDir + separator + std::string(text.substr(kRelativePrefix.size()));
}

std::string ResolveDestination(std::string_view text, const std::string& windowsDir) {
    if (!IsRelative(text)) return std::string(text);
    return windowsDir + "\\" + std::string(text.substr(kRelativePrefix.size()));
}

// Message ids of the reporter's captions and texts.
constexpr int kParseCaption = 10;
constexpr int kCopyCaption = 11;
constexpr int kOtherCaption = 12;
constexpr int kErrorNumberText = 21;

struct KnownError {
    int code;
    int caption;
    int text;
};

constexpr KnownError kKnownErrors[] = {
    {parse_error::kNoEquals, kParseCaption, 13},
    {parse_error::kNoComma, kParseCaption, 14},
    {parse_error::kCommaBeforeEquals, kParseCaption, 15},
    {202, kCopyCaption, 16},  // 200 + file not found
    {203, kCopyCaption, 17},  // 200 + path not found
    {204, kCopyCaption, 18},  // 200 + too many open files
    {205, kCopyCaption, 19},  // 200 + access denied
};

}  // namespace

int CCopyListItem::ParseLine(std::string_view line, const std::string& startDir,
                             const std::string& windowsDir) {
    // "=" and "," are below every trail byte, so plain searches are exact.
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return parse_error::kNoEquals;
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) return parse_error::kNoComma;
    if (comma < equals) return parse_error::kCommaBeforeEquals;

    source = ResolveSource(line.substr(equals + 1, comma - equals - 1), startDir);
    destination = ResolveDestination(line.substr(comma + 1), windowsDir);
    return 0;
}

void CCopyListError::SetError(const Language& language, int code) {
    code_ = code;
    for (const KnownError& known : kKnownErrors) {
        if (known.code == code) {
            caption_ = MsgText(language, known.caption);
            text_ = MsgText(language, known.text);
            return;
        }
    }
    caption_ = MsgText(language, kOtherCaption);
    text_ = FillPlaceholder(MsgText(language, kErrorNumberText), "%d", std::to_string(code));
}

void CCopyListError::Show(platform::MessageBoxes& boxes, platform::WindowHandle owner) const {
    boxes.Show(owner, text_, caption_, platform::mb::kOk);
}

}  // namespace setup32
