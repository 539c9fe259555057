#include "platform/sim/sim_profile.h"

#include <iconv.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <unordered_map>

#include "platform/sim/host_file.h"

namespace setup32::platform::sim {
namespace {

// What the profile service counts as blank: C's white space and the DOS
// end-of-file mark that old editors leave at the end of a file.
constexpr std::string_view kBlanks = " \t\n\v\f\r\x1a";
// The UTF-16 little-endian byte-order mark.
constexpr std::string_view kUtf16Mark = "\xFF\xFE";
// The most a section read fills on Windows 95 and 98.
constexpr std::size_t k9xSectionLimit = 32767;
// The bytes of a profile file that Windows 95 and 98 read.
constexpr std::size_t k9xFileLimit = 65536;
// A file changed less than this long before it was read is compared byte for
// byte on each read: a later write within the file system's time stamp
// granularity could leave its stamp as it was.
constexpr std::chrono::seconds kSettledAge{2};

// How the profile service reads on one version of Windows.
struct ProfileRules {
    bool loneCrEndsLine = true;    // NT 4.0 and 2000
    bool readsUtf16 = false;       // 2000 and later
    std::size_t sectionLimit = 0;  // 95 and 98; 0: none
    bool readsHeldFile = true;     // a file another program reads, sharing it: NT
    bool cutsAtControl = false;    // a value ends at a control character: 95 and 98
    std::size_t fileLimit = 0;     // the bytes read of a file: 95 and 98; 0: all
    bool operator==(const ProfileRules& other) const {
        return loneCrEndsLine == other.loneCrEndsLine && readsUtf16 == other.readsUtf16 &&
               sectionLimit == other.sectionLimit && readsHeldFile == other.readsHeldFile &&
               cutsAtControl == other.cutsAtControl && fileLimit == other.fileLimit;
    }
};

// Without a host: NT 4.0's rules.
ProfileRules RulesOf(const HostFacts* host) {
    if (host == nullptr) return {};
    const std::uint32_t version = host->Version();
    const bool ntFamily = (version & 0x80000000u) == 0;
    const unsigned major = version & 0xFFu;
    if (!ntFamily) return {false, false, k9xSectionLimit, false, true, k9xFileLimit};
    return {true, major >= 5, 0, true, false, 0};
}

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20;
}

// The first control character of `text`, or npos.
std::size_t FirstControl(std::string_view text) {
    const auto found = std::find_if(text.begin(), text.end(), IsControl);
    return found == text.end() ? std::string_view::npos
                               : static_cast<std::size_t>(found - text.begin());
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// A default loses its trailing spaces (other blanks stay).
std::string_view TrimTrailingSpaces(std::string_view text) {
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

// One pair of matching quotes, double or single, around the whole value.
std::string_view Unquoted(std::string_view value) {
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

// The last ']' of `line` that is not the second byte of a double-byte
// character, or npos.
std::size_t LastClosingBracket(std::string_view line, const HostFacts* codePage) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (codePage != nullptr && codePage->IsLeadByte(static_cast<unsigned char>(line[i]))) {
            ++i;
        } else if (line[i] == ']') {
            found = i;
        }
    }
    return found;
}

// The name of a section header ('[' first, a ']' somewhere after), or none.
std::optional<std::string_view> HeaderName(std::string_view line, const HostFacts* codePage) {
    if (line.empty() || line.front() != '[') return std::nullopt;
    const std::size_t bracket = LastClosingBracket(line, codePage);
    if (bracket == std::string_view::npos) return std::nullopt;
    return TrimBlanks(line.substr(1, bracket - 1));
}

// A trimmed line that is not blank and not a header.
ProfileLine EntryLine(int number, std::string_view line, const ProfileRules& rules) {
    ProfileLine entry;
    entry.number = number;
    entry.text = std::string(line);
    const std::size_t equals = line.find('=');
    if (line.front() == ';' || equals == std::string_view::npos) return entry;
    const std::string_view key = TrimBlanks(line.substr(0, equals));
    std::string_view value = TrimBlanks(line.substr(equals + 1));
    const std::size_t control = rules.cutsAtControl ? FirstControl(value) : std::string_view::npos;
    if (control != std::string_view::npos) {
        value = TrimBlanks(value.substr(0, control));
        entry.cutAtControl = true;
    }
    entry.hasKey = true;
    entry.key = std::string(key);
    entry.value = std::string(Unquoted(value));
    entry.text = entry.key + "=" + std::string(value);
    return entry;
}

// Turns UTF-16 characters into one code page's bytes, one at a time.
class CodePageEncoder {
  public:
    explicit CodePageEncoder(unsigned codePage)
        : converter_(iconv_open(("CP" + std::to_string(codePage)).c_str(), "UTF-16LE")) {}
    ~CodePageEncoder() {
        if (Usable()) iconv_close(converter_);
    }
    CodePageEncoder(const CodePageEncoder&) = delete;
    CodePageEncoder& operator=(const CodePageEncoder&) = delete;

    // The bytes of one character (one or two UTF-16 units); "?" when the
    // code page lacks it, as WideCharToMultiByte's default character.
    std::string Encode(std::string_view units) {
        char out[8];
        char* in = const_cast<char*>(units.data());
        char* next = out;
        std::size_t inLeft = units.size();
        std::size_t outLeft = sizeof out;
        if (!Usable() || iconv(converter_, &in, &inLeft, &next, &outLeft) == kFailed) {
            if (Usable()) iconv(converter_, nullptr, nullptr, nullptr, nullptr);
            return "?";
        }
        return std::string(out, next);
    }

  private:
    static constexpr std::size_t kFailed = static_cast<std::size_t>(-1);
    bool Usable() const { return converter_ != reinterpret_cast<iconv_t>(-1); }

    iconv_t converter_;
};

bool IsHighSurrogate(unsigned unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}
bool IsLowSurrogate(unsigned unit) {
    return unit >= 0xDC00 && unit < 0xE000;
}

// UTF-16 little-endian text (without its mark) in `codePage`; an odd last
// byte is no character.
std::string AnsiFromUtf16(std::string_view units, unsigned codePage) {
    CodePageEncoder encoder(codePage);
    const auto unitAt = [units](std::size_t i) {
        return static_cast<unsigned char>(units[i]) |
               static_cast<unsigned>(static_cast<unsigned char>(units[i + 1])) << 8;
    };
    std::string text;
    text.reserve(units.size() / 2);
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
        const unsigned unit = unitAt(i);
        if (unit < 0x80) {
            text += static_cast<char>(unit);
            continue;
        }
        const bool pair =
            IsHighSurrogate(unit) && i + 3 < units.size() && IsLowSurrogate(unitAt(i + 2));
        text += encoder.Encode(units.substr(i, pair ? 4 : 2));
        if (pair) i += 2;
    }
    return text;
}

bool StartsWithUtf16Mark(std::string_view bytes) {
    return bytes.substr(0, kUtf16Mark.size()) == kUtf16Mark;
}

// A line as the profile service reads it: `number` is the file line (as
// ProfileFileLines counts them) on which it starts.
struct ServiceLine {
    int number;
    std::string_view text;
};

// The lines of `text` under `rules`.
std::vector<ServiceLine> ServiceLines(std::string_view text, const ProfileRules& rules) {
    std::vector<ServiceLine> lines;
    std::size_t begin = 0;
    int first = 1;
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        const bool crLf = text.compare(end, 2, "\r\n") == 0;
        const bool loneCr = end < text.size() && text[end] == '\r' && !crLf;
        ++number;
        start = crLf ? end + 2 : end + 1;
        if (loneCr && !rules.loneCrEndsLine) continue;
        lines.push_back({first, text.substr(begin, end - begin)});
        begin = start;
        first = number + 1;
    }
    if (begin < text.size()) lines.push_back({first, text.substr(begin)});
    return lines;
}

