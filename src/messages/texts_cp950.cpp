// Traditional Chinese texts, written in UTF-8 and stored in code page 950 (Big5).
#include "messages/message_texts.h"

namespace setup32::message_texts::chinese {

const char k9000[] = "新細明體";
const char k0[] = "來源: ";
const char k1[] = "目的: ";
const char k10[] = "增加檔案到複製列";
const char k11[] = "複製檔案";
const char k12[] = "錯誤";
const char k13[] = "找不到來源檔案 !";
const char k14[] = "找不到目的檔案路徑 !";
const char k15[] = "格式錯誤 !";
const char k16[] = "系統找不到指定檔案 !";
const char k17[] = "系統找不到指定路徑 !";
const char k18[] = "系統無法開啟檔案 !";
const char k19[] = "無法執行 !";
const char k21[] = "錯誤碼: %d";
const char k40[] = "安裝程式尚未完成 !\n\n請問您要離開本程式嗎 ?";
const char k41[] = "放棄";
const char k42[] =
    "目的檔案: '%s'\n 無法複製 !\n"
    "可能程式正在執行或磁碟機設定為防止寫入.\n"
    "請結束程式或將檔案設定為可寫入後, 再重試一次.\n"
    "\n"
    "請問您要再試一次嗎 ?";
const char k43[] =
    "安裝程式已完成 !!!\n"
    "\n"
    "您必須重新啟動作業系統才能完成設定 !\n"
    "\n"
    "請問您現在要重新啟動系統嗎 ?";
const char k44[] = "安裝程式尚未完成 !\n\n請問您要離開本程式嗎 ?";
const char k45[] = "離開安裝程式";
const char k46[] = "磁碟寫入錯誤 !\n請檢查磁碟機是否設定為防止寫入.";
const char k47[] = "修改 'Config.sys' 檔案 ...";
const char k48[] = "修改 Config: 緩衝記憶體太小 !";
const char k49[] = "修改 Config: 資料不存在 !";
const char k50[] =
    "找不到安裝設定檔:\n"
    "%s\n"
    "\n"
    "沒有安裝任何檔案, 系統也未做任何變更.\n"
    "請切換到安裝磁碟所在的目錄, 再執行本程式一次.";
const char k51[] =
    "原來的 CONFIG.SYS 已另存為 %s\n"
    "新的 CONFIG.SYS 已寫入 %s";
const char k52[] =
    "無法讀取安裝設定檔:\n"
    "%s\n"
    "(Windows 錯誤碼: %d)\n"
    "\n"
    "沒有安裝任何檔案, 系統也未做任何變更.\n"
    "請確認安裝磁碟已放入磁碟機並且可以讀取, 再按一次 [開始].";
const char k53[] =
    "找不到安裝設定檔:\n"
    "%s\n"
    "\n"
    "這次按下 [開始] 並未做任何變更; 前一次安裝的檔案仍保留原狀.\n"
    "請放回安裝磁碟, 再按一次 [開始].";
const char k54[] =
    "無法讀取安裝設定檔:\n"
    "%s\n"
    "(Windows 錯誤碼: %d)\n"
    "\n"
    "這次按下 [開始] 並未做任何變更; 前一次安裝的檔案仍保留原狀.\n"
    "請確認安裝磁碟已放入磁碟機並且可以讀取, 再按一次 [開始].";
const char k55[] =
    "無法修改 %s:\n"
    "必須先將原來的內容改名為同一目錄中未使用的檔名,\n"
    "但是從 %s 到 %s 的檔名都已被使用.\n"
    "\n"
    "請刪除其中不需要的檔案, 再按一次 [開始].";
const char k56[] =
    "安裝設定檔是空的:\n"
    "%s\n"
    "\n"
    "%s\n"
    "請使用完整的安裝磁碟, 再按一次 [開始].";
const char k57[] =
    "Windows 從安裝設定檔讀不到任何區段:\n"
    "%s\n"
    "\n"
    "%s\n"
    "請關閉開啟此檔案的其他程式, 並確認它是以純文字 (而非 Unicode) 格式儲存, 再按一次 [開始].";
const char k58[] = "沒有安裝任何檔案, 系統也未做任何變更.";
const char k59[] = "這次按下 [開始] 並未做任何變更; 前一次安裝的檔案仍保留原狀.";
const char k60[] = "歡迎使用本安裝程式";
const char k61[] = "本程式將會幫你自動安裝驅動程式";
const char k62[] = "[&S]開始";
const char k63[] = "[&X]離開";
const char k64[] = "安裝程式";
const char k72[] = "[&O]確定";
const char k73[] = "關於";
const char k90[] = "感謝您使用本產品 !";
const char k100[] = "[&C]取消";
const char k101[] = "複製進度";

}  // namespace setup32::message_texts::chinese
