#include "messages/messages.h"

#include "messages/message_texts.h"
#include "platform/host.h"

namespace setup32 {

namespace {

namespace en = message_texts::english;
namespace zh = message_texts::chinese;
namespace ja = message_texts::japanese;

// The rows that read the same in every language; ASCII, so their bytes are
// the same in all three code pages.
constexpr char kVersionLine[] = "VELKA System Setup Version 1.12.1";
constexpr char kCopyrightLine[] = "Copyright (C) 2001 VELKA Technology Corp.";
constexpr char kEmpty[] = "";

}  // namespace

const MessageRow kMessageTable[] = {
    {9000, en::k9000, zh::k9000, ja::k9000},
    {0, en::k0, zh::k0, ja::k0},
    {1, en::k1, zh::k1, ja::k1},
    {10, en::k10, zh::k10, ja::k10},
    {11, en::k11, zh::k11, ja::k11},
    {12, en::k12, zh::k12, ja::k12},
    {13, en::k13, zh::k13, ja::k13},
    {14, en::k14, zh::k14, ja::k14},
    {15, en::k15, zh::k15, ja::k15},
    {16, en::k16, zh::k16, ja::k16},
    {17, en::k17, zh::k17, ja::k17},
    {18, en::k18, zh::k18, ja::k18},
    {19, en::k19, zh::k19, ja::k19},
    {21, en::k21, zh::k21, ja::k21},
    {40, en::k40, zh::k40, ja::k40},
    {41, en::k41, zh::k41, ja::k41},
    {42, en::k42, zh::k42, ja::k42},
    {43, en::k43, zh::k43, ja::k43},
    {44, en::k44, zh::k44, ja::k44},
    {45, en::k45, zh::k45, ja::k45},
    {46, en::k46, zh::k46, ja::k46},
    {47, en::k47, zh::k47, ja::k47},
    {48, en::k48, zh::k48, ja::k48},
    {49, en::k49, zh::k49, ja::k49},
    {50, en::k50, zh::k50, ja::k50},
    {51, en::k51, zh::k51, ja::k51},
    {52, en::k52, zh::k52, ja::k52},
    {53, en::k53, zh::k53, ja::k53},
    {54, en::k54, zh::k54, ja::k54},
    {55, en::k55, zh::k55, ja::k55},
    {56, en::k56, zh::k56, ja::k56},
    {57, en::k57, zh::k57, ja::k57},
    {58, en::k58, zh::k58, ja::k58},
    {59, en::k59, zh::k59, ja::k59},
    {60, en::k60, zh::k60, ja::k60},
    {61, en::k61, zh::k61, ja::k61},
    {62, en::k62, zh::k62, ja::k62},
    {63, en::k63, zh::k63, ja::k63},
    {64, en::k64, zh::k64, ja::k64},
    {70, kVersionLine, kVersionLine, kVersionLine},
    {71, kCopyrightLine, kCopyrightLine, kCopyrightLine},
    {72, en::k72, zh::k72, ja::k72},
    {73, en::k73, zh::k73, ja::k73},
    {90, en::k90, zh::k90, ja::k90},
    {91, kEmpty, kEmpty, kEmpty},
    {92, kEmpty, kEmpty, kEmpty},
    {93, kEmpty, kEmpty, kEmpty},
    {100, en::k100, zh::k100, ja::k100},
    {101, en::k101, zh::k101, ja::k101},
    {kEndOfTable, kEmpty, kEmpty, kEmpty},
};

namespace {

const char* ColumnText(const MessageRow& row, const Language& language) {
    if (language.primary == primary_language::kJapanese) return row.japanese;
    if (language.primary == primary_language::kChinese && language.sub == kSubLanguageTaiwan)
        return row.chinese;
    return row.english;
}

}  // namespace

const char* MsgText(const Language& language, int id) {
    const MessageRow* row = kMessageTable;
    for (; row->id != kEndOfTable; ++row) {
        if (row->id == id) return ColumnText(*row, language);
    }
    return row->english;  // the terminator's empty text
}

Language LanguageFromLcid(std::uint32_t lcid) {
    const unsigned langid = lcid & 0xFFFFu;
    return Language{langid & 0x3FFu, langid >> 10};
}

int OsKindFromVersion(std::uint32_t version) {
    const unsigned major = version & 0xFFu;
    const unsigned minor = (version >> 8) & 0xFFu;
    if (platform::IsNtFamilyVersion(version))
        return major == 5 && minor == 0 ? os_kind::kWindows2000 : os_kind::kWindowsNT;
    switch (major) {
        case 4:
            return minor == 10 ? os_kind::kWindows98 : os_kind::kWindows95;
        case 3:
            return os_kind::kWin32s;
        default:
            return os_kind::kUnrecognised;
    }
}

SystemIdentity IdentifySystem(const platform::HostFacts& host) {
    const int osKind = OsKindFromVersion(host.Version());
    return SystemIdentity{LanguageFromLcid(host.DefaultLcid()), osKind};
}

int GetOsKind(const platform::HostFacts& host) {
    return OsKindFromVersion(host.Version());
}

}  // namespace setup32