// The first file line (from 1, as ProfileFileLines counts them) that is not
// read whole when only the first `limit` bytes are; 0 when every line is.
int FirstLinePast(std::string_view fileBytes, std::size_t limit) {
    if (fileBytes.size() <= limit) return 0;
    int number = 0;
    for (const std::string_view line : ProfileFileLines(fileBytes)) {
        ++number;
        const auto start = static_cast<std::size_t>(line.data() - fileBytes.data());
        if (start >= limit || start + line.size() > limit) return number;
    }
    return 0;
}

// A file as the profile service of one version reads it.
struct ProfileParse {
    std::vector<ProfileSection> layout;
    // Lines other than keyed values with a lone CR inside, where it ends no
    // line: the file lines after it are not read as lines of their own.
    std::vector<int> swallowingLines;
    int firstLinePastLimit = 0;  // of a file longer than the version reads; 0: none
    bool unreadUtf16 = false;    // a UTF-16 file read as its bytes
};

ProfileParse ParseProfile(std::string_view fileBytes, const HostFacts* host) {
    const ProfileRules rules = RulesOf(host);
    ProfileParse parse;
    parse.unreadUtf16 = StartsWithUtf16Mark(fileBytes) && !rules.readsUtf16;
    std::string text = ProfileText(fileBytes, host);
    if (rules.fileLimit != 0 && text.size() > rules.fileLimit) {
        parse.firstLinePastLimit = FirstLinePast(fileBytes, rules.fileLimit);
        text.resize(rules.fileLimit);
    }
    std::vector<ProfileSection>& sections = parse.layout;
    for (const ServiceLine& read : ServiceLines(text, rules)) {
        const std::string_view line = TrimBlanks(read.text);
        if (line.empty()) continue;
        // Inside a trimmed line a CR is always a lone one.
        const bool loneCr = !rules.loneCrEndsLine && line.find('\r') != std::string_view::npos;
        if (const auto name = HeaderName(line, host)) {
            sections.push_back({read.number, std::string(*name), {}});
            if (loneCr) parse.swallowingLines.push_back(read.number);
            continue;
        }
        if (sections.empty()) sections.push_back({0, std::string(), {}});
        sections.back().lines.push_back(EntryLine(read.number, line, rules));
        if (loneCr && !sections.back().lines.back().hasKey)
            parse.swallowingLines.push_back(read.number);
    }
    // Read as bytes, a UTF-16 file finds nothing whatever its characters.
    if (parse.unreadUtf16) parse.swallowingLines.clear();
    return parse;
}

