// Reads of profile (INI) files on the simulated machine's drives, by the
// rules the setup relies on: section and key names matched without regard
// to case, values and lines exactly as written, blank lines left out of a
// section, and a section that does not fit answered with capacity - 2.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile.h"
#include "platform/sim/call_gate.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_host.h"

namespace setup32::platform::sim {

class SimProfile final : public Profile {
  public:
    SimProfile(CallGate& gate, const SimHost& host, const SimFileSystem& files);

    std::string ReadString(const std::string& path, const std::string& section,
                           const std::string& key, const std::string& fallback,
                           std::size_t capacity) override;
    SectionBlock ReadSection(const std::string& path, const std::string& section,
                             std::size_t capacity) override;

  private:
    // The file's bytes; empty when it is missing or cannot be read.
    std::string FileText(const std::string& path) const;
    // The lines of the first section of that name, or none.
    std::optional<std::vector<std::string_view>> SectionLines(std::string_view text,
                                                              const std::string& section) const;

    CallGate& gate_;
    const SimHost& host_;
    const SimFileSystem& files_;
};

// Fills a block of exactly `capacity` bytes with `lines` as the profile
// service does (see SectionBlock).
SectionBlock PackSection(const std::vector<std::string_view>& lines, std::size_t capacity);

}  // namespace setup32::platform::sim
