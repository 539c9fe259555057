#include "check/script_reading.h"

#include <algorithm>

#include "check/plan.h"
#include "check/rules/byte_order_mark.h"
#include "check/script_view.h"
#include "check/text_encoding.h"
#include "shellint/shell_integration.h"
#include "shellint/shell_text.h"
#include "state/install_record.h"
#include "state/script.h"
#include "sysconfig/sysconfig.h"

namespace setup32::check {
namespace {

constexpr const char* kLocalMachine = "HKEY_LOCAL_MACHINE\\";
constexpr const char* kCurrentUser = "HKEY_CURRENT_USER\\";

// The file that starting `commandLine` runs: the one found, or else its
// first word, with ".EXE" when it names no extension.
std::string ProgramFile(const platform::sim::ExecRecord& exec) {
    if (!exec.image.empty()) return exec.image;
    std::string file = exec.commandLine.substr(0, exec.commandLine.find(' '));
    if (file.find('.', file.rfind('\\') + 1) == std::string::npos) file += ".EXE";
    return file;
}

std::vector<DriverFileLine> DriverFilesOf(DryRun& run, const std::vector<ProfileSection>& layout) {
    const unsigned codePage = run.Language().codePage;
    std::vector<DriverFileLine> files;
    for (const DriverLine& line : ReadDriverLines(run, layout)) {
        DriverFileLine file;
        file.section = ToUtf8AsWine(line.section, codePage);
        file.line = line.number;
        file.text = ToUtf8AsWine(line.text, codePage);
        if (line.parseCode == 0) {
            file.source = ToUtf8AsWine(line.item.source, codePage);
            file.destination = ToUtf8AsWine(line.item.destination, codePage);
            file.sourceFound = run.Sim().Exists(line.item.source);
        }
        file.usesGroup = HoldsPlaceholder(line.written);
        files.push_back(std::move(file));
    }
    return files;
}

// The plan's programs are the machine's, in the order started.
std::vector<ProgramStart> ProgramsOf(DryRun& run, const Plan& plan) {
    const unsigned codePage = run.Language().codePage;
    const std::vector<platform::sim::ExecRecord>& execs = run.Sim().Execs();
    std::vector<ProgramStart> programs;
    for (std::size_t i = 0; i < execs.size() && i < plan.programs.size(); ++i) {
        programs.push_back({plan.programs[i].line, ToUtf8AsWine(execs[i].commandLine, codePage),
                            ToUtf8AsWine(ProgramFile(execs[i]), codePage),
                            !execs[i].image.empty()});
    }
    return programs;
}

bool IsCommentLine(std::string_view line) {
    const std::size_t start = line.find_first_not_of(" \t");
    return start != std::string_view::npos && line[start] == ';';
}

std::vector<CommentedSection> CommentedSections(DryRun& windows, DryRun& wine,
                                                const std::vector<ProfileSection>& windowsLayout,
                                                const std::vector<ProfileSection>& wineLayout) {
    std::vector<CommentedSection> commented;
    for (const auto& [name, capacity] : ListSectionsRead(windows.OsKind())) {
        const ListSection read = ReadListSection(windows, windowsLayout, name, capacity);
        const auto comments = std::count_if(
            read.lines.begin(), read.lines.end(),
            [](const NumberedLine& line) { return shell_text::IsComment(line.text); });
        if (comments == 0) continue;
        const bool fitsUnderWine = !ReadListSection(wine, wineLayout, name, capacity).tooLarge;
        commented.push_back({ToUtf8AsWine(read.layout->name, windows.Language().codePage),
                             static_cast<int>(comments), capacity, read.tooLarge && fitsUnderWine,
                             shell_text::IsComment(read.lines.front().text),
                             name == script_names::kUninstall});
    }
    return commented;
}

// The section whose header the mark is glued to: the one that begins on
// line 1 once the mark is read past.
std::string HiddenSection(const std::vector<ProfileSection>& wineLayout, unsigned codePage) {
    const auto first =
        std::find_if(wineLayout.begin(), wineLayout.end(),
                     [](const ProfileSection& section) { return section.number > 0; });
    return first != wineLayout.end() && first->number == 1 ? ToUtf8AsWine(first->name, codePage)
                                                           : std::string();
}

}  // namespace

std::string PastByteOrderMark(std::string_view script, unsigned codePage) {
    if (script.substr(0, kUtf8ByteOrderMark.size()) != kUtf8ByteOrderMark)
        return std::string(script);
    script.remove_prefix(kUtf8ByteOrderMark.size());
    return FromUtf8(script, codePage).value_or(std::string(script));
}

std::string WithoutCommentLines(std::string_view script) {
    std::string kept;
    while (!script.empty()) {
        const std::size_t end = std::min(script.find_first_of("\r\n"), script.size());
        if (!IsCommentLine(script.substr(0, end))) kept += script.substr(0, end);
        const std::size_t next = script.compare(end, 2, "\r\n") == 0 ? end + 2
                                 : end < script.size()               ? end + 1
                                                                     : end;
        kept += script.substr(end, next - end);
        script.remove_prefix(next);
    }
    return kept;
}

ScriptReading ReadScript(DryRun& run, const std::vector<ProfileSection>& layout, const Plan& plan) {
    const unsigned codePage = run.Language().codePage;
    SetupContext& ctx = run.Context();
    const std::string scriptPath = ScriptPathOf(run);
    ScriptReading reading;
    reading.found = run.Sim().Exists(scriptPath);
    reading.groupName = ToUtf8AsWine(ctx.groupName, codePage);
    const ProfileLine* groupLine = DisplayLineOf(run, layout, script_names::kGroupName);
    reading.groupNameLine = groupLine ? groupLine->number : 0;
    const std::vector<std::string> ids = SplitDeviceIds(
        ReadScriptValue(ctx, scriptPath, script_names::kDisplay, script_names::kDeviceId,
                        script_default::kDeviceId, script_capacity::kDeviceId));
    for (const std::string& id : ids) {
        reading.deviceIds.push_back(ToUtf8AsWine(id, codePage));
        reading.deviceKeys.push_back(
            ToUtf8AsWine(kLocalMachine + (kAdapterEnumKeyPrefix + id), codePage));
    }
    for (const char* file : kDriverDatabaseFiles)
        reading.driverDatabase.push_back(
            ToUtf8AsWine(run.WindowsDir() + "\\INF\\" + file, codePage));
    reading.silent = !run.ShownMode();
    reading.driverFiles = DriverFilesOf(run, layout);
    reading.programs = ProgramsOf(run, plan);
    // The keys as the plan names them, but in the names a Wine machine shows.
    reading.productKey = ToUtf8AsWine(kCurrentUser + ProductKey(ctx), codePage);
    if (!plan.uninstallKey.empty()) {
        reading.uninstallKey = ToUtf8AsWine(
            kLocalMachine + std::string(kUninstallKey) + "\\" + ctx.groupName, codePage);
    }
    return reading;
}

std::optional<WineReading> ReadAsWine(const CheckOptions& options, const MediumListing& medium,
                                      DryRun& run, const std::vector<ProfileSection>& layout,
                                      const ScriptReading& windows, std::string& whyNot) {
    const unsigned codePage = run.Language().codePage;
    const std::string pastMark = PastByteOrderMark(run.ScriptBytes(), codePage);
    const std::string asWine = WithoutCommentLines(pastMark);
    WineReading reading;
    reading.byteOrderMark = pastMark != run.ScriptBytes();
    if (asWine == run.ScriptBytes()) {
        reading.script = windows;
        return reading;
    }
    DryRun wine(options, medium, run.Platform(), run.Language(), whyNot);
    if (!wine.Ready()) return std::nullopt;
    wine.ReplaceScript(asWine);
    wine.Run();
    const platform::HostFacts& host = wine.Sim().machine().host;
    const std::vector<ProfileSection> wineLayout = ReadProfileLayout(asWine, &host);
    reading.script = ReadScript(wine, wineLayout, PlanOf(wine, wineLayout));
    if (reading.byteOrderMark) reading.hiddenSection = HiddenSection(wineLayout, codePage);
    reading.commented = CommentedSections(run, wine, layout, wineLayout);
    return reading;
}

}  // namespace setup32::check
