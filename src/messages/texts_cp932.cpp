// Japanese texts, written in UTF-8 and stored in code page 932. Half-width
// katakana stay half-width; the numero sign of message 21 is the code page's
// own character (0x87 0x82), which plain Shift-JIS lacks.
#include "messages/message_texts.h"

namespace setup32::message_texts::japanese {

const char k9000[] = "ＭＳ Ｐゴシック";
const char k0[] = "ｺﾋﾟｰ元: ";
const char k1[] = "ｺﾋﾟｰ先: ";
const char k10[] = "ｾｸｼｮﾝﾌｧｲﾙをｺﾋﾟｰﾘｽﾄにｺﾋﾟｰします。";
const char k11[] = "ﾌｧｲﾙをｺﾋﾟｰします。";
const char k12[] = "ｴﾗｰ ";
const char k13[] = "ｺﾋﾟｰ元が見つかりません。";
const char k14[] = "ｺﾋﾟｰ先が見当りません。";
const char k15[] = "ﾌｫｰﾏｯﾄ ｴﾗｰです。";
const char k16[] = "指定ﾌｧｲﾙが見当りません。";
const char k17[] = "指定先ﾊﾟｽが見当りません。";
const char k18[] = "ﾌｧｲﾙを開けません。";
const char k19[] = "ｱｸｾｽできません。";
const char k21[] = "ｴﾗｰ № %d";
const char k40[] = "ｾｯﾄｱｯﾌﾟが完了されていません。\nｾｯﾄｱｯﾌﾟを中止しますか。";
const char k41[] = "中止";
const char k42[] =
    "ｺﾋﾟｰ先ﾌｧｲﾙ: '%s'\n ｺﾋﾟｰされていません。\n"
    " 書込み防止かﾌﾟﾛｸﾞﾗﾑ実行中です。\n"
    "書込み防止を外して下さい。またはﾌﾟﾛｸﾞﾗﾑを中止して下さい.\n"
    "\n"
    "再実行しますか。";
const char k43[] =
    "ｲﾝｽﾄｰﾙが完了しました。\n"
    "\n"
    " 変更を有効にするためにｼｽﾃﾑを再起動します。\n"
    "\n"
    "再起動しますか。";
const char k44[] = "ｾｯﾄｱｯﾌﾟが完了されていません。\nｾｯﾄｱｯﾌﾟを中止しますか。";
const char k45[] = "ｾｯﾄｱｯﾌﾟを中止します";
const char k46[] = "ﾃﾞｨｽｸ書込みｴﾗｰ。\n書込み防止となっているかを確認して下さい。";
const char k47[] = "'Config.sys'ﾌｧｲﾙをﾓﾃﾞﾌｧｲ中...";
const char k48[] = "Configのﾓﾃﾞﾌｧｲ: ﾊﾞｯﾌｧｰ ｻｲｽﾞが小さすぎます。";
const char k49[] = "Configのﾓﾃﾞﾌｧｲ: ﾃﾞｰﾀが存在しません。";
const char k50[] =
    "ｾｯﾄｱｯﾌﾟ ｽｸﾘﾌﾟﾄが見つかりません:\n"
    "%s\n"
    "\n"
    "ｲﾝｽﾄｰﾙも変更も行われていません。\n"
    "ｾｯﾄｱｯﾌﾟ ﾃﾞｨｽｸのﾃﾞｨﾚｸﾄﾘに移動してから、もう一度このﾌﾟﾛｸﾞﾗﾑを実行して下さい。";
const char k51[] =
    "元のCONFIG.SYSは %s に保存されています。\n"
    "新しいCONFIG.SYSは %s に保存されています。";
const char k52[] =
    "ｾｯﾄｱｯﾌﾟ ｽｸﾘﾌﾟﾄを読み込めません:\n"
    "%s\n"
    "(Windows ｴﾗｰ %d)\n"
    "\n"
    "ｲﾝｽﾄｰﾙも変更も行われていません。\n"
    "ｾｯﾄｱｯﾌﾟ ﾃﾞｨｽｸがﾄﾞﾗｲﾌﾞに入っていて読み込めることを確認してから、もう一度[開始]を押して下さい。";
const char k53[] =
    "ｾｯﾄｱｯﾌﾟ ｽｸﾘﾌﾟﾄが見つかりません:\n"
    "%s\n"
    "\n"
    "今回の[開始]では何も変更していません。前回の[開始]でｲﾝｽﾄｰﾙしたものはそのまま残っています。\n"
    "ｾｯﾄｱｯﾌﾟ ﾃﾞｨｽｸを戻してから、もう一度[開始]を押して下さい。";
const char k54[] =
    "ｾｯﾄｱｯﾌﾟ ｽｸﾘﾌﾟﾄを読み込めません:\n"
    "%s\n"
    "(Windows ｴﾗｰ %d)\n"
    "\n"
    "今回の[開始]では何も変更していません。前回の[開始]でｲﾝｽﾄｰﾙしたものはそのまま残っています。\n"
    "ｾｯﾄｱｯﾌﾟ ﾃﾞｨｽｸがﾄﾞﾗｲﾌﾞに入っていて読み込めることを確認してから、もう一度[開始]を押して下さい。";
const char k55[] =
    "%s を変更できません:\n"
    "元の内容をまずその横の空いている名前に移す必要がありますが、\n"
    "%s から %s までの名前はすべて使われています。\n"
    "\n"
    "不要なﾌｧｲﾙを削除してから、もう一度[開始]を押して下さい。";
const char k60[] = "ｾｯﾄｱｯﾌﾟﾌﾟﾛｸﾞﾗﾑへようこそ。";
const char k61[] = "このﾌﾟﾛｸﾞﾗﾑはｺﾝﾋﾟｭｰﾀにﾄﾞﾗｲﾊﾞｰをｾｯﾄｱｯﾌﾟします。";
const char k62[] = "[&S]開始";
const char k63[] = "[&X]中止";
const char k64[] = "ｼｽﾃﾑｾｯﾄｱｯﾌﾟ ";
const char k72[] = "&OK";
const char k73[] = "情報";
const char k90[] = "ご利用いただきありがとうございます。";
const char k100[] = "[&C]ｷｬﾝｾﾙ ";
const char k101[] = "実行中";

}  // namespace setup32::message_texts::japanese
