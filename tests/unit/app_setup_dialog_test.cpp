// The main dialog, the About box and the install sequence as the user meets
// them: initialisation order, the two modes, Start, Exit and the About entry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/setup_app.h"
#include "sim_fixture.h"

namespace setup32 {
namespace {

namespace mb = platform::mb;
using platform::sim::SimDialogView;
using platform::sim::SimMachine;
namespace version = platform::sim::version;

class SetupDialogTest : public testing::SimFixture {
  protected:
    // Runs the program as WinMain does; `action` acts in the open main dialog.
    void RunProgram(std::function<void(SimDialogView&, platform::DialogHandler&)> action = {}) {
        if (action) sim().OnNextModal(std::move(action));
        CSetupApp app(sim().machine(), "A:\\SETUP32.EXE");
        EXPECT_FALSE(app.InitInstance());
    }
    SimDialogView& View(int templateId) {
        for (SimDialogView* view : sim().DialogViews()) {
            if (view->TemplateId() == templateId) return *view;
        }
        ADD_FAILURE() << "no dialog " << templateId;
        return *sim().DialogViews().front();
    }
};

void PressStart(SimDialogView& view, platform::DialogHandler& dialog) {
    dialog.OnOK(view);
}
void PressExit(SimDialogView& view, platform::DialogHandler& dialog) {
    dialog.OnCancel(view);
}

TEST_F(SetupDialogTest, InitialisationFollowsItsOrder) {
    RunProgram();
    const SimDialogView& main = View(102);
    EXPECT_EQ((std::vector<std::string>{"icon big", "icon small", "font 1000", "text 1000",
                                        "font 1001", "text 1001", "font 1", "text 1", "font 2",
                                        "text 2", "caption", "show 5"}),
              main.Log());
    EXPECT_EQ("Welcome to setup program.", main.ItemAt(1000).text);
    EXPECT_EQ("This program will setup the drivers for your system.", main.ItemAt(1001).text);
    EXPECT_EQ("&Start", main.ItemAt(1).text);
    EXPECT_EQ("E&xit", main.ItemAt(2).text);
    EXPECT_EQ("Setup", main.Caption());
    ASSERT_EQ(1u, main.SystemMenuItems().size());
    EXPECT_EQ(0x10u, main.SystemMenuItems()[0].first);
    EXPECT_EQ("&About M420x Setup Program...", main.SystemMenuItems()[0].second);
    EXPECT_TRUE(main.Visible());
}

TEST_F(SetupDialogTest, FontIsThreeQuartersOfTheSystemFontExceptInEnglish) {
    struct Case {
        std::uint32_t lcid;
        int height;
        const char* face;
    };
    for (const Case& c :
         {Case{0x0409, 16, "Arial"}, Case{0x0407, 12, "Arial"},
          Case{0x0411, 12, "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e"},
          Case{0x0404, 12, "\xb7\x73\xb2\xd3\xa9\xfa\xc5\xe9"}}) {
        SimMachine machine;
        machine.SetLcid(c.lcid);
        machine.SetSystemFontHeight(16);
        MapDrive(machine, 'A');
        machine.SetCurrentDirectory("A:\\");
        CSetupApp app(machine.machine(), "SETUP32.EXE");
        app.InitInstance();
        ASSERT_EQ(1u, machine.Fonts().size()) << std::hex << c.lcid;
        EXPECT_EQ(c.height, machine.Fonts()[0].first) << std::hex << c.lcid;
        EXPECT_EQ(c.face, machine.Fonts()[0].second) << std::hex << c.lcid;
    }
}

TEST_F(SetupDialogTest, NoSystemMenuEntryWithoutTheString) {
    sim().SetResourceString(101, "");
    RunProgram();
    EXPECT_TRUE(View(102).SystemMenuItems().empty());
}

TEST_F(SetupDialogTest, ShowValueDecidesTheMode) {
    struct Case {
        const char* script;
        bool shown;
    };
    for (const Case& c : {Case{"", true}, Case{"bShow=yes", true}, Case{"bShow=Yes", true},
                          Case{"bShow=YES ", true}, Case{"bShow=NO", false}, Case{"bShow=0", false},
                          Case{"bShow=", false}, Case{"bShow=YESYESYESYES", false}}) {
        SimMachine machine;
        MapDrive(machine, 'A');
        machine.SetCurrentDirectory("A:\\");
        machine.WriteFile("A:\\SETUP32.INI", std::string("[Display]\r\n") + c.script + "\r\n");
        CSetupApp app(machine.machine(), "SETUP32.EXE");
        app.InitInstance();
        const SimDialogView& main = *machine.DialogViews().front();
        EXPECT_EQ(c.shown, main.Visible()) << c.script;
        // The silent mode ends the dialog itself, with IDOK and no restart question.
        EXPECT_EQ(c.shown ? std::nullopt : std::optional<int>(mb::kIdOk), main.EndResult())
            << c.script;
        EXPECT_TRUE(machine.Boxes().empty() || c.shown) << c.script;
    }
}

TEST_F(SetupDialogTest, StartAsksToRestartAndClosesOnEitherAnswer) {
    for (const int answer : {mb::kIdYes, mb::kIdNo}) {
        SimMachine machine;
        MapDrive(machine, 'A');
        machine.SetCurrentDirectory("A:\\");
        machine.WriteFile("A:\\SETUP32.INI", "");
        machine.QueueAnswer(answer);
        machine.OnNextModal(PressStart);
        CSetupApp app(machine.machine(), "C:\\DISK\\Setup32.exe");
        app.InitInstance();
        ASSERT_EQ(1u, machine.Boxes().size());
        const platform::sim::BoxRecord& box = machine.Boxes()[0];
        EXPECT_EQ(
            "Install OK !!!\n\n You must reboot the system to activate the changes !\n\n"
            "Reboot Now ?",
            box.text);
        EXPECT_EQ("Setup32", box.caption);
        EXPECT_EQ(0x44u, box.type);
        EXPECT_EQ(machine.DialogViews().front()->Handle(), box.owner);
        EXPECT_EQ(mb::kIdOk, machine.DialogViews().front()->EndResult());
        EXPECT_EQ(std::vector<unsigned>{mb::kIconQuestion}, machine.Beeps());
        EXPECT_EQ(answer == mb::kIdYes ? 1u : 0u, machine.ExitWindowsCalls().size());
    }
}

// A CONFIG.SYS that neither file could take back: the box says where the
// old and the new content are, and the dialog stays for the user to exit.
TEST_F(SetupDialogTest, AFailedConfigSysEditNamesBothContents) {
    WriteScript("[Modify]\r\n1=OLD.SYS\r\n");
    sim().WriteFile("C:\\CONFIG.SYS", "DEVICE=OLD.SYS\r\n");
    sim().FailCall(platform::sim::Call::MoveFileA, platform::win_error::kAccessDenied, 2, true);
    sim().QueueAnswer(mb::kIdOk);
    RunProgram([](SimDialogView& view, platform::DialogHandler& dialog) {
        PressStart(view, dialog);
        EXPECT_FALSE(view.EndResult().has_value());
    });
    ASSERT_EQ(1u, sim().Boxes().size());
    EXPECT_EQ(
        "Disk write error!\nPlease check that your disk is not write-protected.\n\n"
        "c:\\CONFIG.tmp (MoveFileA, 5)\n\n"
        "The previous CONFIG.SYS was kept as c:\\CONFIG.s32\n"
        "and the new one was written as c:\\CONFIG.tmp.",
        sim().Boxes()[0].text);
    EXPECT_EQ(0x10u, sim().Boxes()[0].type);
}

// Every name the old content could move to is taken: the box says so
// instead of blaming the disk, and nothing of CONFIG.SYS is touched.
TEST_F(SetupDialogTest, EveryAsideNameTakenIsSaidAsSuch) {
    WriteScript("[Modify]\r\n1=OLD.SYS\r\n");
    sim().WriteFile("C:\\CONFIG.SYS", "DEVICE=OLD.SYS\r\n");
    for (int n = 0; n < 100; ++n) {
        sim().WriteFile("C:\\CONFIG.s" + std::string(n < 10 ? "0" : "") + std::to_string(n), "");
    }
    sim().QueueAnswer(mb::kIdOk);
    RunProgram([](SimDialogView& view, platform::DialogHandler& dialog) {
        PressStart(view, dialog);
        EXPECT_FALSE(view.EndResult().has_value());
    });
    ASSERT_EQ(1u, sim().Boxes().size());
    EXPECT_EQ(
        "Cannot change c:\\CONFIG.SYS:\n"
        "its old content must first move to a free name beside it,\n"
        "and every name from c:\\CONFIG.s00 to c:\\CONFIG.s99 is taken.\n\n"
        "Please delete those you do not need and press Start again.",
        sim().Boxes()[0].text);
    EXPECT_EQ(0x10u, sim().Boxes()[0].type);
    EXPECT_EQ("DEVICE=OLD.SYS\r\n", sim().ReadFile("C:\\CONFIG.SYS"));
    EXPECT_FALSE(sim().Exists("C:\\CONFIG.tmp"));
}

TEST_F(SetupDialogTest, ExitAsksAndOnlyYesEnds) {
    sim().QueueAnswer(mb::kIdNo);
    sim().QueueAnswer(mb::kIdYes);
    RunProgram([](SimDialogView& view, platform::DialogHandler& dialog) {
        PressExit(view, dialog);
        EXPECT_FALSE(view.EndResult().has_value());
        PressExit(view, dialog);
    });
    ASSERT_EQ(2u, sim().Boxes().size());
    EXPECT_EQ("Exit Setup", sim().Boxes()[0].caption);
    EXPECT_EQ("The setup process is not completed!\nDo you want to exit this program?",
              sim().Boxes()[0].text);
    EXPECT_EQ(0x34u, sim().Boxes()[0].type);
    EXPECT_EQ(mb::kIdCancel, View(102).EndResult());
}

TEST_F(SetupDialogTest, AboutEntryOpensTheAboutBox) {
    RunProgram([](SimDialogView& view, platform::DialogHandler& dialog) {
        EXPECT_FALSE(dialog.OnSysCommand(view, 0xF060));  // SC_CLOSE: default handling
        EXPECT_TRUE(dialog.OnSysCommand(view, 0x13));     // low bits are ignored
    });
    const SimDialogView& about = View(100);
    EXPECT_EQ("VELKA System Setup Version 1.12.1", about.ItemAt(1008).text);
    EXPECT_EQ("Copyright (C) 2001 VELKA Technology Corp.", about.ItemAt(1009).text);
    EXPECT_EQ("&OK", about.ItemAt(1).text);
    EXPECT_EQ("About", about.Caption());
    EXPECT_EQ(View(102).ItemAt(1000).font, about.ItemAt(1008).font);
}

TEST_F(SetupDialogTest, CancelRequestSetsTheFlag) {
    RunProgram([](SimDialogView&, platform::DialogHandler& dialog) {
        auto& setup = static_cast<CSetupDlg&>(dialog);
        EXPECT_EQ(0, setup.Fields().cancelRequested);
        EXPECT_EQ(0, dialog.OnCancelRequest());
        EXPECT_EQ(1, setup.Fields().cancelRequested);
    });
}

TEST(ApplicationTitleTest, IsTheProgramNameWithoutExtension) {
    struct Case {
        std::uint32_t lcid;
        const char* path;
        const char* title;
    } const cases[] = {
        {0x0409, "A:\\SETUP32.EXE", "SETUP32"},
        {0x0409, "C:\\x.y\\setup32.exe", "setup32"},
        {0x0409, "Setup", "Setup"},
        // A second byte 0x5C ends no directory name.
        {0x0411, "C:\\DISK\\\x95\x5c.EXE", "\x95\x5c"},
        {0x0404, "C:\\\xb3\x5c\\\xa4\x5c\xb3\x5c.exe", "\xa4\x5c\xb3\x5c"},
    };
    for (const Case& c : cases) {
        SimMachine machine;
        machine.SetLcid(c.lcid);
        EXPECT_EQ(ApplicationTitle(machine.machine().host, c.path), c.title) << c.path;
    }
}

}  // namespace
}  // namespace setup32
