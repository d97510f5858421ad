// The console report and key guide as a UTF-8 terminal must receive them.
#pragma once

#include <cstring>
#include <iconv.h>
#include <string>

inline constexpr char expectedReport[] =
    "\n糸の巻き戻しによるインボリュート曲線創成"
    "\n(1) 歯数設定"
    "   歯数z0=4 "
    "\nモジュールm=1[mm]"
    "\n歯数=  4, 歯先円= 2.000[mm], 歯元円=-0.250[mm], 基礎円= 0.940[mm]"
    "\nピッチ点からの転がり量(αmax αmin)=( 99.24 -26.07)[deg]\n"
    "\n１対歯車のかみ合いアニメーション"
    "\nキーによるアニメーション選択"
    "\n's'        ：描画継続"
    "\n'1' '2' '3'：(1)基礎円固定,(2)基礎円回転，(3)基礎円転がり の選択"
    "\n'4'        ：(4)１歯だけの一対invlute歯車のかみ合い運動の選択"
    "\n'5' '6'    ：１対z歯数歯車かみ合い運動 (5):斜がけ糸あり(6):なしの選択\n"
    "\n'w' 'W'    ：図の縮小拡大"
    "\n'd' 'D'    ：(4),(5),(6)の場合，正逆回転の選択";

inline constexpr char expectedTitle[] =
    "糸の巻き戻しによるインボリュート曲線創成　1,..,6：創成画面変更，d,D:正逆回転，s:継続";

// UTF-8 text as glibc's own converter renders it in code page 932: what a
// Shift_JIS terminal must receive. Empty if the conversion fails.
inline std::string toCp932(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::string();
    }
    std::string out(utf8.size() * 2, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* o = out.data();
    size_t outLeft = out.size();
    const bool ok = iconv(cd, &in, &inLeft, &o, &outLeft) != static_cast<size_t>(-1) && inLeft == 0;
    iconv_close(cd);
    out.resize(ok ? out.size() - outLeft : 0);
    return out;
}

// The report in code page 932.
inline std::string expectedReportCp932() { return toCp932(expectedReport); }
