#include "game/HelpText.h"

#include "app/GameFile.h"
#include "app/SettingsRecord.h"
#include "app/Tr.h"
#include "engine/Evaluator.h"
#include "engine/ExpressionModel.h"
#include "engine/ExpressionText.h"
#include "engine/PointRules.h"
#include "game/GameCommands.h"

#include <initializer_list>
#include <utility>

namespace vostrel {

namespace {

std::string N(int32_t n) {
    return std::to_string(n);
}

std::string OnOff(int32_t on) {
    if (on != 0) {
        //: In the help's settings section: a check box ticked.
        return Tr("HelpText", "オン");
    }
    //: In the help's settings section: a check box not ticked.
    return Tr("HelpText", "オフ");
}

// A new problem's expression over these digits, powers offered.
ExpressionState Problem(std::initializer_list<int32_t> digits) {
    ExpressionState s;
    ResetExpression(s, 1);
    int k = 0;
    for (const int32_t d : digits) {
        s.digits[k++] = d;
    }
    return s;
}

HelpCase Compute(const ExpressionState& s, int32_t tryCount = 0, ScoreSwitches sw = {},
                 bool showsPoints = false) {
    return HelpCase{s, tryCount, sw, Evaluate(s, tryCount, sw), showsPoints};
}

std::string Expr(const HelpCase& c) {
    return FormatExpression(c.state, Notation::Labels);
}

std::string Value(const HelpCase& c) {
    return N(c.result.value);
}

// The rank labels from the sign's to the last gap's, as the player reads them.
std::string Ranks(const ExpressionState& s) {
    std::string out;
    for (int p = 0; p < kPositions; ++p) {
        out += (p == 0 ? "" : " ") + std::string(RankText(s.rank[p]));
    }
    return out;
}

std::string Digits(const ExpressionState& s) {
    std::string out;
    for (int k = 0; k < kPositions; ++k) {
        out += (k == 0 ? "" : " ") + N(s.digits[k]);
    }
    return out;
}

// A root of a digit alone: the three leading zeros joined to it vanish.
HelpCase Root(int32_t digit, int32_t kind) {
    ExpressionState s = Problem({0, 0, 0, digit});
    for (int gap = 1; gap < kPositions; ++gap) {
        SetGapOp(s, gap, OpJoin, 1);
    }
    SetPower(s, 3, kind);
    ScoreSwitches sw;
    sw.scoreInexactRoot = 1;
    return Compute(s, 0, sw);
}

void AddExample(HelpSection& section, std::string text, std::vector<HelpCase> cases) {
    section.paragraphs.push_back(text);
    section.examples.push_back({std::move(text), std::move(cases)});
}

HelpSection Aim() {
    using namespace points;
    return {
        //: Heading of the help's first section.
        Tr("HelpText", "目的"),
        //: %1 the target result, 10.
        {FillText(Tr("HelpText", "4つの数字の前と間に、べき乗、符号、演算子と計算順位を選んで式を作"
                                 "り、結果を%1にしてください。結果が%1の式に最も多くの得点が入りま"
                                 "す。"),
                  {N(kTarget)}),
         Tr("HelpText", "1ゲームは設定の繰返し回数だけ問題が続きます。ゲームのスコアは1問あた"
                        "りの平均得点で、上位5位まではハイスコアに名前を残せます。ハイスコア"
                        "の表は「設定」→「ハイスコア」で見られます。")},
        {},
        {},
        {}};
}

HelpSection Building() {
    using namespace points;
    //: Heading of the help's section on choosing the expression.
    HelpSection h{Tr("HelpText", "式の選び方"), {}, {}, {}, {}};
    h.paragraphs.push_back(
        Tr("HelpText",
           "色の付いた小さなラベルをクリックすると、その場に一覧が開きます。キーボードでは Tab "
           "か矢印キーでラベルに移り、Space か Enter で開き、上下の矢印キーで選んで Enter で"
           "決めます。Esc は選ばずに閉じます。"));
    h.paragraphs.push_back(
        Tr("HelpText",
           "数字の上のラベルはべき乗です: √ は平方根、1/3 は立方根、2 は2乗、3 は3乗、空欄は"
           "なし。設定で「べき乗を使用する」がオフのときは選べません。根が整数にならない"
           "ときは、設定で許した場合だけ最も近い整数に丸めて計算を続けます。"));
    {
        const HelpCase a = Root(3, PowSqrt);
        const HelpCase b = Root(8, PowSqrt);
        const HelpCase c = Root(7, PowCbrt);
        AddExample(h,
                   //: Example in the help: three roots and the whole numbers they round to.
                   FillText(Tr("HelpText", "例: %1 = %2、%3 = %4、%5 = %6"),
                            {Expr(a), Value(a), Expr(b), Value(b), Expr(c), Value(c)}),
                   {a, b, c});
    }

    h.paragraphs.push_back(Tr("HelpText",
                              "最初の数字の前のラベルは符号です: 空欄はそのまま、- は符号を反"
                              "転します。式はいつも見えない 0 から始まり、符号はこの 0 と最初"
                              "の数の間の演算子です(空欄は 0 +、- は 0 -)。得点では、見えない"
                              " 0 も数の1つ、符号も足し算か引き算の1つに数えます。符号にも計算"
                              "順位があり、下の段の最初のラベルがそれです。順位が小さければ最"
                              "初の数だけに、大きければそれまでの計算の結果に付きます。"));
    {
        ExpressionState s = Problem({2, 7, 4, 5});
        SetSign(s, kSignMinus);
        const HelpCase first = Compute(s);
        SetRank(s, 0, kRankItems - 1);
        const HelpCase last = Compute(s);
        AddExample(h,
                   //: Example in the help: %1 the digits, %2 and %5 the ranks of the sign and the
                   //: three operators, %3 and %6 the expressions, %4 and %7 their results.
                   FillText(Tr("HelpText", "例: 数字 %1 に符号 - を付け、順位を %2 にすると %3 = "
                                           "%4、%5 にすると %6 = %7。"),
                            {Digits(s), Ranks(first.state), Expr(first), Value(first),
                             Ranks(last.state), Expr(last), Value(last)}),
                   {first, last});
    }

    h.paragraphs.push_back(
        Tr("HelpText", "数字の間のラベルは演算子です: + - * / のほか、空白は連結で、両隣の数字を"
                       "つないで1つの数にします(1 と 2 の連結は 12)。連結した数には右の数字のべき"
                       "乗が付き、左の数字のべき乗は連結したときに消えます。先頭の 0 は消えま"
                       "す。"));
    {
        ExpressionState s = Problem({1, 2, 3, 4});
        SetPower(s, 0, PowCube);
        SetGapOp(s, 1, OpJoin, 1);
        SetPower(s, 1, PowSquare);
        const HelpCase joined = Compute(s);
        const HelpCase zero = [] {
            ExpressionState z = Problem({0, 7, 1, 2});
            SetGapOp(z, 1, OpJoin, 1);
            return Compute(z);
        }();
        AddExample(
            h,
            //: Example in the help: %1 and %2 the joined digits, %3 and %4 the expression and its
            //: result; %5 and %6 two joined digits, %7 and %8 the expression and its result.
            FillText(Tr("HelpText", "例: %1 に3乗、%2 に2乗を付けてから連結すると %3 = "
                                    "%4。%5 と %6 を連結すると %7 = %8。"),
                     {N(s.digits[0]), N(s.digits[1]), Expr(joined), Value(joined),
                      N(zero.state.digits[0]), N(zero.state.digits[1]), Expr(zero), Value(zero)}),
            {joined, zero});
    }

    h.paragraphs.push_back(
        Tr("HelpText",
           "符号と演算子の下の数字は計算順位です。順位の小さい演算子から先に計算されます(「先に"
           "計算される」とは、その演算子の両側の数が先に1つの値にまとまることです)。4つの順位は"
           "いつも別々の数で、同じ順位はありません。1つの順位を選ぶと、ほかの順位が付け直されま"
           "す。連結は常にいちばん小さい順位を取ります。"));
    {
        ExpressionState s = Problem({1, 2, 3, 4});
        const std::string before = Ranks(s);
        SetRank(s, 0, kRankItems - 1);
        h.paragraphs.push_back(
            //: Example in the help: %1 the ranks of the sign and the three operators, %2 the
            //: rank chosen for the sign, %3 the ranks after that choice.
            FillText(
                Tr("HelpText", "例: 順位が %1 のとき、符号の順位に %2 を選ぶと %3 になります。"),
                {before, std::string(RankText(s.rank[0])), Ranks(s)}));
    }
    h.paragraphs.push_back(FillText(
        //: %1 the points each "=" costs, %2 the number of "=" from which no base points are left,
        //: %3 the base points without any "=".
        Tr("HelpText", "「=」か結果の欄のクリックで今の式を計算します。何度でも使えますが、使う"
                       "たびに基本点が減ります。基本点は、「=」を使わずに採点すると%3点で、「=」"
                       "1回ごとに%1点減り、%2回以上使うと0点です。「採点」でその問題の得点が決ま"
                       "り、次の問題に進みます。計算できない式は採点できません。"),
        {N(kPerTry), N(kTriesWithoutBase), N(kFirstTry)}));
    {
        const ExpressionState s = Problem({1, 2, 3, 4});
        const HelpCase none = Compute(s, 0, {}, true);
        const HelpCase one = Compute(s, 1, {}, true);
        const HelpCase many = Compute(s, kTriesWithoutBase, {}, true);
        AddExample(h,
                   //: Example in the help: %1 an expression, %2 its result, %3 %4 %6 its points
                   //: after 0, 1 and %5 uses of "=".
                   FillText(Tr("HelpText", "例: %1 = %2 は、「=」を使わずに採点すると %3 点、1回"
                                           "使ってからだと %4 点、%5回使ってからだと %6 点です。"),
                            {Expr(none), Value(none), N(none.result.points), N(one.result.points),
                             N(many.tryCount), N(many.result.points)}),
                   {none, one, many});
    }
    return h;
}

HelpSection Points() {
    using namespace points;
    // Every rule in the order the evaluation meets it.
    HelpSection h{
        //: Heading of the help's points section, and its table.
        Tr("HelpText", "得点"),
        {Tr("HelpText",
            "得点は次の合計です。べき乗と演算子の点は、計算で使われた数と演算子ごとに入ります。")},
        {
            //: The rows of the points table in the help; the points stand before each.
            {Tr("HelpText", "べき乗なしの数。べき乗を付けた 0 と 1 も、値が変わらないのでここに入"
                            "ります。符号の前の見えない 0 もここに入ります"),
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
            //: %1 the points each "=" costs, %2 the number of "=" from which no base points are
            //: left.
            {FillText(Tr("HelpText",
                         "基本点: 「=」を使わずに採点(「=」1回ごとに%1点減り、%2回以上で0点)"),
                      {N(kPerTry), N(kTriesWithoutBase)}),
             kFirstTry},
            //: %1 the target result, 10.
            {FillText(Tr("HelpText", "結果が%1"), {N(kTarget)}), kTargetBonus},
            {Tr("HelpText", "結果が 0 (「10以外の結果も採点する」がオンのとき)"), kZeroBonus},
            //: %1 the target result, 10.
            {FillText(Tr("HelpText", "結果がほかの%1の倍数(マイナスも。「10以外の結果も採点する」"
                                     "がオンのとき)"),
                      {N(kTarget)}),
             kTensBonus},
            {Tr("HelpText", "割り切れない割り算、整数にならないべき乗根 1回ごと(設定で許したとき)"),
             kInexactPenalty},
            //: The price of a hint, in the points table.
            {Tr("HelpText", "ヒント1回ごと(その問題の得点から)"), kHintPrice},
        },
        //: After the points table in the help. %1 the target result, 10.
        {FillText(Tr("HelpText",
                     "得点の出し方: まず上の表で当てはまる行の点を、結果のボーナスの行を除いてすべ"
                     "て足します。結果が%1ならそのボーナスを足します。「10以外の結果も採点する」が"
                     "オンなら、結果が 0 のときと、ほかの%1の倍数のときも、それぞれのボーナスを足"
                     "します。ボーナスの付かない結果では、足した合計がプラスなら得点は0点、0 以下"
                     "ならその合計がそのまま得点です。合計がマイナスになるのは、設定で許した割り"
                     "切れない割り算や整数にならないべき乗根の減点があるときです。設定で許さなけれ"
                     "ば、これらは「not integer」となり採点できません。"),
                  {N(kTarget)})},
        {}};
    {
        ExpressionState eleven = Problem({1, 2, 3, 5});
        const HelpCase value = Compute(eleven);
        const HelpCase none = Compute(eleven, 0, {}, true);
        ExpressionState s = Problem({7, 2, 2, 3});
        for (int gap = 1; gap < kPositions; ++gap) {
            SetGapOp(s, gap, OpDiv, 1);
        }
        ScoreSwitches sw;
        sw.scoreInexactDivision = 1;
        sw.scoreOtherResults = 0;
        const HelpCase inexact = Compute(s, 0, sw);
        const HelpCase below = Compute(s, 0, sw, true);
        //: Example in the help: %1 and %2 an expression without bonus and its result; %3 and %4
        //: an expression with divisions that leave a remainder, and its result, %5 its points;
        //: %6 the points of the first.
        std::string text = FillText(
            Tr("HelpText", "例: %1 = %2 はボーナスが付かないので %6 点です。割り切れない割り算を"
                           "許し、「10以外の結果も採点する」をオフにすると、%3 = %4 は割り切れない"
                           "割り算の減点を足して %5 点です。"),
            {Expr(value), Value(value), Expr(inexact), Value(inexact), N(below.result.points),
             N(none.result.points)});
        h.notes.push_back(text);
        h.examples.push_back({std::move(text), {value, none, inexact, below}});
    }
    return h;
}

HelpSection Settings() {
    //: Heading of the help's settings section; the settings' texts follow the settings window.
    HelpSection h{Tr("HelpText", "設定"), {}, {}, {}, {}};
    for (const SettingDef& d : SettingsTable()) {
        const std::string text = Tr(kSettingHelpContext, d.help);
        h.paragraphs.push_back(d.kind == SettingKind::Count
                                   ? FillText(text, {N(d.min), N(d.max), N(d.defaultValue)})
                                   : FillText(text, {OnOff(d.defaultValue)}));
    }
    h.paragraphs.push_back(Tr(
        "HelpText", "ゲームの途中で設定を変えると、それまでの結果を捨てて最初からやり直します。"));
    h.paragraphs.push_back(Tr("HelpText", "「ハイスコア」でハイスコアの表を見られます。"));
    return h;
}

HelpSection Keys() {
    //: Heading of the help's section on keys.
    HelpSection h{
        Tr("HelpText", "キー"),
        {Tr("HelpText", "F1: このヘルプ(ゲームのウィンドウと各ダイアログで。メッセージボックスでは"
                        "使えません。Esc で閉じます)")},
        {},
        {},
        {}};
    // The commands' keys as the window takes them.
    for (const CommandDef& c : Commands()) {
        if (c.help != nullptr) {
            h.paragraphs.push_back(CommandKey(c) + ": " + Tr("HelpText", c.help));
        }
    }
    for (std::string& line : std::vector<std::string>{
             Tr("HelpText", "Esc: 終了と同じ(ゲームの途中なら確かめます)"),
             Tr("HelpText", "Tab、矢印キー: ラベルとボタンの間を移動"),
             Tr("HelpText", "Space、Enter、F4、Alt+↓: ラベルの一覧を開く"),
             Tr("HelpText",
                "ボタン以外の所の右クリック、Shift+F10、メニューキー: ウィンドウメニュー(ヒント、"
                "前の問題の最善解、バージョン情報)。Alt+Space でも開きますが、ウィンドウマネー"
                "ジャーがこのキーを使う環境では開きません")}) {
        h.paragraphs.push_back(std::move(line));
    }
    return h;
}

} // namespace

std::vector<HelpSection> BuildHelp(const std::string& settingsPath) {
    std::vector<HelpSection> help;
    help.push_back(Aim());
    help.push_back(Building());
    help.push_back(Points());
    help.push_back(Settings());
    help.push_back(Keys());

    //: Heading of the help's section on the settings file.
    HelpSection file{Tr("HelpText", "設定ファイル"), {}, {}, {}, {}};
    if (!settingsPath.empty()) {
        file.paragraphs.push_back(
            //: %1 the settings file's path.
            FillText(Tr("HelpText", "設定とハイスコアは %1 に保存されます。"), {settingsPath}));
    }
    // Another user's folder is never used: a link planted there would redirect the save.
    file.paragraphs.push_back(Tr("HelpText", "設定ファイル vostrel.dat はプログラムと同じフォルダー"
                                             "に置かれます。ただし、そこに書き込めないときや、"
                                             "ほかのユーザーがそのフォルダーを変更できるときは "
                                             "$XDG_DATA_HOME/vostrel (通常は "
                                             "~/.local/share/vostrel) に置かれます。"));
    if (!settingsPath.empty()) {
        file.paragraphs.push_back(FillText(
            //: %1 the kept game's file, beside the settings file.
            Tr("HelpText", "遊んでいる途中のゲームは、操作のたびに %1 に保存されます（数字、"
                           "選んだ記号と順位、試行とヒントの回数、何問目か、それまでの得点）。"
                           "終了しても、ログアウトや停電で終わっても、次に起動するとその続き"
                           "から始まります。このファイルを消すと、次は新しいゲームになります。"),
            {GameFilePath(settingsPath)}));
    }
    help.push_back(std::move(file));
    return help;
}

} // namespace vostrel
