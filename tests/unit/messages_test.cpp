#include "messages/messages.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/host.h"

namespace setup32 {
namespace {

// The texts as they should read, in UTF-8; the table stores them in the
// columns' code pages.
struct ExpectedRow {
    int id;
    const char* english;
    const char* chinese;
    const char* japanese;
};

const ExpectedRow kExpected[] = {
    {9000, "Arial", "新細明體", "ＭＳ Ｐゴシック"},
    {0, "From: ", "來源: ", "ｺﾋﾟｰ元: "},
    {1, "To: ", "目的: ", "ｺﾋﾟｰ先: "},
    {10, "AddSectionFilesToCopyList", "增加檔案到複製列", "ｾｸｼｮﾝﾌｧｲﾙをｺﾋﾟｰﾘｽﾄにｺﾋﾟｰします。"},
    {11, "CopyFilesInCopyList", "複製檔案", "ﾌｧｲﾙをｺﾋﾟｰします。"},
    {12, "Error", "錯誤", "ｴﾗｰ "},
    {13, "Cannot find the source path !", "找不到來源檔案 !", "ｺﾋﾟｰ元が見つかりません。"},
    {14, "Cannot find the destination path !", "找不到目的檔案路徑 !", "ｺﾋﾟｰ先が見当りません。"},
    {15, "Format error !", "格式錯誤 !", "ﾌｫｰﾏｯﾄ ｴﾗｰです。"},
    {16, "The system cannot find the file specified !", "系統找不到指定檔案 !",
     "指定ﾌｧｲﾙが見当りません。"},
    {17, "The system cannot find the path specified !", "系統找不到指定路徑 !",
     "指定先ﾊﾟｽが見当りません。"},
    {18, "The system cannot open the file !", "系統無法開啟檔案 !", "ﾌｧｲﾙを開けません。"},
    {19, "Access is denied !", "無法執行 !", "ｱｸｾｽできません。"},
    {21, "Error no. %d", "錯誤碼: %d", "ｴﾗｰ № %d"},
    {40, "The setup process is not completed!\nDo you want to exit this program?",
     "安裝程式尚未完成 !\n\n請問您要離開本程式嗎 ?",
     "ｾｯﾄｱｯﾌﾟが完了されていません。\nｾｯﾄｱｯﾌﾟを中止しますか。"},
    {41, "Abort", "放棄", "中止"},
    {42,
     "Destination File: '%s'\n can't be copied !\nIt may be write protected or run on system.\n"
     "Please set the file writable or terminate the program and try again.\n\n"
     "Do you want to try again ?",
     "目的檔案: '%s'\n 無法複製 !\n可能程式正在執行或磁碟機設定為防止寫入.\n"
     "請結束程式或將檔案設定為可寫入後, 再重試一次.\n\n請問您要再試一次嗎 ?",
     "ｺﾋﾟｰ先ﾌｧｲﾙ: '%s'\n ｺﾋﾟｰされていません。\n 書込み防止かﾌﾟﾛｸﾞﾗﾑ実行中です。\n"
     "書込み防止を外して下さい。またはﾌﾟﾛｸﾞﾗﾑを中止して下さい.\n\n再実行しますか。"},
    {43, "Install OK !!!\n\n You must reboot the system to activate the changes !\n\nReboot Now ?",
     "安裝程式已完成 !!!\n\n您必須重新啟動作業系統才能完成設定 !\n\n請問您現在要重新啟動系統嗎 ?",
     "ｲﾝｽﾄｰﾙが完了しました。\n\n 変更を有効にするためにｼｽﾃﾑを再起動します。\n\n再起動しますか。"},
    {44, "The setup process is not completed!\nDo you want to exit this program?",
     "安裝程式尚未完成 !\n\n請問您要離開本程式嗎 ?",
     "ｾｯﾄｱｯﾌﾟが完了されていません。\nｾｯﾄｱｯﾌﾟを中止しますか。"},
    {45, "Exit Setup", "離開安裝程式", "ｾｯﾄｱｯﾌﾟを中止します"},
    {46, "Disk write error!\nPlease check that your disk is not write-protected.",
     "磁碟寫入錯誤 !\n請檢查磁碟機是否設定為防止寫入.",
     "ﾃﾞｨｽｸ書込みｴﾗｰ。\n書込み防止となっているかを確認して下さい。"},
    {47, "Modifying 'Config.sys'...", "修改 'Config.sys' 檔案 ...",
     "'Config.sys'ﾌｧｲﾙをﾓﾃﾞﾌｧｲ中..."},
    {48, "ModifyConfig: The buffer size is too small!", "修改 Config: 緩衝記憶體太小 !",
     "Configのﾓﾃﾞﾌｧｲ: ﾊﾞｯﾌｧｰ ｻｲｽﾞが小さすぎます。"},
    {49, "ModifyConfig: No information exist!", "修改 Config: 資料不存在 !",
     "Configのﾓﾃﾞﾌｧｲ: ﾃﾞｰﾀが存在しません。"},
    {50,
     "Cannot find the setup script:\n%s\n\nNothing has been installed or changed.\n"
     "Please change to the directory of the setup disk and start this program again.",
     "找不到安裝設定檔:\n%s\n\n沒有安裝任何檔案, 系統也未做任何變更.\n"
     "請切換到安裝磁碟所在的目錄, 再執行本程式一次.",
     "ｾｯﾄｱｯﾌﾟ ｽｸﾘﾌﾟﾄが見つかりません:\n%s\n\nｲﾝｽﾄｰﾙも変更も行われていません。\n"
     "ｾｯﾄｱｯﾌﾟ ﾃﾞｨｽｸのﾃﾞｨﾚｸﾄﾘに移動してから、もう一度このﾌﾟﾛｸﾞﾗﾑを実行して下さい。"},
    {51, "The previous CONFIG.SYS was kept as %s\nand the new one was written as %s.",
     "原來的 CONFIG.SYS 已另存為 %s\n新的 CONFIG.SYS 已寫入 %s",
     "元のCONFIG.SYSは %s に保存されています。\n新しいCONFIG.SYSは %s に保存されています。"},
    {52,
     "Cannot read the setup script:\n"
     "%s\n"
     "(Windows error %d)\n\n"
     "Nothing has been installed or changed.\n"
     "Please check that the setup disk is in its drive and can be read, and press Start again.",
     "無法讀取安裝設定檔:\n"
     "%s\n"
     "(Windows 錯誤碼: %d)\n\n"
     "沒有安裝任何檔案, 系統也未做任何變更.\n"
     "請確認安裝磁碟已放入磁碟機並且可以讀取, 再按一次 [開始].",
     "ｾｯﾄｱｯﾌﾟ ｽｸﾘﾌﾟﾄを読み込めません:\n"
     "%s\n"
     "(Windows ｴﾗｰ %d)\n\n"
     "ｲﾝｽﾄｰﾙも変更も行われていません。\n"
     "ｾｯﾄｱｯﾌﾟ "
     "ﾃﾞｨｽｸがﾄﾞﾗｲﾌﾞに入っていて読み込めることを確認してから、もう一度[開始]を押して下さい。"},
    {53,
     "Cannot find the setup script:\n"
     "%s\n\n"
     "This Start has changed nothing; what the Start before it installed stays in place.\n"
     "Please put the setup disk back and press Start again.",
     "找不到安裝設定檔:\n"
     "%s\n\n"
     "這次按下 [開始] 並未做任何變更; 前一次安裝的檔案仍保留原狀.\n"
     "請放回安裝磁碟, 再按一次 [開始].",
     "ｾｯﾄｱｯﾌﾟ ｽｸﾘﾌﾟﾄが見つかりません:\n"
     "%s\n\n"
     "今回の[開始]では何も変更していません。前回の[開始]でｲﾝｽﾄｰﾙしたものはそのまま残っています。\n"
     "ｾｯﾄｱｯﾌﾟ ﾃﾞｨｽｸを戻してから、もう一度[開始]を押して下さい。"},
    {54,
     "Cannot read the setup script:\n"
     "%s\n"
     "(Windows error %d)\n\n"
     "This Start has changed nothing; what the Start before it installed stays in place.\n"
     "Please check that the setup disk is in its drive and can be read, and press Start again.",
     "無法讀取安裝設定檔:\n"
     "%s\n"
     "(Windows 錯誤碼: %d)\n\n"
     "這次按下 [開始] 並未做任何變更; 前一次安裝的檔案仍保留原狀.\n"
     "請確認安裝磁碟已放入磁碟機並且可以讀取, 再按一次 [開始].",
     "ｾｯﾄｱｯﾌﾟ ｽｸﾘﾌﾟﾄを読み込めません:\n"
     "%s\n"
     "(Windows ｴﾗｰ %d)\n\n"
     "今回の[開始]では何も変更していません。前回の[開始]でｲﾝｽﾄｰﾙしたものはそのまま残っています。\n"
     "ｾｯﾄｱｯﾌﾟ "
     "ﾃﾞｨｽｸがﾄﾞﾗｲﾌﾞに入っていて読み込めることを確認してから、もう一度[開始]を押して下さい。"},
    {55,
     "Cannot change %s:\n"
     "its old content must first move to a free name beside it,\n"
     "and every name from %s to %s is taken.\n\n"
     "Please delete those you do not need and press Start again.",
     "無法修改 %s:\n"
     "必須先將原來的內容改名為同一目錄中未使用的檔名,\n"
     "但是從 %s 到 %s 的檔名都已被使用.\n\n"
     "請刪除其中不需要的檔案, 再按一次 [開始].",
     "%s を変更できません:\n"
     "元の内容をいったん同じﾃﾞｨﾚｸﾄﾘ内の未使用のﾌｧｲﾙ名に退避する必要がありますが、\n"
     "%s から %s までの名前はすべて使われています。\n\n"
     "不要なﾌｧｲﾙを削除してから、もう一度[開始]を押して下さい。"},
    {56,
     "The setup script is empty:\n%s\n\n%s\n"
     "Please use a complete copy of the setup disk and press Start again.",
     "安裝設定檔是空的:\n%s\n\n%s\n請使用完整的安裝磁碟, 再按一次 [開始].",
     "ｾｯﾄｱｯﾌﾟ ｽｸﾘﾌﾟﾄが空です:\n%s\n\n%s\n"
     "完全なｾｯﾄｱｯﾌﾟ ﾃﾞｨｽｸを使って、もう一度[開始]を押して下さい。"},
    {57,
     "Windows reads no section from the setup script:\n%s\n\n%s\n"
     "Please close any program that has the script open, check that it is saved as plain text "
     "rather than Unicode, and press Start again.",
     "Windows 從安裝設定檔讀不到任何區段:\n%s\n\n%s\n"
     "請關閉開啟此檔案的其他程式, 並確認它是以純文字 (而非 Unicode) 格式儲存, 再按一次 [開始].",
     "Windowsはｾｯﾄｱｯﾌﾟ ｽｸﾘﾌﾟﾄからｾｸｼｮﾝをひとつも読み込めません:\n%s\n\n%s\n"
     "ｽｸﾘﾌﾟﾄを開いている他のﾌﾟﾛｸﾞﾗﾑを終了し、Unicodeではなくﾃｷｽﾄ形式で保存されていることを"
     "確認してから、もう一度[開始]を押して下さい。"},
    {58, "Nothing has been installed or changed.", "沒有安裝任何檔案, 系統也未做任何變更.",
     "ｲﾝｽﾄｰﾙも変更も行われていません。"},
    {59, "This Start has changed nothing; what the Start before it installed stays in place.",
     "這次按下 [開始] 並未做任何變更; 前一次安裝的檔案仍保留原狀.",
     "今回の[開始]では何も変更していません。前回の[開始]でｲﾝｽﾄｰﾙしたものはそのまま残っています。"},
    {60, "Welcome to setup program.", "歡迎使用本安裝程式", "ｾｯﾄｱｯﾌﾟﾌﾟﾛｸﾞﾗﾑへようこそ。"},
    {61, "This program will setup the drivers for your system.", "本程式將會幫你自動安裝驅動程式",
     "このﾌﾟﾛｸﾞﾗﾑはｺﾝﾋﾟｭｰﾀにﾄﾞﾗｲﾊﾞｰをｾｯﾄｱｯﾌﾟします。"},
    {62, "&Start", "[&S]開始", "[&S]開始"},
    {63, "E&xit", "[&X]離開", "[&X]中止"},
    {64, "Setup", "安裝程式", "ｼｽﾃﾑｾｯﾄｱｯﾌﾟ "},
    {70, "VELKA System Setup Version 1.12.1", "VELKA System Setup Version 1.12.1",
     "VELKA System Setup Version 1.12.1"},
    {71, "Copyright (C) 2001 VELKA Technology Corp.", "Copyright (C) 2001 VELKA Technology Corp.",
     "Copyright (C) 2001 VELKA Technology Corp."},
    {72, "&OK", "[&O]確定", "&OK"},
    {73, "About", "關於", "情報"},
    {90, "Thank you for using this product.", "感謝您使用本產品 !",
     "ご利用いただきありがとうございます。"},
    {91, "", "", ""},
    {92, "", "", ""},
    {93, "", "", ""},
    {100, "&Cancel", "[&C]取消", "[&C]ｷｬﾝｾﾙ "},
    {101, "Progress", "複製進度", "実行中"},
    {-1, "", "", ""},
};

// Encodes UTF-8 text into the first code page that iconv knows by one of the
// given names; fails the test on any character the code page lacks.
class Encoder {
  public:
    explicit Encoder(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            cd_ = iconv_open(name, "UTF-8");
            if (cd_ != kNone) return;
        }
    }
    ~Encoder() {
        if (cd_ != kNone) iconv_close(cd_);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    bool Ready() const { return cd_ != kNone; }

    std::string Encode(std::string utf8) const {
        std::string out(utf8.size() * 2 + 1, '\0');
        char* in = utf8.data();
        std::size_t inLeft = utf8.size();
        char* dest = out.data();
        std::size_t outLeft = out.size();
        const std::size_t done = iconv(cd_, &in, &inLeft, &dest, &outLeft);
        EXPECT_NE(done, static_cast<std::size_t>(-1)) << "cannot encode: " << utf8;
        out.resize(out.size() - outLeft);
        return out;
    }

  private:
    static inline const iconv_t kNone = reinterpret_cast<iconv_t>(-1);
    iconv_t cd_ = kNone;
};

TEST(MessageTable, StoresEveryRowInItsCodePages) {
    const Encoder cp1252({"CP1252"});
    const Encoder cp950({"CP950", "BIG5"});
    const Encoder cp932({"CP932", "WINDOWS-31J"});
    ASSERT_TRUE(cp1252.Ready() && cp950.Ready() && cp932.Ready());

    const MessageRow* row = kMessageTable;
    for (const ExpectedRow& expected : kExpected) {
        SCOPED_TRACE(expected.id);
        EXPECT_EQ(row->id, expected.id);
        EXPECT_EQ(row->english, cp1252.Encode(expected.english));
        EXPECT_EQ(row->chinese, cp950.Encode(expected.chinese));
        EXPECT_EQ(row->japanese, cp932.Encode(expected.japanese));
        if (row->id == kEndOfTable) break;
        ++row;
    }
    EXPECT_EQ(row->id, kEndOfTable);
    EXPECT_EQ(row - kMessageTable, 49);
}

// Bytes an encoder could get wrong as well as the table.
TEST(MessageTable, KeepsCodePage932Specifics) {
    const auto japanese = [](int id) {
        return std::string(MsgText(Language{primary_language::kJapanese, 0}, id));
    };
    EXPECT_EQ(japanese(21), "\xB4\xD7\xB0 \x87\x82 %d");  // half-width katakana, numero sign
    EXPECT_EQ(japanese(9000), "\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E");
    EXPECT_EQ(japanese(100), "[&C]\xB7\xAC\xDD\xBE\xD9 ");
}

TEST(MessageTable, SystemDefaultLocaleChoosesTheColumn) {
    const struct {
        std::uint32_t lcid;
        const char* MessageRow::*column;
    } cases[] = {
        {0x0404, &MessageRow::chinese},       // Chinese, Taiwan
        {0x0804, &MessageRow::english},       // Chinese, PRC
        {0x0C04, &MessageRow::english},       // Chinese, Hong Kong
        {0x1004, &MessageRow::english},       // Chinese, Singapore
        {0x0411, &MessageRow::japanese},      //
        {0x00010411, &MessageRow::japanese},  // sort order bits are not part of the LANGID
        {0x0409, &MessageRow::english},       //
        {0x0407, &MessageRow::english},       // German
        {0x0000, &MessageRow::english},       // before the system is identified
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.lcid);
        const Language language = LanguageFromLcid(c.lcid);
        for (const MessageRow* row = kMessageTable; row->id != kEndOfTable; ++row) {
            EXPECT_EQ(MsgText(language, row->id), row->*c.column) << row->id;
        }
    }
}

TEST(MessageTable, UnknownIdsAreEmptyInEveryLanguage) {
    for (const std::uint32_t lcid : {0x0409u, 0x0404u, 0x0411u}) {
        const Language language = LanguageFromLcid(lcid);
        for (const int id : {-1, 2, 20, 102, 8999, 9001, -2}) {
            const char* text = MsgText(language, id);
            ASSERT_NE(text, nullptr);
            EXPECT_STREQ(text, "") << id;
        }
    }
}

TEST(MessageTable, LanguageSplitsTheLangId) {
    const Language language = LanguageFromLcid(0x12345C04);
    EXPECT_EQ(language.primary, 0x004u);
    EXPECT_EQ(language.sub, 0x17u);
}

TEST(OsKind, FollowsTheVersionNumber) {
    const struct {
        std::uint32_t version;
        int kind;
    } cases[] = {
        {0x05650004, os_kind::kWindowsNT},     // NT 4.0
        {0x04213303, os_kind::kWindowsNT},     // NT 3.51
        {0x08930005, os_kind::kWindows2000},   // 5.0
        {0x0A280105, os_kind::kWindowsNT},     // 5.1
        {0x23F00206, os_kind::kWindowsNT},     // 6.2
        {0xC3B60004, os_kind::kWindows95},     // 4.0
        {0xC0000A04, os_kind::kWindows98},     // 4.10
        {0xC0005A04, os_kind::kWindows95},     // 4.90
        {0x80000003, os_kind::kWin32s},        // 3.x
        {0x80000A03, os_kind::kWin32s},        //
        {0x80000005, os_kind::kUnrecognised},  // any other major of the 9x family
        {0x80000002, os_kind::kUnrecognised},  //
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OsKindFromVersion(c.version), c.kind) << std::hex << c.version;
    }
}

class FakeHost : public platform::HostFacts {
  public:
    FakeHost(std::uint32_t version, std::uint32_t lcid) : version_(version), lcid_(lcid) {}
    std::uint32_t Version() const override { return version_; }
    std::uint32_t DefaultLcid() const override { return lcid_; }
    unsigned AnsiCodePage() const override { return 932; }
    bool IsLeadByte(unsigned char) const override { return false; }
    std::string UpperCase(std::string_view text) const override { return std::string(text); }

  private:
    std::uint32_t version_;
    std::uint32_t lcid_;
};

TEST(OsKind, IdentifySystemReadsLocaleAndVersion) {
    const FakeHost host(0xC0000A04, 0x0411);
    const SystemIdentity identity = IdentifySystem(host);
    EXPECT_EQ(identity.language.primary, primary_language::kJapanese);
    EXPECT_EQ(identity.language.sub, 1u);
    EXPECT_EQ(identity.osKind, os_kind::kWindows98);
    EXPECT_EQ(GetOsKind(host), os_kind::kWindows98);
    EXPECT_EQ(GetOsKind(FakeHost(0x08930005, 0x0409)), os_kind::kWindows2000);
}

}  // namespace
}  // namespace setup32
