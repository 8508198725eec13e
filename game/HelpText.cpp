#include "game/HelpText.h"

#include "app/Tr.h"
#include "engine/PointRules.h"

#include <utility>

namespace vostrel {

namespace {

std::string N(int32_t n) {
    return std::to_string(n);
}

} // namespace

std::vector<HelpSection> BuildHelp(const std::string& settingsPath) {
    using namespace points;
    std::vector<HelpSection> help;

    help.push_back(
        {Tr("HelpText", "目的"),
         {FillText(Tr("HelpText",
                      "4つの数字の前と間に、べき乗、符号、演算子と計算順位を選んで式を作"
                      "り、結果を%1にしてください。結果が%1の式に最も多くの得点が入りま"
                      "す。"),
                   {N(kTarget)}),
          Tr("HelpText", "1ゲームは設定の繰返し回数だけ問題が続きます。ゲームのスコアは1問あたり"
                         "の平均得点で、上位5位まではハイスコアに名前を残せます。")},
         {}});

    help.push_back(
        {Tr("HelpText", "式の選び方"),
         {Tr("HelpText",
             "色の付いた小さなラベルをクリックすると、その場に一覧が開きます。キーボードでは Tab "
             "か矢印キーでラベルに移り、Space か Enter で開き、上下の矢印キーで選んで Enter で"
             "決めます。Esc は選ばずに閉じます。"),
          Tr("HelpText",
             "数字の上のラベルはべき乗です: √ は平方根、1/3 は立方根、2 は2乗、3 は3乗、空欄は"
             "なし。設定で「べき乗を使用する」がオフのときは選べません。"),
          Tr("HelpText",
             "最初の数字の前のラベルは符号です: 空欄はそのまま、- は符号を反転します。数字の間の"
             "ラベルは演算子です: + - * / のほか、空白は連結で、両隣の数字をつないで1つの数にし"
             "ます(1 と 2 の連結は 12)。"),
          Tr("HelpText",
             "演算子の下の数字は計算順位です。順位の小さい演算子から先に計算されます(「先に計算"
             "される」とは、その演算子の両側の数が先に1つの値にまとまることです)。同じ順位なら"
             "左が先です。連結は常にいちばん小さい順位を取ります。"),
          Tr("HelpText",
             "「=」で今の式を計算します。何度でも使えますが、そのたびに得点が下がります。「採点」"
             "でその問題の得点が決まり、次の問題に進みます。計算できない式は採点できません。")},
         {}});

    // Every rule in the order the evaluation meets it.
    help.push_back(
        {Tr("HelpText", "得点"),
         {Tr("HelpText",
             "得点は次の合計です。べき乗と演算子の点は、計算で使われた数と演算子ごとに入ります。")},
         {
             {Tr("HelpText", "べき乗なしの数(0 と 1 のべき乗、先頭の見えない 0 も)"),
              kPlainOperand},
             {Tr("HelpText", "平方根 √"), kSqrt},
             {Tr("HelpText", "立方根 1/3"), kCbrt},
             {Tr("HelpText", "2乗"), kSquare},
             {Tr("HelpText", "3乗"), kCube},
             {Tr("HelpText", "足し算 +、符号なし"), kAdd},
             {Tr("HelpText", "引き算 -、符号 -"), kSub},
             {Tr("HelpText", "掛け算 *"), kMul},
             {Tr("HelpText", "割り切れる割り算 /"), kExactDiv},
             {Tr("HelpText", "連結1つごと"), kJoin},
             {Tr("HelpText",
                 "左から右でない計算順: 隣り合う2つの位置で左の順位が右より大きい組ごと"),
              kOrderBonus},
             {FillText(Tr("HelpText", "「=」を使わずに採点(「=」1回ごとに%1点減り、%2回以上で0点)"),
                       {N(kPerTry), N(kTriesWithoutBase)}),
              kFirstTry},
             {FillText(Tr("HelpText", "結果が%1"), {N(kTarget)}), kTargetBonus},
             {Tr("HelpText", "結果が 0 (「10以外の結果も採点する」がオンのとき)"), kZeroBonus},
             {FillText(Tr("HelpText",
                          "結果がほかの%1の倍数(マイナスも。「10以外の結果も採点する」がオンのと"
                          "き)"),
                       {N(kTarget)}),
              kTensBonus},
             {Tr("HelpText",
                 "割り切れない割り算、整数にならないべき乗根 1回ごと(設定で許したとき)"),
              kInexactPenalty},
         }});
    help.back().paragraphs.push_back(
        Tr("HelpText", "上のボーナスが付かない結果の得点は0点です。ただし合計が0以下ならそのまま"
                       "残ります。割り切れない割り算と整数にならないべき乗根は、設定で許さなけれ"
                       "ば「not integer」となり採点できません。"));

    help.push_back(
        {Tr("HelpText", "設定"),
         {Tr("HelpText", "繰返し回数: 1ゲームの問題の数です。"),
          Tr("HelpText",
             "割切れない除算も採点する: 割り切れない割り算を切り捨てて続けます(1回ごとに減点)。"),
          Tr("HelpText",
             "整数にならないべき乗根も採点する: 整数にならない根を切り捨てて続けます(1回ごとに減"
             "点)。"),
          Tr("HelpText", "10以外の結果も採点する: 0 とほかの10の倍数にもボーナスを付けます。"),
          Tr("HelpText", "べき乗を使用する: 数字の上のべき乗を選べるようにします。"),
          Tr("HelpText",
             "ゲームの途中で設定を変えると、それまでの結果を捨てて最初からやり直します。")},
         {}});

    help.push_back(
        {Tr("HelpText", "キー"),
         {Tr("HelpText", "F1: このヘルプ(Esc で閉じます)"), Tr("HelpText", "Alt+=: 「=」で計算"),
          Tr("HelpText", "Alt+M: 採点"), Tr("HelpText", "Alt+R: やり直し"),
          Tr("HelpText", "Alt+S: 設定"), Tr("HelpText", "Alt+X: 終了"),
          Tr("HelpText", "Esc: 終了と同じ(ゲームの途中なら確かめます)"),
          Tr("HelpText", "Tab、矢印キー: ラベルとボタンの間を移動"),
          Tr("HelpText", "Space、Enter、F4、Alt+↓: ラベルの一覧を開く"),
          Tr("HelpText",
             "Alt+Space、メニューキー: ウィンドウメニュー(前の問題の最善解、バージョン情"
             "報)")},
         {}});

    HelpSection file{Tr("HelpText", "設定ファイル"), {}, {}};
    if (!settingsPath.empty()) {
        file.paragraphs.push_back(
            FillText(Tr("HelpText", "設定とハイスコアは %1 に保存されます。"), {settingsPath}));
    }
    file.paragraphs.push_back(Tr("HelpText", "設定ファイル vostrel.dat はプログラムと同じフォルダー"
                                             "に置かれ、そこに書き込めないときは "
                                             "$XDG_DATA_HOME/vostrel (通常は "
                                             "~/.local/share/vostrel) に置かれます。"));
    help.push_back(std::move(file));
    return help;
}

} // namespace vostrel
