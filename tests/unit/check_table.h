// A check's findings as a table of rows (rule, run, line, severity, lines
// touched), for tests that compare the whole table of a medium in order.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "check/check.h"
#include "host_files.h"

namespace setup32::check {

struct Row {
    std::string rule;
    std::string run;  // "nt40 en"; "every" for a finding every run has
    int line;
    Severity severity;
    std::vector<int> touches;
    bool operator==(const Row& o) const {
        return rule == o.rule && run == o.run && line == o.line && severity == o.severity &&
               touches == o.touches;
    }
};

inline std::ostream& operator<<(std::ostream& out, const Row& row) {
    out << row.rule << " | " << row.run << " | " << row.line << " | " << SeverityName(row.severity)
        << " |";
    for (const int line : row.touches) out << " " << line;
    return out;
}

// The options of a check of tests/media/`medium` on the named platforms,
// in English.
inline CheckOptions OptionsFor(const std::string& medium,
                               const std::vector<std::string>& platforms) {
    CheckOptions options;
    options.medium = kMedia / medium;
    for (const PlatformInfo& platform : Platforms()) {
        for (const std::string& name : platforms) {
            if (name == platform.name) options.platforms.push_back(platform);
        }
    }
    options.languages = {Languages().front()};
    return options;
}

inline CheckResult Check(const CheckOptions& options) {
    std::string whyNot;
    const std::optional<CheckResult> result = CheckMedium(options, whyNot);
    EXPECT_TRUE(result) << whyNot;
    return result.value_or(CheckResult{});
}

inline CheckResult Check(const std::string& medium, const std::vector<std::string>& platforms) {
    return Check(OptionsFor(medium, platforms));
}

inline std::vector<Row> Table(const CheckResult& result) {
    std::vector<Row> rows;
    for (const Finding& f : result.common)
        rows.push_back({f.rule, "every", f.line, f.severity, f.touches});
    for (const RunResult& run : result.runs) {
        for (const Finding& f : run.findings) {
            rows.push_back({f.rule, std::string(run.platform.name) + " " + run.language.name,
                            f.line, f.severity, f.touches});
        }
    }
    return rows;
}

// A medium checked on the named platforms in English, and its whole table
// of findings in order.
struct MediumCase {
    const char* medium;
    std::vector<std::string> platforms;
    std::vector<Row> expected;
};

inline void ExpectTables(const std::vector<MediumCase>& cases) {
    for (const MediumCase& each : cases) {
        SCOPED_TRACE(each.medium);
        EXPECT_EQ(each.expected, Table(Check(each.medium, each.platforms)));
    }
}

constexpr Severity E = Severity::Error;
constexpr Severity W = Severity::Warning;
constexpr Severity N = Severity::Note;

}  // namespace setup32::check
