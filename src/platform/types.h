// Plain value types shared by both sides of the seam to Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace setup32::platform {

// An opaque window handle; 0 is "no window".
using WindowHandle = std::uintptr_t;
// An opaque font handle; 0 is "no font".
using FontHandle = std::uintptr_t;

// Windows error codes the setup looks at by value.
namespace win_error {
constexpr std::uint32_t kSuccess = 0;
constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kPathNotFound = 3;
constexpr std::uint32_t kTooManyOpenFiles = 4;
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kInvalidHandle = 6;
constexpr std::uint32_t kWriteProtect = 19;
constexpr std::uint32_t kWriteFault = 29;
constexpr std::uint32_t kReadFault = 30;
constexpr std::uint32_t kSharingViolation = 32;
constexpr std::uint32_t kFileExists = 80;
constexpr std::uint32_t kInvalidName = 123;
constexpr std::uint32_t kAlreadyExists = 183;
constexpr std::uint32_t kMoreData = 234;
constexpr std::uint32_t kNoMoreItems = 259;
constexpr std::uint32_t kNotAllAssigned = 1300;
constexpr std::uint32_t kNoSuchPrivilege = 1313;
constexpr std::uint32_t kKeyDeleted = 1018;
constexpr std::uint32_t kBadPathname = 161;
}  // namespace win_error

// Message-box styles and answers, with the values of the Win32 API.
namespace mb {
constexpr unsigned kOk = 0x00;
constexpr unsigned kYesNo = 0x04;
constexpr unsigned kIconError = 0x10;
constexpr unsigned kIconQuestion = 0x20;
constexpr unsigned kIconExclamation = 0x30;
constexpr unsigned kIconInformation = 0x40;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
}  // namespace mb

// Show codes for windows and started programs.
namespace sw {
constexpr int kHide = 0;
constexpr int kShowNormal = 1;
constexpr int kShow = 5;
constexpr int kShowNA = 8;
}  // namespace sw

constexpr std::uint32_t kFileAttributeNormal = 0x80;
constexpr std::uint32_t kFileAttributeReadOnly = 0x01;
constexpr std::uint32_t kFileAttributeHidden = 0x02;
constexpr std::uint32_t kFileAttributeSystem = 0x04;
constexpr std::uint32_t kFileAttributeDirectory = 0x10;
constexpr unsigned kExitWindowsReboot = 0x02;

// A section as the profile service returns it: the caller's buffer of
// exactly `capacity` bytes holding zero-terminated lines ended by an empty
// one, and the count of characters stored without the final terminator.
// When the lines do not fit, the count is capacity - 2.
struct SectionBlock {
    std::vector<char> bytes;
    std::size_t count = 0;

    std::size_t Capacity() const { return bytes.size(); }
    bool TooLarge() const { return bytes.size() >= 2 && count == bytes.size() - 2; }
    // The lines in order, up to the first empty one.
    std::vector<std::string_view> Lines() const;
};

}  // namespace setup32::platform