// A path without a directory names a file in the Windows directory.
std::string WindowsPathOf(const std::string& path, const SimFileSystem& files) {
    const bool hasDirectory = path.find_first_of("\\/:") != std::string::npos;
    return hasDirectory ? path : files.WindowsDirectoryText() + "\\" + path;
}

// The whole file, or none when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& host) {
    const HostFile file(std::fopen(host.c_str(), "rb"));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[16384];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, got);
    if (std::ferror(file.get())) return std::nullopt;
    return bytes;
}

std::chrono::nanoseconds SinceEpoch(const timespec& time) {
    return std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec);
}

}  // namespace

// What tells a file's versions apart without reading it.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::chrono::nanoseconds modified{0};
    std::chrono::nanoseconds changed{0};
    bool operator==(const FileStamp& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified == other.modified && changed == other.changed;
    }
};

struct SimProfile::ParsedFile {
    ProfileParse parse;
    // The first section of each upper-cased name, and in each section the
    // first keyed line of each upper-cased key.
    std::unordered_map<std::string, std::size_t> sections;
    std::vector<std::unordered_map<std::string, std::size_t>> keys;

    ParsedFile(std::string_view bytes, const HostFacts& host) : parse(ParseProfile(bytes, &host)) {
        const std::vector<ProfileSection>& layout = parse.layout;
        keys.resize(layout.size());
        for (std::size_t s = 0; s < layout.size(); ++s) {
            if (layout[s].number == 0) continue;
            sections.emplace(host.UpperCase(layout[s].name), s);
            for (std::size_t l = 0; l < layout[s].lines.size(); ++l) {
                const ProfileLine& line = layout[s].lines[l];
                if (line.hasKey) keys[s].emplace(host.UpperCase(line.key), l);
            }
        }
    }

    const ProfileSection* FindSection(std::string_view name, const HostFacts& host) const {
        const auto found = sections.find(host.UpperCase(TrimBlanks(name)));
        return found == sections.end() ? nullptr : &parse.layout[found->second];
    }

