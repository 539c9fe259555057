// The unit of work of the file installation and the one error reporter.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "messages/messages.h"
#include "platform/types.h"

namespace setup32 {

namespace platform {
class MessageBoxes;
}

// Codes that ParseLine returns.
namespace parse_error {
constexpr int kNoEquals = 101;
constexpr int kNoComma = 102;
constexpr int kCommaBeforeEquals = 103;
}  // namespace parse_error

// One file to copy: both paths resolved, as the copy pass hands them to Windows.
class CCopyListItem {
  public:
    virtual ~CCopyListItem() = default;
    // Parses one driver-file line, "key=source,destination": a source that
    // starts with ".\" is taken from `startDir`, a destination that starts
    // with ".\" goes below `windowsDir`; any other path is used as written.
    // 0 when both paths were set, else a parse_error code and both paths
    // stay empty.
    int ParseLine(std::string_view line, const std::string& startDir,
                  const std::string& windowsDir);

    std::string destination;
    std::string source;
};

// In the order the sections list the files. A vector, not a list: the items
// stay where they are (each is held by its pointer), and the shipping file
// takes no list code, with the unwind tables it brings, from libstdc++.
using CopyList = std::vector<std::unique_ptr<CCopyListItem>>;

// Turns an error code into a caption and a text of the message table, and
// shows them.
class CCopyListError {
  public:
    virtual ~CCopyListError() = default;
    // Stores the code and builds the caption and text in the language's
    // column, replacing those of an earlier call.
    void SetError(const Language& language, int code);
    // Shows the stored text under the stored caption, MB_OK, no icon; owned
    // by `owner` (0: no owner).
    void Show(platform::MessageBoxes& boxes, platform::WindowHandle owner) const;

    int Code() const { return code_; }
    const std::string& Caption() const { return caption_; }
    const std::string& Text() const { return text_; }

  private:
    int code_ = 0;
    std::string caption_;
    std::string text_;
};

}  // namespace setup32
