// The message table, the language column and the platform code.
#pragma once

#include <cstdint>

#include "platform/windows_versions.h"

namespace setup32 {

namespace platform {
class HostFacts;
}

// Platform codes derived from GetVersion: those of the four versions as the
// table of Windows versions gives them, and two more.
namespace os_kind {
constexpr int kUnrecognised = 0;
constexpr int kWindowsNT = platform::windows_version::kWindowsNT4.platformCode;
constexpr int kWindows95 = platform::windows_version::kWindows95.platformCode;
constexpr int kWindows98 = platform::windows_version::kWindows98.platformCode;
constexpr int kWin32s = 4;
constexpr int kWindows2000 = platform::windows_version::kWindows2000.platformCode;
static_assert(!platform::IsSupportedPlatform(kUnrecognised) &&
                  !platform::IsSupportedPlatform(kWin32s),
              "a code of the table of Windows versions is taken");
}  // namespace os_kind

// Primary languages of a LANGID that the program tells apart.
namespace primary_language {
constexpr unsigned kChinese = 0x04;
constexpr unsigned kEnglish = 0x09;
constexpr unsigned kJapanese = 0x11;
}  // namespace primary_language

// The sublanguage of Chinese (Taiwan) that reads the Traditional Chinese texts.
constexpr unsigned kSubLanguageTaiwan = 0x01;

// The language state taken from the system default locale; 0 (English)
// until the system has been identified.
struct Language {
    unsigned primary = 0;  // low 10 bits of the LANGID
    unsigned sub = 0;      // LANGID >> 10
};

struct MessageRow {
    int id;
    const char* english;   // code page 1252
    const char* chinese;   // code page 950 (Big5)
    const char* japanese;  // code page 932
};

constexpr int kEndOfTable = -1;

// The rows in stored order, the last one being the terminator (kEndOfTable,
// empty texts).
extern const MessageRow kMessageTable[];

// The text of message `id` in the language's column: Japanese for primary
// language Japanese, Traditional Chinese for Chinese (Taiwan), English for
// every other language. An empty text for an id that is not in the table
// (and for kEndOfTable). Never null, valid for the whole run.
const char* MsgText(const Language& language, int id);

// The language of a locale id (GetSystemDefaultLCID).
Language LanguageFromLcid(std::uint32_t lcid);
// The os_kind code of a GetVersion value.
int OsKindFromVersion(std::uint32_t version);

struct SystemIdentity {
    Language language;
    int osKind = os_kind::kUnrecognised;
};

// Reads the default locale and the version once, at start-up.
SystemIdentity IdentifySystem(const platform::HostFacts& host);
// The platform code of the running system; stores nothing.
int GetOsKind(const platform::HostFacts& host);

}  // namespace setup32
