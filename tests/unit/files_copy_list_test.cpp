// Parsing driver-file lines, the error reporter and the window title of an
// executable.
#include <gtest/gtest.h>

#include <string>

#include "files/file_placement.h"
#include "platform/sim/sim_machine.h"
#include "state/copy_list.h"

namespace setup32 {
namespace {

using platform::sim::SimMachine;

struct ParseCase {
    const char* line;
    const char* startDir;
    const char* windowsDir;
    int code;
    const char* source;
    const char* destination;
};

TEST(ParseLine, ResolvesPathsAndRejectsMalformedLines) {
    const ParseCase cases[] = {
        // A ".\" source hangs below the start directory, a drive root without a doubled "\".
        {"1=.\\W95\\X.MPD,.\\SYSTEM\\IOSUBSYS\\X.MPD", "A:\\", "C:\\WINDOWS", 0, "A:\\W95\\X.MPD",
         "C:\\WINDOWS\\SYSTEM\\IOSUBSYS\\X.MPD"},
        {"1=.\\W95\\X.MPD,.\\SYSTEM\\IOSUBSYS\\X.MPD", "D:\\DRV", "C:\\WINDOWS", 0,
         "D:\\DRV\\W95\\X.MPD", "C:\\WINDOWS\\SYSTEM\\IOSUBSYS\\X.MPD"},
        // Only an exact ".\" is relative; anything else is used as written.
        {"1=./X.SYS,./X.SYS", "A:\\", "C:\\WINDOWS", 0, "./X.SYS", "./X.SYS"},
        {"1=C:\\TOOLS\\PROBE.EXE,C:\\TOOLS\\NEW\\PROBE.EXE", "D:\\DRV", "C:\\WINNT", 0,
         "C:\\TOOLS\\PROBE.EXE", "C:\\TOOLS\\NEW\\PROBE.EXE"},
        {"1= .\\A.SYS, .\\A.SYS", "A:\\", "C:\\WINDOWS", 0, " .\\A.SYS", " .\\A.SYS"},
        // An empty source is accepted; the destination keeps further commas.
        {"1=,.\\X.SYS", "A:\\", "C:\\WINDOWS", 0, "", "C:\\WINDOWS\\X.SYS"},
        {"1=.\\A.SYS,.\\SYSTEM\\A.SYS,OLD", "A:\\", "C:\\WINDOWS", 0, "A:\\A.SYS",
         "C:\\WINDOWS\\SYSTEM\\A.SYS,OLD"},
        // Without a Windows directory a ".\" destination starts at the drive's root.
        {"1=.\\A.SYS,.\\SYSTEM\\A.SYS", "A:\\", "", 0, "A:\\A.SYS", "\\SYSTEM\\A.SYS"},
        {"1=.\\A.SYS", "A:\\", "C:\\WINDOWS", parse_error::kNoComma, "", ""},
        {"ABC", "A:\\", "C:\\WINDOWS", parse_error::kNoEquals, "", ""},
        {"a,b=.\\A.SYS,.\\B.SYS", "A:\\", "C:\\WINDOWS", parse_error::kCommaBeforeEquals, "", ""},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.line);
        CCopyListItem item;
        EXPECT_EQ(item.ParseLine(c.line, c.startDir, c.windowsDir), c.code);
        EXPECT_EQ(item.source, c.source);
        EXPECT_EQ(item.destination, c.destination);
    }
}

TEST(CopyListError, CaptionAndTextFollowTheCode) {
    struct ErrorCase {
        int code;
        const char* caption;
        const char* text;
    };
    const ErrorCase cases[] = {
        {101, "AddSectionFilesToCopyList", "Cannot find the source path !"},
        {102, "AddSectionFilesToCopyList", "Cannot find the destination path !"},
        {103, "AddSectionFilesToCopyList", "Format error !"},
        {202, "CopyFilesInCopyList", "The system cannot find the file specified !"},
        {203, "CopyFilesInCopyList", "The system cannot find the path specified !"},
        {204, "CopyFilesInCopyList", "The system cannot open the file !"},
        {205, "CopyFilesInCopyList", "Access is denied !"},
        {150, "Error", "Error no. 150"},
        {201, "Error", "Error no. 201"},
        {-7, "Error", "Error no. -7"},
    };
    // One reporter for all rows: every call replaces what the one before left.
    CCopyListError reporter;
    const Language english{0x09, 0x01};
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.code);
        reporter.SetError(english, c.code);
        EXPECT_EQ(reporter.Code(), c.code);
        EXPECT_EQ(reporter.Caption(), c.caption);
        EXPECT_EQ(reporter.Text(), c.text);
    }
}

TEST(CopyListError, UsesTheLanguageColumn) {
    const Language japanese{0x11, 0x01};
    CCopyListError reporter;
    reporter.SetError(japanese, 102);
    EXPECT_EQ(reporter.Caption(), MsgText(japanese, 10));
    EXPECT_EQ(reporter.Text(), MsgText(japanese, 14));
    reporter.SetError(japanese, 150);
    const std::string format = MsgText(japanese, 21);
    EXPECT_EQ(reporter.Text(), format.substr(0, format.find("%d")) + "150");
}

TEST(CopyListError, ShowsAnOkBoxWithoutIcon) {
    SimMachine sim;
    CCopyListError reporter;
    reporter.SetError(Language{0x09, 0x01}, 103);
    sim.QueueAnswer(platform::mb::kIdOk);
    reporter.Show(sim.machine().boxes, 0x1234);
    sim.QueueAnswer(platform::mb::kIdOk);
    reporter.Show(sim.machine().boxes, 0);

    ASSERT_EQ(sim.Boxes().size(), 2u);
    EXPECT_EQ(sim.Boxes()[0].owner, 0x1234u);
    EXPECT_EQ(sim.Boxes()[0].caption, "AddSectionFilesToCopyList");
    EXPECT_EQ(sim.Boxes()[0].text, "Format error !");
    EXPECT_EQ(sim.Boxes()[0].type, platform::mb::kOk);
    EXPECT_EQ(sim.Boxes()[1].owner, 0u);
}

TEST(ExeWindowTitle, TakesTheNameOfAnExecutable) {
    SimMachine sim;
    const platform::HostFacts& host = sim.machine().host;
    const std::string longName(40, 'N');
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\TOOLS\\PROBE.EXE", "PROBE"},
        {"D:ASPIMON.exe", "ASPIMON"},
        {"C:\\Tools\\Probe.Exe", "Probe"},
        {"C:\\WINDOWS\\SYSTEM\\X.DLL", ""},
        {"C:\\TOOLS\\PROBE.EXE.BAK", ""},
        {"PROBE.EXE", ""},
        {"EXE", ""},
        {"C:\\.EXE", ""},
        // A title beyond 31 characters is kept whole: a cut one could name
        // another program's window.
        {"C:\\TOOLS\\" + longName + ".EXE", longName},
    };
    for (const auto& [path, title] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ExeWindowTitle(host, path), title);
    }
}

TEST(ExeWindowTitle, StepsOverDoubleByteCharacters) {
    SimMachine sim;
    sim.SetLcid(0x0411);  // code page 932
    // 0x95 0x5C is one character whose second byte is a backslash.
    const std::string name = "\x95\x5C";
    EXPECT_EQ(ExeWindowTitle(sim.machine().host, "C:\\TOOLS\\" + name + ".EXE"), name);
    EXPECT_EQ(ExeWindowTitle(sim.machine().host, "C:\\" + name + "\\PROBE.EXE"), "PROBE");
}

}  // namespace
}  // namespace setup32