    const ProfileLine* FindKey(std::string_view section, std::string_view key,
                               const HostFacts& host) const {
        const auto found = sections.find(host.UpperCase(TrimBlanks(section)));
        if (found == sections.end()) return nullptr;
        const auto& index = keys[found->second];
        const auto line = index.find(host.UpperCase(TrimBlanks(key)));
        return line == index.end() ? nullptr : &parse.layout[found->second].lines[line->second];
    }
};

struct SimProfile::CachedFile {
    FileStamp stamp;
    bool settled = false;  // the stamp alone tells whether the file changed
    std::string bytes;
    // Parsed under these rules and code page; none until a read needs it.
    ProfileRules rules;
    unsigned codePage = 0;
    std::unique_ptr<ParsedFile> parsed;
};

std::vector<std::string_view> ProfileFileLines(std::string_view fileBytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < fileBytes.size()) {
        const std::size_t end = std::min(fileBytes.find_first_of("\r\n", start), fileBytes.size());
        lines.push_back(fileBytes.substr(start, end - start));
        start = fileBytes.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
    }
    return lines;
}

std::string ProfileText(std::string_view fileBytes, const HostFacts* host) {
    if (!StartsWithUtf16Mark(fileBytes) || !RulesOf(host).readsUtf16) return std::string(fileBytes);
    return AnsiFromUtf16(fileBytes.substr(kUtf16Mark.size()), host->AnsiCodePage());
}

std::vector<ProfileSection> ReadProfileLayout(std::string_view fileBytes, const HostFacts* host) {
    return ParseProfile(fileBytes, host).layout;
}

const ProfileSection* FindProfileSection(const std::vector<ProfileSection>& layout,
                                         std::string_view name, const HostFacts& host) {
    for (const ProfileSection& section : layout) {
        if (section.number > 0 && SameNameOn(host, section.name, TrimBlanks(name))) return &section;
    }
    return nullptr;
}

SectionBlock PackSection(const std::vector<std::string_view>& lines, std::size_t capacity) {
    SectionBlock block;
    block.bytes.assign(capacity, '\0');
    if (capacity < 2) return block;
    // Each line with its terminator must leave the last byte for the final one.
    std::size_t pos = 0;
    bool complete = true;
    for (const std::string_view line : lines) {
        if (pos + line.size() + 1 > capacity - 1) {
            const std::size_t keep =
                std::min(line.size(), capacity - 2 - std::min(pos, capacity - 2));
            std::copy_n(line.begin(), keep, block.bytes.begin() + static_cast<long>(pos));
            complete = false;
            break;
        }
        std::copy(line.begin(), line.end(), block.bytes.begin() + static_cast<long>(pos));
        pos += line.size() + 1;
    }
    // Lines that leave fewer than two bytes count as not fitting, even when
    // they are all there; the block still ends with two terminators.
    if (!complete || pos > capacity - 2) {
        block.bytes[capacity - 2] = '\0';
        block.bytes[capacity - 1] = '\0';
        block.count = capacity - 2;
    } else {
        block.count = pos;
    }
    return block;
}

SimProfile::SimProfile(CallGate& gate, const SimHost& host, const SimFileSystem& files)
    : gate_(gate), host_(host), files_(files) {}

SimProfile::~SimProfile() = default;

std::string SimProfile::ReadString(const std::string& path, const std::string& section,
                                   const std::string& key, const std::string& fallback,
                                   std::size_t capacity) {
    const auto cut = [capacity](std::string_view value) {
        return std::string(value.substr(0, capacity == 0 ? 0 : capacity - 1));
    };
    const std::string_view shownFallback = TrimTrailingSpaces(fallback);
    if (gate_.Enter(Call::GetPrivateProfileStringA)) return cut(shownFallback);
    const ParsedFile* file = Load(path);
    const ProfileLine* line = file == nullptr ? nullptr : file->FindKey(section, key, host_);
    if (line == nullptr) return cut(shownFallback);
    if (line->cutAtControl)
        RecordMet("win9x-control-char", WindowsPathOf(path, files_), line->number);
    return cut(line->value);
}

