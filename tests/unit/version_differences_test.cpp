// The differences between Windows versions that the simulated machine
// models are its contract with the checker and the guide: each row's
// versions, certainty and the source it stands on are held here whole, so a
// row that changes fails until this table changes with it.
#include "platform/sim/version_differences.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace setup32::testing {
namespace {

struct Row {
    std::string_view id;
    std::string_view versions;
    bool certain;
    std::string_view cites;  // words of the source that name it
};

const std::vector<Row> kContract = {
    {"win9x-control-char", "95 98", false,
     "Strings containing control characters may be truncated."},
    {"utf16-bom", "95 98 NT", true, "PROFILE_DetectTextEncoding"},
    {"section-32k", "95 98", false, "Q230194"},
    {"win9x-profile-64k", "95 98", false, "Q78346"},
    {"held-profile", "95 98", true, "test_profile_delete_on_close"},
    {"write-over-open-file", "95 98", true, "test_CopyFileA"},
    {"win9x-lcreat-over-open-file", "95 98", false, "no source for _lcreat"},
    {"win9x-copy-onto-itself", "95 98", true, "broken(GetLastError() == ERROR_FILE_EXISTS)"},
    {"registry-value-name-255", "95 98", true, "255 characters"},
    {"registry-value-16300", "95 98", true, "16,300 bytes"},
    {"registry-key-60k", "95", false, "Q122867"},
    {"file-name-code-page", "NT 2000", true, "Naming a File"},
    {"file-name-code-page-9x", "95 98", false, "not documented"},
    {"registry-name-code-page", "NT 2000", true, "converted to Unicode"},
};

TEST(VersionDifferences, TheTableIsTheModelsContract) {
    const std::vector<platform::sim::VersionDifference>& table =
        platform::sim::VersionDifferences();
    ASSERT_EQ(table.size(), kContract.size());
    for (std::size_t i = 0; i < kContract.size(); ++i) {
        const Row& row = kContract[i];
        SCOPED_TRACE(row.id);
        EXPECT_EQ(table[i].id, row.id);
        EXPECT_EQ(table[i].versions, row.versions);
        EXPECT_EQ(table[i].certain, row.certain);
        EXPECT_NE(table[i].source.find(row.cites), std::string_view::npos) << table[i].source;
        EXPECT_EQ(&platform::sim::VersionDifferenceById(row.id), &table[i]);
    }
}

}  // namespace
}  // namespace setup32::testing
