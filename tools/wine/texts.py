"""The texts the end-to-end scenarios expect on screen, per language.

Written out here on their own, apart from the program's message table, so
that a wrong text in the program shows up as a difference.
"""

# The ANSI code page each scenario language runs under.
CODE_PAGES = {"en": "cp1252", "zh": "cp950", "ja": "cp932"}

_COPYRIGHT = "Copyright (C) 2001 VELKA Technology Corp."
_NOT_COMPLETED = {
    "en": "The setup process is not completed!\nDo you want to exit this program?",
    "zh": "安裝程式尚未完成 !\n\n請問您要離開本程式嗎 ?",
    "ja": "ｾｯﾄｱｯﾌﾟが完了されていません。\nｾｯﾄｱｯﾌﾟを中止しますか。",
}

MESSAGES = {
    9000: {"en": "Arial", "zh": "新細明體", "ja": "ＭＳ Ｐゴシック"},
    0: {"en": "From: ", "zh": "來源: ", "ja": "ｺﾋﾟｰ元: "},
    1: {"en": "To: ", "zh": "目的: ", "ja": "ｺﾋﾟｰ先: "},
    42: {
        "en": "Destination File: '%s'\n can't be copied !\nIt may be write protected or run on "
        "system.\nPlease set the file writable or terminate the program and try again.\n\n"
        "Do you want to try again ?",
        "zh": "目的檔案: '%s'\n 無法複製 !\n可能程式正在執行或磁碟機設定為防止寫入.\n"
        "請結束程式或將檔案設定為可寫入後, 再重試一次.\n\n請問您要再試一次嗎 ?",
        "ja": "ｺﾋﾟｰ先ﾌｧｲﾙ: '%s'\n ｺﾋﾟｰされていません。\n 書込み防止かﾌﾟﾛｸﾞﾗﾑ実行中です。\n"
        "書込み防止を外して下さい。またはﾌﾟﾛｸﾞﾗﾑを中止して下さい.\n\n再実行しますか。",
    },
    40: _NOT_COMPLETED,
    41: {"en": "Abort", "zh": "放棄", "ja": "中止"},
    43: {
        "en": "Install OK !!!\n\n You must reboot the system to activate the changes !\n\nReboot Now ?",
        "zh": "安裝程式已完成 !!!\n\n您必須重新啟動作業系統才能完成設定 !\n\n請問您現在要重新啟動系統嗎 ?",
        "ja": "ｲﾝｽﾄｰﾙが完了しました。\n\n 変更を有効にするためにｼｽﾃﾑを再起動します。\n\n再起動しますか。",
    },
    44: _NOT_COMPLETED,
    45: {"en": "Exit Setup", "zh": "離開安裝程式", "ja": "ｾｯﾄｱｯﾌﾟを中止します"},
    46: {
        "en": "Disk write error!\nPlease check that your disk is not write-protected.",
        "zh": "磁碟寫入錯誤 !\n請檢查磁碟機是否設定為防止寫入.",
        "ja": "ﾃﾞｨｽｸ書込みｴﾗｰ。\n書込み防止となっているかを確認して下さい。",
    },
    50: {
        "en": "Cannot find the setup script:\n%s\n\nNothing has been installed or changed.\n"
        "Please change to the directory of the setup disk and start this program again.",
        "zh": "找不到安裝設定檔:\n%s\n\n沒有安裝任何檔案, 系統也未做任何變更.\n"
        "請切換到安裝磁碟所在的目錄, 再執行本程式一次.",
        "ja": "ｾｯﾄｱｯﾌﾟ ｽｸﾘﾌﾟﾄが見つかりません:\n%s\n\nｲﾝｽﾄｰﾙも変更も行われていません。\n"
        "ｾｯﾄｱｯﾌﾟ ﾃﾞｨｽｸのﾃﾞｨﾚｸﾄﾘに移動してから、もう一度このﾌﾟﾛｸﾞﾗﾑを実行して下さい。",
    },
    52: {
        "en": "Cannot read the setup script:\n%s\n(Windows error %d)\n\n"
        "Nothing has been installed or changed.\n"
        "Please check that the setup disk is in its drive and can be read, and press Start again.",
        "zh": "無法讀取安裝設定檔:\n%s\n(Windows 錯誤碼: %d)\n\n沒有安裝任何檔案, 系統也未做任何變更.\n請確認安裝磁碟已放入磁碟機並且可以讀取, 再按一次開始.",
        "ja": "ｾｯﾄｱｯﾌﾟ ｽｸﾘﾌﾟﾄを読み込めません:\n%s\n(Windows ｴﾗｰ %d)\n\nｲﾝｽﾄｰﾙも変更も行われていません。\n"
        "ｾｯﾄｱｯﾌﾟ ﾃﾞｨｽｸがﾄﾞﾗｲﾌﾞに入っていて読み込めることを確認してから、もう一度[開始]を押して下さい。",
    },
    53: {
        "en": "Cannot find the setup script:\n%s\n\n"
        "This Start has changed nothing; what the Start before it installed stays in place.\n"
        "Please put the setup disk back and press Start again.",
        "zh": "找不到安裝設定檔:\n%s\n\n這次的開始沒有做任何變更; 前一次開始所安裝的檔案都保留原狀.\n請放回安裝磁碟, 再按一次開始.",
        "ja": "ｾｯﾄｱｯﾌﾟ ｽｸﾘﾌﾟﾄが見つかりません:\n%s\n\n今回の[開始]では何も変更していません。前回の[開始]でｲﾝｽﾄｰﾙしたものはそのまま残っています。\n"
        "ｾｯﾄｱｯﾌﾟ ﾃﾞｨｽｸを戻してから、もう一度[開始]を押して下さい。",
    },
    54: {
        "en": "Cannot read the setup script:\n%s\n(Windows error %d)\n\n"
        "This Start has changed nothing; what the Start before it installed stays in place.\n"
        "Please check that the setup disk is in its drive and can be read, and press Start again.",
        "zh": "無法讀取安裝設定檔:\n%s\n(Windows 錯誤碼: %d)\n\n這次的開始沒有做任何變更; 前一次開始所安裝的檔案都保留原狀.\n"
        "請確認安裝磁碟已放入磁碟機並且可以讀取, 再按一次開始.",
        "ja": "ｾｯﾄｱｯﾌﾟ ｽｸﾘﾌﾟﾄを読み込めません:\n%s\n(Windows ｴﾗｰ %d)\n\n"
        "今回の[開始]では何も変更していません。前回の[開始]でｲﾝｽﾄｰﾙしたものはそのまま残っています。\n"
        "ｾｯﾄｱｯﾌﾟ ﾃﾞｨｽｸがﾄﾞﾗｲﾌﾞに入っていて読み込めることを確認してから、もう一度[開始]を押して下さい。",
    },
    55: {
        "en": "Cannot change %s:\nits old content must first move to a free name beside it,\n"
        "and every name from %s to %s is taken.\n\n"
        "Please delete those you do not need and press Start again.",
        "zh": "無法修改 %s:\n原來的內容必須先移到它旁邊一個未使用的檔名,\n但是從 %s 到 %s 的檔名都已被使用.\n\n請刪除其中不需要的檔案, 再按一次開始.",
        "ja": "%s を変更できません:\n元の内容をまずその横の空いている名前に移す必要がありますが、\n%s から %s までの名前はすべて使われています。\n\n"
        "不要なﾌｧｲﾙを削除してから、もう一度[開始]を押して下さい。",
    },
    60: {"en": "Welcome to setup program.", "zh": "歡迎使用本安裝程式", "ja": "ｾｯﾄｱｯﾌﾟﾌﾟﾛｸﾞﾗﾑへようこそ。"},
    61: {
        "en": "This program will setup the drivers for your system.",
        "zh": "本程式將會幫你自動安裝驅動程式",
        "ja": "このﾌﾟﾛｸﾞﾗﾑはｺﾝﾋﾟｭｰﾀにﾄﾞﾗｲﾊﾞｰをｾｯﾄｱｯﾌﾟします。",
    },
    62: {"en": "&Start", "zh": "[&S]開始", "ja": "[&S]開始"},
    63: {"en": "E&xit", "zh": "[&X]離開", "ja": "[&X]中止"},
    64: {"en": "Setup", "zh": "安裝程式", "ja": "ｼｽﾃﾑｾｯﾄｱｯﾌﾟ "},
    70: dict.fromkeys(CODE_PAGES, "VELKA System Setup Version 1.12.1"),
    71: dict.fromkeys(CODE_PAGES, _COPYRIGHT),
    72: {"en": "&OK", "zh": "[&O]確定", "ja": "&OK"},
    73: {"en": "About", "zh": "關於", "ja": "情報"},
    100: {"en": "&Cancel", "zh": "[&C]取消", "ja": "[&C]ｷｬﾝｾﾙ "},
    101: {"en": "Progress", "zh": "複製進度", "ja": "実行中"},
}

# The version block of the program, the same in every language.
VERSION_BLOCK = {
    "FileVersion#": "1.12.2.1",
    "ProductVersion#": "1.12.2.1",
    "Translation": "040904b0",
    "CompanyName": "VELKA Technology Corp.",
    "FileDescription": "Setup Application",
    "FileVersion": "1, 12, 2, 1",
    "InternalName": "Setup32",
    "LegalCopyright": _COPYRIGHT,
    "OriginalFilename": "Setup32",
    "ProductName": "Setup Application",
    "ProductVersion": "1, 12, 2, 1",
}


def msg(message_id, language):
    return MESSAGES[message_id][language]
