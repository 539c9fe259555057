// What the copy pass shows of its progress, and the display that shows it
// (the progress window of the main dialog).
#pragma once

#include <string>

namespace setup32 {

class CopyProgress {
  public:
    virtual ~CopyProgress() = default;

    // Makes the display, hidden; once made, further calls keep it.
    virtual void Create() = 0;
    virtual void Show() = 0;
    // The pass has `count` entries.
    virtual void SetRange(unsigned count) = 0;
    // `position` entries are handled.
    virtual void SetPos(int position) = 0;
    // The entry being copied.
    virtual void SetTexts(const std::string& source, const std::string& destination) = 0;
    // Takes the display away; a later Create makes it afresh.
    virtual void Close() = 0;
};

}  // namespace setup32