SectionBlock SimProfile::ReadSection(const std::string& path, const std::string& section,
                                     std::size_t capacity) {
    if (gate_.Enter(Call::GetPrivateProfileSectionA)) return PackSection({}, capacity);
    const ParsedFile* file = Load(path);
    const ProfileSection* found = file == nullptr ? nullptr : file->FindSection(section, host_);
    if (found == nullptr) return PackSection({}, capacity);
    std::vector<std::string_view> texts;
    std::size_t needed = 0;  // the bytes of the lines with their terminators
    for (const ProfileLine& line : found->lines) {
        texts.push_back(line.text);
        needed += line.text.size() + 1;
        if (line.cutAtControl)
            RecordMet("win9x-control-char", WindowsPathOf(path, files_), line.number);
    }
    const std::size_t limit = RulesOf(&host_).sectionLimit;
    if (limit == 0 || capacity <= limit) return PackSection(texts, capacity);
    // The buffer past the limit stays as the caller gave it: zeroed.
    SectionBlock block = PackSection(texts, limit);
    block.bytes.resize(capacity, '\0');
    if (needed > limit - 2 && needed <= capacity - 2) {
        RecordMet("section-32k", WindowsPathOf(path, files_), found->number);
    }
    return block;
}

SectionBlock SimProfile::ReadSectionNames(const std::string& path, std::size_t capacity) {
    if (gate_.Enter(Call::GetPrivateProfileSectionNamesA)) return PackSection({}, capacity);
    const ParsedFile* file = Load(path);
    std::vector<std::string_view> names;
    if (file != nullptr) {
        for (const ProfileSection& section : file->parse.layout) {
            // The lines before the first header belong to no section, and
            // an empty name would end the list.
            if (section.number > 0 && !section.name.empty()) names.push_back(section.name);
        }
    }
    return PackSection(names, capacity);
}

const SimProfile::ParsedFile* SimProfile::Load(const std::string& path) {
    const std::string windowsPath = WindowsPathOf(path, files_);
    std::filesystem::path host;
    struct stat status {};
    if (files_.ReadableHostPath(windowsPath, host) != 0 || ::stat(host.c_str(), &status) != 0 ||
        !S_ISREG(status.st_mode)) {
        return nullptr;
    }
    if (!RulesOf(&host_).readsHeldFile &&
        files_.HoldOn(windowsPath) == SimFileSystem::Hold::ReadSharing) {
        RecordMet("held-profile", windowsPath, 0);
        return nullptr;
    }
    const FileStamp stamp{status.st_dev, status.st_ino, status.st_size, SinceEpoch(status.st_mtim),
                          SinceEpoch(status.st_ctim)};
    CachedFile& cached = cache_[host.string()];
    if (!(cached.settled && cached.stamp == stamp)) {
        const auto readAt = std::chrono::system_clock::now().time_since_epoch();
        std::optional<std::string> bytes = ReadWholeFile(host);
        if (!bytes) return nullptr;
        if (!cached.parsed || *bytes != cached.bytes) {
            cached.bytes = std::move(*bytes);
            cached.parsed.reset();
        }
        cached.stamp = stamp;
        cached.settled = stamp.modified + kSettledAge <= readAt;
    }
    const ProfileRules rules = RulesOf(&host_);
    if (!cached.parsed || !(cached.rules == rules) || cached.codePage != host_.AnsiCodePage()) {
        cached.parsed = std::make_unique<ParsedFile>(cached.bytes, host_);
        cached.rules = rules;
        cached.codePage = host_.AnsiCodePage();
        const ProfileParse& parse = cached.parsed->parse;
        for (const int line : parse.swallowingLines)
            RecordMet("win9x-control-char", windowsPath, line);
        if (parse.firstLinePastLimit > 0)
            RecordMet("win9x-profile-64k", windowsPath, parse.firstLinePastLimit);
        if (parse.unreadUtf16) RecordMet("utf16-bom", windowsPath, 1);
    }
    return cached.parsed.get();
}

void SimProfile::RecordMet(std::string_view id, const std::string& windowsPath, int line) {
    VersionDifferenceMet met{std::string(id), windowsPath, line};
    const auto& recorded = gate_.VersionDifferencesMet();
    if (std::find(recorded.begin(), recorded.end(), met) == recorded.end()) {
        gate_.RecordVersionDifference(std::move(met));
    }
}

}  // namespace setup32::platform::sim
