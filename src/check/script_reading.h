// What the program read of the script in a run, as Windows gives it the
// script and as Wine does: the demo, which installs under Wine, learns from
// these what the script says.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/check.h"
#include "check/dry_run.h"
#include "check/medium.h"
#include "check/profile_layout.h"

namespace setup32::check {

// The script as Wine's profile functions read it, line for line: a UTF-8
// byte-order mark read past and the text after it taken as UTF-8 (its
// characters given in code page `codePage` where it has them all).
std::string PastByteOrderMark(std::string_view script, unsigned codePage);
// The script with each comment line blanked, as a section read under Wine
// leaves it out; every other line keeps its number.
std::string WithoutCommentLines(std::string_view script);

// What the program read in the finished run, in UTF-8.
ScriptReading ReadScript(DryRun& run, const std::vector<ProfileSection>& layout, const Plan& plan);

// The finished run's script as Wine reads it, and the list sections whose
// comment lines Windows and Wine read differently: a second run of the
// same machine on the script as Wine reads it, when that differs. None,
// with the reason in `whyNot`, when that run cannot be laid out.
std::optional<WineReading> ReadAsWine(const CheckOptions& options, const MediumListing& medium,
                                      DryRun& run, const std::vector<ProfileSection>& layout,
                                      const ScriptReading& windows, std::string& whyNot);

}  // namespace setup32::check
