<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>CGameApp</name>
    <message>
        <source>設定ファイルが見つからないので初期化します。</source>
        <extracomment>Message box at the first start: no settings file yet.</extracomment>
        <translation>The settings file was not found, so it will be created with the default settings.</translation>
    </message>
    <message>
        <source>設定ファイルエラー</source>
        <extracomment>Title of every message box about the settings file.</extracomment>
        <translation>Settings File Error</translation>
    </message>
    <message>
        <source>設定ファイルの読込みに失敗しました。

%1
%2</source>
        <extracomment>Message box when the settings file cannot be read: %1 its path, %2 why.</extracomment>
        <translation>The settings file could not be read.

%1
%2</translation>
    </message>
    <message>
        <source>既定の設定で遊べますが、このファイルは書き換えないので、この回の設定と得点は保存されません。</source>
        <extracomment>Added to the read failure&apos;s box when the game plays on with the default settings.</extracomment>
        <translation>You can play with the default settings, but the file is left as it is, so nothing of this game is saved.</translation>
    </message>
    <message>
        <source>設定ファイルの前回の保存が途中で止まっていたので、修復しました。

%1
%2</source>
        <extracomment>Message box at start: a save rewriting the file in place was cut off and has been repaired. %1 the file&apos;s path, %2 how.</extracomment>
        <translation>The last save of the settings file stopped part way; the file has been repaired.

%1
%2</translation>
    </message>
    <message>
        <source>保存しようとしていた内容にしました。</source>
        <translation>It now holds what was being saved.</translation>
    </message>
    <message>
        <source>保存する前の内容に戻しました。</source>
        <translation>It is back as it was before that save.</translation>
    </message>
    <message>
        <source>この設定ファイルはすでに動いているゲームが使っているので、起動しません。

%1
%2</source>
        <extracomment>Message box when a later start finds its settings file used by a game it cannot bring forward: %1 the file&apos;s path, %2 why.</extracomment>
        <translation>A game that is already running uses this settings file, so this one does not start.

%1
%2</translation>
    </message>
    <message>
        <source>ほかのユーザーが変更できない、自分だけのフォルダ（XDG_RUNTIME_DIR または ~/.cache/vostrel）がないため、そのゲームを前に出せません。</source>
        <translation>There is no folder of your own that no other user can change (XDG_RUNTIME_DIR or ~/.cache/vostrel), so that game cannot be brought forward.</translation>
    </message>
    <message>
        <source>そのゲームが応答しません（ほかのユーザーのゲームか、止まっているか、別の XDG_RUNTIME_DIR で起動したゲームです）。</source>
        <translation>That game does not answer (it is another user&apos;s, it is stopped, or it was started with another XDG_RUNTIME_DIR).</translation>
    </message>
    <message>
        <source>ほかのユーザーが変更できない、自分だけのフォルダ（XDG_RUNTIME_DIR または ~/.cache/vostrel）がありません。このゲームは遊べますが、もう一度起動してもこのウィンドウを前に出せません。</source>
        <extracomment>Message box at start when there is no private folder for the one-game socket.</extracomment>
        <translation>There is no folder of your own that no other user can change (XDG_RUNTIME_DIR or ~/.cache/vostrel). You can play, but starting the game again cannot bring this window forward.</translation>
    </message>
</context>
<context>
    <name>CStaticExAccessible</name>
    <message>
        <source>%1、%2</source>
        <extracomment>Spoken name of a label of the game window: %1 what it is, %2 what it shows.</extracomment>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>GameFlow</name>
    <message>
        <source>エラー発生。式見直し後、採点してください。</source>
        <extracomment>Message box when Submit meets an expression that cannot be computed.</extracomment>
        <translation>The expression cannot be calculated. Correct it, then submit it again.</translation>
    </message>
    <message>
        <source>計算エラー</source>
        <extracomment>Title of that message box.</extracomment>
        <translation>Calculation Error</translation>
    </message>
    <message>
        <source>今回のスコア:%1(%2)
%3番目の計算を始めます。</source>
        <extracomment>Message box after Submit: %1 the problem&apos;s points, %2 the game&apos;s total so far, %3 the next problem&apos;s number.</extracomment>
        <translation>Points for this problem: %1 (game total so far: %2)
Starting problem %3.</translation>
    </message>
    <message>
        <source>次計算開始</source>
        <extracomment>Title of that message box.</extracomment>
        <translation>Next Problem</translation>
    </message>
    <message>
        <source>前の問題 %1 の最善解:
%2 = %3
得点: %4</source>
        <extracomment>Message box from the window menu: %1 the previous problem&apos;s digits, %2 its best expression, %3 the result, %4 the points.</extracomment>
        <translation>Best solution of the previous problem %1:
%2 = %3
Points: %4</translation>
    </message>
    <message>
        <source>最善解</source>
        <extracomment>Title of that message box.</extracomment>
        <translation>Best Solution</translation>
    </message>
    <message>
        <source>実行中です。これまでの結果を破棄しますか。</source>
        <extracomment>Question before Restart during a game.</extracomment>
        <translation>A game is in progress. Discard the results so far?</translation>
    </message>
    <message>
        <source>結果破棄確認</source>
        <extracomment>Title of that question.</extracomment>
        <translation>Discard Results</translation>
    </message>
    <message>
        <source>終了しますか</source>
        <extracomment>Question before Exit (button, Esc, window menu) during a game.</extracomment>
        <translation>Exit the game?</translation>
    </message>
    <message>
        <source>終了確認</source>
        <extracomment>Title of that question.</extracomment>
        <translation>Confirm Exit</translation>
    </message>
    <message>
        <source>ヒント %1回: %2点</source>
        <extracomment>A line after it when hints were taken: %1 how many, %2 the points they cost.</extracomment>
        <translation>Hints %1: %2 points</translation>
    </message>
    <message>
        <source>ヒント</source>
        <extracomment>Title of the hints&apos; message boxes.</extracomment>
        <translation>Hint</translation>
    </message>
    <message>
        <source>ヒントはもうありません。いまの式が最高得点の式です。</source>
        <extracomment>Message box when every label shows the best expression already.</extracomment>
        <translation>No hints left: the expression is the one with the most points.</translation>
    </message>
    <message>
        <source>この数字で10を作れます。最高得点は%1点(結果 %2)です。</source>
        <translation>10 can be made from these digits. The most points: %1 (result %2).</translation>
    </message>
    <message>
        <source>この数字では10を作れません。最高得点は%1点(結果 %2)です。</source>
        <translation>10 cannot be made from these digits. The most points: %1 (result %2).</translation>
    </message>
    <message>
        <source>前回のゲームのファイルを読めないので、新しいゲームを始めます。

%1
%2</source>
        <extracomment>Message box at start: the kept game&apos;s file could not be read. %1 its path, %2 why.</extracomment>
        <translation>The game left unfinished last time cannot be read, so a new game starts.

%1
%2</translation>
    </message>
    <message>
        <source>前回のゲームのファイルが壊れているので、新しいゲームを始めます。

%1</source>
        <extracomment>Message box at start: the kept game&apos;s file is not what the game writes. %1 its path.</extracomment>
        <translation>The file of the game left unfinished last time is damaged, so a new game starts.

%1</translation>
    </message>
    <message>
        <source>前回のゲームのファイルにありえない内容があるので、新しいゲームを始めます。

%1</source>
        <extracomment>Message box at start: the kept game&apos;s file holds a game that cannot happen (edited by hand, or the settings changed since). %1 its path.</extracomment>
        <translation>The file of the game left unfinished last time holds a game that cannot happen, so a new game starts.

%1</translation>
    </message>
    <message>
        <source>前回のゲームのファイルは新しい版の Vostrel で書かれているので、新しいゲームを始めます。

%1</source>
        <extracomment>Message box at start: the kept game&apos;s file comes from a later version. %1 its path.</extracomment>
        <translation>The file of the game left unfinished last time was written by a newer version of Vostrel, so a new game starts.

%1</translation>
    </message>
    <message>
        <source>前回のゲーム</source>
        <extracomment>Title of the message boxes about the kept game&apos;s file.</extracomment>
        <translation>Last Game</translation>
    </message>
    <message>
        <source>前回のゲームの続きです。
%1</source>
        <extracomment>Message box at start when the game left at the last end goes on. %1 the problem as a reader hears it when it starts.</extracomment>
        <translation>The game from last time goes on.
%1</translation>
    </message>
    <message>
        <source>ゲームの途中経過を保存できませんでした。

%1
%2</source>
        <extracomment>Message box when the game under way could not be kept in its file: %1 the file&apos;s path, %2 why. The game goes on; the file keeps what it last held.</extracomment>
        <translation>The game under way could not be saved.

%1
%2</translation>
    </message>
    <message>
        <source>成績ファイルエラー</source>
        <extracomment>Title of the message box when the record of games cannot be saved.</extracomment>
        <translation>Record File Error</translation>
    </message>
</context>
<context>
    <name>HelpText</name>
    <message>
        <source>目的</source>
        <extracomment>Heading of the help&apos;s first section.</extracomment>
        <translation>Aim</translation>
    </message>
    <message>
        <source>4つの数字の前と間に、べき乗、符号、演算子と計算順位を選んで式を作り、結果を%1にしてください。結果が%1の式に最も多くの得点が入ります。</source>
        <extracomment>%1 the target result, 10.</extracomment>
        <translation>Around and between four digits, choose powers, a sign, operators and ranks to build an expression whose result is %1. An expression that makes %1 earns by far the most points.</translation>
    </message>
    <message>
        <source>式の選び方</source>
        <extracomment>Heading of the help&apos;s section on choosing the expression.</extracomment>
        <translation>Building the expression</translation>
    </message>
    <message>
        <source>色の付いた小さなラベルをクリックすると、その場に一覧が開きます。キーボードでは Tab か矢印キーでラベルに移り、Space か Enter で開き、上下の矢印キーで選んで Enter で決めます。Esc は選ばずに閉じます。</source>
        <translation>Click a small coloured label and its list opens in place. With the keyboard, move to a label with Tab or the arrow keys, open it with Space or Enter, choose with the Up and Down arrow keys and confirm with Enter. Esc closes the list without a choice.</translation>
    </message>
    <message>
        <source>得点</source>
        <extracomment>Heading of the help&apos;s points section, and its table.</extracomment>
        <translation>Points</translation>
    </message>
    <message>
        <source>得点は次の合計です。べき乗と演算子の点は、計算で使われた数と演算子ごとに入ります。</source>
        <translation>The points are the sum of the following. Powers and operators earn their points for every number and operator that the calculation uses.</translation>
    </message>
    <message>
        <source>平方根 √</source>
        <translation>Square root √</translation>
    </message>
    <message>
        <source>立方根 1/3</source>
        <translation>Cube root 1/3</translation>
    </message>
    <message>
        <source>2乗</source>
        <translation>Square 2</translation>
    </message>
    <message>
        <source>3乗</source>
        <translation>Cube 3</translation>
    </message>
    <message>
        <source>足し算 +、符号なし</source>
        <translation>Addition +, or no sign</translation>
    </message>
    <message>
        <source>引き算 -、符号 -</source>
        <translation>Subtraction -, or the sign -</translation>
    </message>
    <message>
        <source>掛け算 *</source>
        <translation>Multiplication *</translation>
    </message>
    <message>
        <source>割り切れる割り算 /</source>
        <translation>Division / without a remainder</translation>
    </message>
    <message>
        <source>連結1つごと</source>
        <translation>Each join</translation>
    </message>
    <message>
        <source>左から右でない計算順: 隣り合う2つの位置で左の順位が右より大きい組ごと</source>
        <translation>An order other than left to right: each pair of neighbouring positions whose left rank is higher than the right one</translation>
    </message>
    <message>
        <source>結果が%1</source>
        <extracomment>%1 the target result, 10.</extracomment>
        <translation>A result of %1</translation>
    </message>
    <message>
        <source>結果が 0 (「10以外の結果も採点する」がオンのとき)</source>
        <translation>A result of 0 (with &quot;Points for results other than 10&quot; on)</translation>
    </message>
    <message>
        <source>結果がほかの%1の倍数(マイナスも。「10以外の結果も採点する」がオンのとき)</source>
        <extracomment>%1 the target result, 10.</extracomment>
        <translation>A result that is another multiple of %1, negative ones included (with &quot;Points for results other than 10&quot; on)</translation>
    </message>
    <message>
        <source>割り切れない割り算、整数にならないべき乗根 1回ごと(設定で許したとき)</source>
        <translation>Each division with a remainder or root that is not a whole number (when the settings allow them)</translation>
    </message>
    <message>
        <source>設定</source>
        <extracomment>Heading of the help&apos;s settings section; the settings&apos; texts follow the settings window.</extracomment>
        <translation>Settings</translation>
    </message>
    <message>
        <source>ゲームの途中で設定を変えると、それまでの結果を捨てて最初からやり直します。</source>
        <translation>Changing the settings during a game discards its results so far and starts a new game.</translation>
    </message>
    <message>
        <source>キー</source>
        <extracomment>Heading of the help&apos;s section on keys.</extracomment>
        <translation>Keys</translation>
    </message>
    <message>
        <source>Tab、矢印キー: ラベルとボタンの間を移動</source>
        <translation>Tab, arrow keys: move between the labels and buttons</translation>
    </message>
    <message>
        <source>Space、Enter、F4、Alt+↓: ラベルの一覧を開く</source>
        <translation>Space, Enter, F4, Alt+↓: open a label&apos;s list</translation>
    </message>
    <message>
        <source>設定ファイル</source>
        <extracomment>Heading of the help&apos;s section on the settings file.</extracomment>
        <translation>Settings file</translation>
    </message>
    <message>
        <source>設定とハイスコアは %1 に保存されます。</source>
        <extracomment>%1 the settings file&apos;s path.</extracomment>
        <translation>The settings and high scores are kept in %1.</translation>
    </message>
    <message>
        <source>設定ファイル vostrel.dat はプログラムと同じフォルダーに置かれます。ただし、そこに書き込めないときや、ほかのユーザーがそのフォルダーを変更できるときは $XDG_DATA_HOME/vostrel (通常は ~/.local/share/vostrel) に置かれます。</source>
        <translation>The settings file vostrel.dat lies beside the program or, where that folder cannot be written or another user may change it, in $XDG_DATA_HOME/vostrel (usually ~/.local/share/vostrel).</translation>
    </message>
    <message>
        <source>Esc: 終了と同じ(ゲームの途中なら確かめます)</source>
        <translation>Esc: as Exit (asks first during a game)</translation>
    </message>
    <message>
        <source>オン</source>
        <extracomment>In the help&apos;s settings section: a check box ticked.</extracomment>
        <translation>on</translation>
    </message>
    <message>
        <source>オフ</source>
        <extracomment>In the help&apos;s settings section: a check box not ticked.</extracomment>
        <translation>off</translation>
    </message>
    <message>
        <source>1ゲームは設定の繰返し回数だけ問題が続きます。ゲームのスコアは1問あたりの平均得点で、上位5位まではハイスコアに名前を残せます。ハイスコアの表は「設定」→「ハイスコア」で見られます。</source>
        <translation>A game has as many problems as the number of problems in the settings. The game&apos;s score is the mean of its problems&apos; points; the five best scores keep their players&apos; names in the high-score table, which Settings → High Scores shows.</translation>
    </message>
    <message>
        <source>数字の上のラベルはべき乗です: √ は平方根、1/3 は立方根、2 は2乗、3 は3乗、空欄はなし。設定で「べき乗を使用する」がオフのときは選べません。根が整数にならないときは、設定で許した場合だけ最も近い整数に丸めて計算を続けます。</source>
        <translation>The labels above the digits are powers: √ square root, 1/3 cube root, 2 square, 3 cube, blank none. They cannot be chosen while &quot;Use powers&quot; is off in the settings. A root that is not a whole number is rounded to the nearest whole number and the calculation goes on, but only where the settings allow it.</translation>
    </message>
    <message>
        <source>例: %1 = %2、%3 = %4、%5 = %6</source>
        <extracomment>Example in the help: three roots and the whole numbers they round to.</extracomment>
        <translation>For example: %1 = %2, %3 = %4, %5 = %6.</translation>
    </message>
    <message>
        <source>例: 数字 %1 に符号 - を付け、順位を %2 にすると %3 = %4、%5 にすると %6 = %7。</source>
        <extracomment>Example in the help: %1 the digits, %2 and %5 the ranks of the sign and the three operators, %3 and %6 the expressions, %4 and %7 their results.</extracomment>
        <translation>For example, the digits %1 with the sign -: the ranks %2 give %3 = %4, the ranks %5 give %6 = %7.</translation>
    </message>
    <message>
        <source>数字の間のラベルは演算子です: + - * / のほか、空白は連結で、両隣の数字をつないで1つの数にします(1 と 2 の連結は 12)。連結した数には右の数字のべき乗が付き、左の数字のべき乗は連結したときに消えます。先頭の 0 は消えます。</source>
        <translation>The labels between the digits are operators: + - * / and the blank join, which puts its two digits together into one number (1 joined with 2 is 12). A joined number takes the power of its right digit; joining clears the power of the left digit. A leading 0 vanishes.</translation>
    </message>
    <message>
        <source>例: %1 に3乗、%2 に2乗を付けてから連結すると %3 = %4。%5 と %6 を連結すると %7 = %8。</source>
        <extracomment>Example in the help: %1 and %2 the joined digits, %3 and %4 the expression and its result; %5 and %6 two joined digits, %7 and %8 the expression and its result.</extracomment>
        <translation>For example, %1 cubed and %2 squared, then joined: %3 = %4. %5 joined with %6: %7 = %8.</translation>
    </message>
    <message>
        <source>例: %1 = %2 は、「=」を使わずに採点すると %3 点、1回使ってからだと %4 点、%5回使ってからだと %6 点です。</source>
        <extracomment>Example in the help: %1 an expression, %2 its result, %3 %4 %6 its points after 0, 1 and %5 uses of &quot;=&quot;.</extracomment>
        <translation>For example, %1 = %2 earns %3 points when submitted without &quot;=&quot;, %4 points after one &quot;=&quot;, and %6 points after %5.</translation>
    </message>
    <message>
        <source>繰返し回数: 1ゲームの問題の数です(%1～%2、初期値 %3)。</source>
        <extracomment>%1 and %2 the lowest and highest number, %3 the default.</extracomment>
        <translation>Number of problems: how many problems a game has (%1 to %2, default %3).</translation>
    </message>
    <message>
        <source>割切れない除算も採点する: 割り切れない割り算の商の端数を切り捨てて続けます(1回ごとに減点。初期値 %1)。</source>
        <extracomment>%1 the default, on or off.</extracomment>
        <translation>Allow divisions with a remainder: such a division drops its remainder and the calculation goes on, with a penalty each time (default %1).</translation>
    </message>
    <message>
        <source>整数にならないべき乗根も採点する: 整数にならない根を最も近い整数に丸めて続けます(1回ごとに減点。初期値 %1)。</source>
        <translation>Allow roots that are not whole numbers: such a root is rounded to the nearest whole number and the calculation goes on, with a penalty each time (default %1).</translation>
    </message>
    <message>
        <source>10以外の結果も採点する: 0 とほかの10の倍数にもボーナスを付けます(初期値 %1)。</source>
        <translation>Points for results other than 10: 0 and the other multiples of 10 earn a bonus too (default %1).</translation>
    </message>
    <message>
        <source>べき乗を使用する: 数字の上のべき乗を選べるようにします(初期値 %1)。</source>
        <translation>Use powers: the powers above the digits can be chosen (default %1).</translation>
    </message>
    <message>
        <source>「ハイスコア」でハイスコアの表を見られます。</source>
        <translation>&quot;High Scores&quot; shows the high-score table.</translation>
    </message>
    <message>
        <source>「=」で計算</source>
        <translation>calculate with &quot;=&quot;</translation>
    </message>
    <message>
        <source>採点</source>
        <translation>Submit</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>ヒント(使うたびに得点が減ります)</source>
        <extracomment>The help&apos;s line for the hint key; the points table says how much.</extracomment>
        <translation>hint (each one lowers the points)</translation>
    </message>
    <message>
        <source>ヒント1回ごと(その問題の得点から)</source>
        <extracomment>The price of a hint, in the points table.</extracomment>
        <translation>each hint (off that problem&apos;s points)</translation>
    </message>
    <message>
        <source>やり直し(これまでの結果を破棄して最初の問題から始めます。ゲームの途中なら確かめます)</source>
        <translation>Restart: discards the results so far and starts again from the first problem (during a game it asks first)</translation>
    </message>
    <message>
        <source>最初の数字の前のラベルは符号です: 空欄はそのまま、- は符号を反転します。式はいつも見えない 0 から始まり、符号はこの 0 と最初の数の間の演算子です(空欄は 0 +、- は 0 -)。得点では、見えない 0 も数の1つ、符号も足し算か引き算の1つに数えます。符号にも計算順位があり、下の段の最初のラベルがそれです。順位が小さければ最初の数だけに、大きければそれまでの計算の結果に付きます。</source>
        <translation>The label in front of the first digit is the sign: blank leaves the value as it is, - negates it. Every expression starts with an invisible 0, and the sign is the operator between this 0 and the first number (blank is 0 +, - is 0 -). For the points, the invisible 0 counts as a number, and the sign as an addition or a subtraction. The sign has a rank of its own, the first label of the bottom row: with a low rank it negates the first number alone, with a high rank the result of what was calculated before it.</translation>
    </message>
    <message>
        <source>符号と演算子の下の数字は計算順位です。順位の小さい演算子から先に計算されます(「先に計算される」とは、その演算子の両側の数が先に1つの値にまとまることです)。4つの順位はいつも別々の数で、同じ順位はありません。1つの順位を選ぶと、ほかの順位が付け直されます。連結は常にいちばん小さい順位を取ります。</source>
        <translation>The numbers below the sign and the operators are their ranks. The operator with the lowest rank is calculated first (&quot;calculated first&quot; means that the numbers on both sides of that operator are combined into one value before the others). The four ranks are always four different numbers: no two are equal, and choosing a rank renumbers the others. Joins always take the lowest ranks.</translation>
    </message>
    <message>
        <source>例: 順位が %1 のとき、符号の順位に %2 を選ぶと %3 になります。</source>
        <extracomment>Example in the help: %1 the ranks of the sign and the three operators, %2 the rank chosen for the sign, %3 the ranks after that choice.</extracomment>
        <translation>For example, with the ranks %1, choosing %2 for the sign makes them %3.</translation>
    </message>
    <message>
        <source>「=」か結果の欄のクリックで今の式を計算します。何度でも使えますが、使うたびに基本点が減ります。基本点は、「=」を使わずに採点すると%3点で、「=」1回ごとに%1点減り、%2回以上使うと0点です。「採点」でその問題の得点が決まり、次の問題に進みます。計算できない式は採点できません。</source>
        <extracomment>%1 the points each &quot;=&quot; costs, %2 the number of &quot;=&quot; from which no base points are left, %3 the base points without any &quot;=&quot;.</extracomment>
        <translation>&quot;=&quot;, or a click on the result box, calculates the expression as it stands. Use it as often as you like, but each use lowers the base points: they are %3 when you submit without &quot;=&quot;, %1 less for each &quot;=&quot;, and 0 from %2 uses on. &quot;Submit&quot; settles the problem&apos;s points and moves on to the next problem. An expression that cannot be calculated cannot be submitted.</translation>
    </message>
    <message>
        <source>べき乗なしの数。べき乗を付けた 0 と 1 も、値が変わらないのでここに入ります。符号の前の見えない 0 もここに入ります</source>
        <extracomment>The rows of the points table in the help; the points stand before each.</extracomment>
        <translation>A number without a power; a 0 or a 1 with a power counts here too, since the power does not change it, and so does the invisible 0 in front of the sign</translation>
    </message>
    <message>
        <source>基本点: 「=」を使わずに採点(「=」1回ごとに%1点減り、%2回以上で0点)</source>
        <extracomment>%1 the points each &quot;=&quot; costs, %2 the number of &quot;=&quot; from which no base points are left.</extracomment>
        <translation>Base points: submitting without using &quot;=&quot; (%1 points less for each &quot;=&quot;, none from %2 uses on)</translation>
    </message>
    <message>
        <source>得点の出し方: まず上の表で当てはまる行の点を、結果のボーナスの行を除いてすべて足します。結果が%1ならそのボーナスを足します。「10以外の結果も採点する」がオンなら、結果が 0 のときと、ほかの%1の倍数のときも、それぞれのボーナスを足します。ボーナスの付かない結果では、足した合計がプラスなら得点は0点、0 以下ならその合計がそのまま得点です。合計がマイナスになるのは、設定で許した割り切れない割り算や整数にならないべき乗根の減点があるときです。設定で許さなければ、これらは「not integer」となり採点できません。</source>
        <extracomment>After the points table in the help. %1 the target result, 10.</extracomment>
        <translation>How the points are found: first add up the points of every row of the table above that applies, leaving out the rows of the result bonuses. A result of %1 adds its bonus. With &quot;Points for results other than 10&quot; on, a result of 0 and any other multiple of %1 add their bonuses too. For a result without a bonus, a total above 0 gives 0 points, and a total of 0 or less is the points as it stands. The total falls below 0 only through the penalties of divisions with a remainder and roots that are not whole numbers, where the settings allow them; unless the settings allow them, these give &quot;not integer&quot; and cannot be submitted.</translation>
    </message>
    <message>
        <source>例: %1 = %2 はボーナスが付かないので %6 点です。割り切れない割り算を許し、「10以外の結果も採点する」をオフにすると、%3 = %4 は割り切れない割り算の減点を足して %5 点です。</source>
        <extracomment>Example in the help: %1 and %2 an expression without bonus and its result; %3 and %4 an expression with divisions that leave a remainder, and its result, %5 its points; %6 the points of the first.</extracomment>
        <translation>For example, %1 = %2 earns no bonus, so it earns %6 points. With divisions with a remainder allowed and &quot;Points for results other than 10&quot; off, %3 = %4 earns %5 points, the penalties for its divisions with a remainder included.</translation>
    </message>
    <message>
        <source>F1: このヘルプ(ゲームのウィンドウと各ダイアログで。メッセージボックスでは使えません。Esc で閉じます)</source>
        <translation>F1: this help, in the game window and in each of its dialogs, not in the message boxes (Esc closes it)</translation>
    </message>
    <message>
        <source>ボタン以外の所の右クリック、Shift+F10、メニューキー: ウィンドウメニュー(ヒント、前の問題の最善解、バージョン情報)。Alt+Space でも開きますが、ウィンドウマネージャーがこのキーを使う環境では開きません</source>
        <translation>A right-click outside the buttons, Shift+F10 or the Menu key: the window menu (hint, best solution of the previous problem, About). Alt+Space opens it too, except where the window manager keeps that key for itself</translation>
    </message>
    <message>
        <source>遊んでいる途中のゲームは、操作のたびに %1 に保存されます（数字、選んだ記号と順位、試行とヒントの回数、何問目か、それまでの得点）。終了しても、ログアウトや停電で終わっても、次に起動するとその続きから始まります。このファイルを消すと、次は新しいゲームになります。</source>
        <extracomment>%1 the kept game&apos;s file, beside the settings file.</extracomment>
        <translation>The game under way is saved to %1 after every action (the digits, the chosen signs and ranks, the tries and hints taken, the problem&apos;s number and the score so far). However the game ends, even by a logout or a power cut, the next start goes on with it. Removing this file makes the next start a new game.</translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>はい(&amp;Y)</source>
        <extracomment>Button of every yes-or-no question. Keep the letter Y.</extracomment>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <extracomment>Button of every yes-or-no question. Keep the letter N.</extracomment>
        <translation>&amp;No</translation>
    </message>
</context>
<context>
    <name>SaveFailure</name>
    <message>
        <source>このファイルまたはフォルダへの書込みが許可されていません。</source>
        <translation>You may not write to this file or its folder.</translation>
    </message>
    <message>
        <source>読取り専用のディスクです。</source>
        <extracomment>Why the settings file could not be read or saved.</extracomment>
        <translation>The disk is read-only.</translation>
    </message>
    <message>
        <source>ディスクの空きが足りません。</source>
        <extracomment>Why the settings file could not be read or saved.</extracomment>
        <translation>The disk is full.</translation>
    </message>
    <message>
        <source>同じ名前のフォルダがあります。</source>
        <extracomment>Why the settings file could not be read or saved.</extracomment>
        <translation>A folder of the same name is in the way.</translation>
    </message>
    <message>
        <source>保存先のフォルダがありません。</source>
        <extracomment>Why the settings file could not be read or saved.</extracomment>
        <translation>The folder to save in does not exist.</translation>
    </message>
    <message>
        <source>設定ファイルの保存に失敗しました。

%1
%2</source>
        <extracomment>Message box when the settings file cannot be saved: %1 its path, %2 why.</extracomment>
        <translation>The settings file could not be saved.

%1
%2</translation>
    </message>
    <message>
        <source>このファイルの読込みが許可されていません。</source>
        <extracomment>Why the settings file could not be read (first) or saved (second).</extracomment>
        <translation>You may not read this file.</translation>
    </message>
    <message>
        <source>ほかのユーザーのシンボリックリンクを通る場所なので使いません。</source>
        <extracomment>Why the settings file is not used: a symbolic link on its path belongs to another user.</extracomment>
        <translation>The way to it goes through another user&apos;s symbolic link, so it is not used.</translation>
    </message>
    <message>
        <source>LF が続かない CR があります。</source>
        <extracomment>Why the settings file could not be read: a carriage return without its line feed.</extracomment>
        <translation>It holds a CR that no LF follows.</translation>
    </message>
    <message>
        <source>%1 バイトを超える行があります。</source>
        <extracomment>Why the settings file could not be read: %1 is the longest line it may hold, in bytes.</extracomment>
        <translation>It holds a line longer than %1 bytes.</translation>
    </message>
    <message>
        <source>ファイルが途中で切れています（最後の行が終わっていないか、項目が足りません）。</source>
        <extracomment>Why the settings file could not be read: a write was cut off.</extracomment>
        <translation>The file is cut short (its last line is unfinished, or entries are missing).</translation>
    </message>
    <message>
        <source>ほかのユーザーが変更できるフォルダ、またはほかのユーザーのフォルダを通る場所なので使いません。</source>
        <extracomment>Why the settings file is not used: a folder on its path may be changed by others.</extracomment>
        <translation>It is not used: its path goes through a folder that another user may change, or that is another user&apos;s.</translation>
    </message>
    <message>
        <source>その名前のものはファイルではありません（フォルダ、FIFO、デバイスなど）。</source>
        <extracomment>Why the settings file cannot be used: something else has its name.</extracomment>
        <translation>What has that name is not a file (a folder, a FIFO, a device or the like).</translation>
    </message>
    <message>
        <source>ゲームが書くよりも大きなファイルです。</source>
        <extracomment>Why a file of the game could not be read: far larger than the game writes it.</extracomment>
        <translation>The file is larger than any the game writes.</translation>
    </message>
    <message>
        <source>成績ファイルを読めないので、書き換えません。
%1
%2</source>
        <extracomment>The statistics window when the record&apos;s file cannot be read: %1 its path, %2 why.</extracomment>
        <translation>The record of your games cannot be read, so it is left as it is.
%1
%2</translation>
    </message>
    <message>
        <source>成績ファイルの保存に失敗しました。

%1
%2</source>
        <extracomment>Message box when the record&apos;s file cannot be saved: %1 its path, %2 why.</extracomment>
        <translation>The record of your games could not be saved.

%1
%2</translation>
    </message>
</context>
<context>
    <name>SettingsApply</name>
    <message>
        <source>繰返し回数には正の整数値を入力してください。</source>
        <extracomment>Message box when the settings&apos; number of problems is not a number.</extracomment>
        <translation>Enter a positive whole number as the number of problems.</translation>
    </message>
    <message>
        <source>入力値不正</source>
        <extracomment>Title of the message boxes about a wrong number of problems.</extracomment>
        <translation>Invalid Entry</translation>
    </message>
    <message>
        <source>繰返し回数には1～%1の値を入力してください。</source>
        <extracomment>Message box when the number of problems is out of range: %1 the highest.</extracomment>
        <translation>Enter a number from 1 to %1 as the number of problems.</translation>
    </message>
    <message>
        <source>実行中です。これまでの結果を破棄しますか。</source>
        <extracomment>Question when the settings change during a game.</extracomment>
        <translation>A game is in progress. Discard the results so far?</translation>
    </message>
    <message>
        <source>変更確認</source>
        <extracomment>Title of that question.</extracomment>
        <translation>Confirm Change</translation>
    </message>
</context>
<context>
    <name>SpokenText</name>
    <message>
        <source>符号の計算順位</source>
        <extracomment>Spoken name of the sign&apos;s rank label (bottom row, first).</extracomment>
        <translation>rank of the sign</translation>
    </message>
    <message>
        <source>%1番目の演算子の計算順位</source>
        <extracomment>Spoken name of an operator&apos;s rank label: %1 the operator&apos;s place from the left.</extracomment>
        <translation>rank of operator %1</translation>
    </message>
    <message>
        <source>計算結果</source>
        <extracomment>Spoken name of the result box.</extracomment>
        <translation>result</translation>
    </message>
    <message>
        <source>得点</source>
        <extracomment>Spoken name of the points box (the points of the last &quot;=&quot;).</extracomment>
        <translation>points</translation>
    </message>
    <message>
        <source>%1位のスコア</source>
        <extracomment>Spoken name of a score in the high-score table: %1 the place.</extracomment>
        <translation>score in place %1</translation>
    </message>
    <message>
        <source>%1位の名前</source>
        <extracomment>Spoken name of a name in the high-score table: %1 the place.</extracomment>
        <translation>name in place %1</translation>
    </message>
    <message>
        <source>なし</source>
        <extracomment>Spoken power item: no power.</extracomment>
        <translation>none</translation>
    </message>
    <message>
        <source>平方根</source>
        <extracomment>Spoken power item.</extracomment>
        <translation>square root</translation>
    </message>
    <message>
        <source>立方根</source>
        <extracomment>Spoken power item.</extracomment>
        <translation>cube root</translation>
    </message>
    <message>
        <source>2乗</source>
        <extracomment>Spoken power item.</extracomment>
        <translation>squared</translation>
    </message>
    <message>
        <source>3乗</source>
        <extracomment>Spoken power item.</extracomment>
        <translation>cubed</translation>
    </message>
    <message>
        <source>プラス</source>
        <extracomment>Spoken sign item: no sign.</extracomment>
        <translation>plus</translation>
    </message>
    <message>
        <source>マイナス</source>
        <extracomment>Spoken sign item: negates.</extracomment>
        <translation>minus</translation>
    </message>
    <message>
        <source>足す</source>
        <extracomment>Spoken operator item.</extracomment>
        <translation>plus</translation>
    </message>
    <message>
        <source>引く</source>
        <extracomment>Spoken operator item.</extracomment>
        <translation>minus</translation>
    </message>
    <message>
        <source>掛ける</source>
        <extracomment>Spoken operator item.</extracomment>
        <translation>times</translation>
    </message>
    <message>
        <source>割る</source>
        <extracomment>Spoken operator item.</extracomment>
        <translation>divided by</translation>
    </message>
    <message>
        <source>連結</source>
        <extracomment>Spoken operator item: writes the two digits together as one number.</extracomment>
        <translation>join</translation>
    </message>
    <message>
        <source>1番</source>
        <extracomment>Spoken rank item: computed first.</extracomment>
        <translation>first</translation>
    </message>
    <message>
        <source>2番</source>
        <extracomment>Spoken rank item.</extracomment>
        <translation>second</translation>
    </message>
    <message>
        <source>3番</source>
        <extracomment>Spoken rank item.</extracomment>
        <translation>third</translation>
    </message>
    <message>
        <source>4番</source>
        <extracomment>Spoken rank item: computed last.</extracomment>
        <translation>fourth</translation>
    </message>
    <message>
        <source>%1番目の数字%2のべき乗</source>
        <extracomment>Spoken name of a power label: %1 the digit&apos;s place from the left, %2 the digit.</extracomment>
        <translation>power of digit %1 (%2)</translation>
    </message>
    <message>
        <source>1番目の数字%1の符号</source>
        <extracomment>Spoken name of the sign label in front of the first digit: %1 the digit.</extracomment>
        <translation>sign of digit 1 (%1)</translation>
    </message>
    <message>
        <source>%1番目の演算子（%2と%3の間）</source>
        <extracomment>Spoken name of an operator label: %1 its place from the left, %2 and %3 the digits on either side.</extracomment>
        <translation>operator %1 (between %2 and %3)</translation>
    </message>
    <message>
        <source>%1問目、数字 %2、%3、%4、%5</source>
        <extracomment>Spoken as a problem opens: %1 the problem&apos;s number, %2 to %5 its digits.</extracomment>
        <translation>Problem %1, digits %2, %3, %4, %5</translation>
    </message>
    <message>
        <source>数字 %1、%2、%3、%4</source>
        <extracomment>Spoken digits of the problem: %1 to %4.</extracomment>
        <translation>Digits %1, %2, %3, %4</translation>
    </message>
    <message>
        <source>計算結果 %1、得点 なし</source>
        <extracomment>Spoken after &quot;=&quot; when the expression cannot be computed: %1 the error text.</extracomment>
        <translation>Result %1, no points</translation>
    </message>
    <message>
        <source>計算結果 %1、得点 %2</source>
        <extracomment>Spoken after &quot;=&quot;: %1 the result, %2 its points.</extracomment>
        <translation>Result %1, points %2</translation>
    </message>
    <message>
        <source>%1。%2</source>
        <extracomment>Two spoken sentences in a row.</extracomment>
        <translation>%1. %2</translation>
    </message>
    <message>
        <source>選択肢</source>
        <extracomment>Spoken name of an open chooser list.</extracomment>
        <translation>choices</translation>
    </message>
    <message>
        <source>%1位、%2点</source>
        <extracomment>Spoken high-score row without a name: %1 the place, %2 the score.</extracomment>
        <translation>Place %1, %2 points</translation>
    </message>
    <message>
        <source>%1位、%2、%3点</source>
        <extracomment>Spoken high-score row: %1 the place, %2 the name, %3 the score.</extracomment>
        <translation>Place %1, %2, %3 points</translation>
    </message>
    <message>
        <source>今回のスコア %1、ハイスコアには入りませんでした</source>
        <extracomment>Spoken as the high-score table opens after a game: %1 the game&apos;s score (mean points per problem).</extracomment>
        <translation>Your score %1, not among the high scores</translation>
    </message>
    <message>
        <source>今回のスコア %1、%2位に入りました</source>
        <extracomment>Spoken as the high-score table opens after a game: %1 the game&apos;s score, %2 its place.</extracomment>
        <translation>Your score %1, high score place %2</translation>
    </message>
    <message>
        <source>= %1</source>
        <extracomment>Spoken name of the &quot;=&quot; button: %1 the problem as it is spoken when it opens (&quot;Problem 1, digits 3, 1, 2, 4&quot;). A braille display shows it beside the &quot;=&quot;.</extracomment>
        <translation>= %1</translation>
    </message>
    <message>
        <source>ヒント: %1、%2</source>
        <extracomment>Said as a hint sets a label: %1 the label, %2 what it shows now.</extracomment>
        <translation>Hint: %1, %2</translation>
    </message>
    <message>
        <source>%1(ヒント)</source>
        <extracomment>The name of a label a hint set: %1 its usual name.</extracomment>
        <translation>%1 (hint)</translation>
    </message>
</context>
<context>
    <name>vostrel::CAboutDlg</name>
    <message>
        <source>バージョン情報</source>
        <extracomment>Title of the About window.</extracomment>
        <translation>About Vostrel</translation>
    </message>
</context>
<context>
    <name>vostrel::CGameDlg</name>
    <message>
        <source>スコア：</source>
        <extracomment>Caption of the box with the points of the last &quot;=&quot; (not the game&apos;s score).</extracomment>
        <translation>Points</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <extracomment>Button: starts a new game. Keep the letter R.</extracomment>
        <translation>&amp;Restart</translation>
    </message>
    <message>
        <source>採点(&amp;M)</source>
        <extracomment>Button: submits the expression for its points and goes on. Keep the letter M.</extracomment>
        <translation>Sub&amp;mit</translation>
    </message>
    <message>
        <source>設定(&amp;S)</source>
        <extracomment>Button: opens the settings. Keep the letter S.</extracomment>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <extracomment>Button: ends the game. Keep the letter X.</extracomment>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>最小化(&amp;N)</source>
        <extracomment>Window menu (right-click, Menu key). Keep the letter N.</extracomment>
        <translation>Mi&amp;nimise</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <extracomment>Window menu: ends the game like Exit. Keep the letter C.</extracomment>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>前の問題の最善解(&amp;B)...</source>
        <extracomment>Window menu: shows the best expression of the previous problem. Keep the letter B.</extracomment>
        <translation>&amp;Best Solution of the Previous Problem...</translation>
    </message>
    <message>
        <source>バージョン情報 Vostrel(&amp;A)...</source>
        <extracomment>Window menu. Keep the letter A.</extracomment>
        <translation>&amp;About Vostrel...</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)...</source>
        <extracomment>Window menu. Keep the letter H.</extracomment>
        <translation>&amp;Help...</translation>
    </message>
    <message>
        <source>ヒント(&amp;I)</source>
        <extracomment>Window menu: a hint on the problem on screen, at a price. Keep the letter I.</extracomment>
        <translation>H&amp;int</translation>
    </message>
    <message>
        <source>成績(&amp;S)...</source>
        <extracomment>Window menu. Keep the letter S.</extracomment>
        <translation>&amp;Statistics...</translation>
    </message>
</context>
<context>
    <name>vostrel::CHelpDlg</name>
    <message>
        <source>Vostrel のヘルプ</source>
        <extracomment>Title of the help window (F1).</extracomment>
        <translation>Vostrel Help</translation>
    </message>
</context>
<context>
    <name>vostrel::CHiScoreDlg</name>
    <message>
        <source>ハイスコア</source>
        <extracomment>Title of the high-score window.
----------
Title of the message box about the typed name.</extracomment>
        <translation>High Scores</translation>
    </message>
    <message>
        <source>名前</source>
        <extracomment>Column heading of the high-score table.</extracomment>
        <translation>Name</translation>
    </message>
    <message>
        <source>スコア</source>
        <extracomment>Column heading: the game&apos;s score, the mean points per problem.</extracomment>
        <translation>Score</translation>
    </message>
    <message>
        <source>%1：</source>
        <extracomment>A place in the high-score table: %1 the place.</extracomment>
        <translation>%1:</translation>
    </message>
    <message>
        <source>今回のスコア：</source>
        <extracomment>Caption of the score of the game that just ended.</extracomment>
        <translation>Your score:</translation>
    </message>
    <message>
        <source>確定(&amp;D)</source>
        <extracomment>Button: stores the typed name. Keep the letter D.</extracomment>
        <translation>&amp;Done</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <extracomment>Button: closes the high-score table. Keep the letter C.</extracomment>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>名前に保存できない文字が含まれています。名前を直してください。</source>
        <extracomment>Message box: the typed name holds a character that cannot be saved.</extracomment>
        <translation>The name holds a character that cannot be saved. Please correct the name.</translation>
    </message>
</context>
<context>
    <name>vostrel::CSettingDlg</name>
    <message>
        <source>設定</source>
        <extracomment>Title of the settings window.</extracomment>
        <translation>Settings</translation>
    </message>
    <message>
        <source>繰返し回数(&amp;N)：</source>
        <extracomment>Caption of the number box: how many problems a game has. Keep the letter N.</extracomment>
        <translation>&amp;Number of problems:</translation>
    </message>
    <message>
        <source>割切れない除算も採点する(&amp;D)</source>
        <extracomment>Check box: a division with a remainder drops it, with a penalty, instead of giving &quot;not integer&quot;. Keep the letter D.</extracomment>
        <translation>Allow &amp;divisions with a remainder</translation>
    </message>
    <message>
        <source>整数にならないべき乗根も採点する(&amp;R)</source>
        <extracomment>Check box: a root that is not a whole number is rounded, with a penalty, instead of giving &quot;not integer&quot;. Keep the letter R.</extracomment>
        <translation>Allow &amp;roots that are not whole numbers</translation>
    </message>
    <message>
        <source>10以外の結果も採点する(&amp;T)</source>
        <extracomment>Check box: 0 and other multiples of 10 earn a bonus too. Keep the letter T.</extracomment>
        <translation>Points for results o&amp;ther than 10</translation>
    </message>
    <message>
        <source>べき乗を使用する(&amp;E)</source>
        <extracomment>Check box: the powers above the digits can be chosen. Keep the letter E.</extracomment>
        <translation>Us&amp;e powers</translation>
    </message>
    <message>
        <source>変更(&amp;G)</source>
        <extracomment>Button: stores the settings. Keep the letter G.</extracomment>
        <translation>Chan&amp;ge</translation>
    </message>
    <message>
        <source>ハイスコア(&amp;S)...</source>
        <extracomment>Button: shows the high-score table. Keep the letter S.</extracomment>
        <translation>High &amp;Scores...</translation>
    </message>
    <message>
        <source>バージョン(&amp;A)...</source>
        <extracomment>Button: the About window. Keep the letter A.</extracomment>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <extracomment>Button: closes the settings without storing them. Keep the letter C.</extracomment>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>vostrel::CStatsDlg</name>
    <message>
        <source>遊んだゲーム</source>
        <extracomment>Row of the statistics table.</extracomment>
        <translation>Games played</translation>
    </message>
    <message>
        <source>最後まで遊んだゲーム</source>
        <extracomment>Row of the statistics table: games played to their last problem.</extracomment>
        <translation>Games finished</translation>
    </message>
    <message>
        <source>平均スコア</source>
        <extracomment>Row of the statistics table: the mean final score.</extracomment>
        <translation>Mean score</translation>
    </message>
    <message>
        <source>最高スコア</source>
        <extracomment>Row of the statistics table: the best final score.</extracomment>
        <translation>Best score</translation>
    </message>
    <message>
        <source>10 を作った最長連続</source>
        <extracomment>Row of the statistics table: the most problems made 10 one after another.</extracomment>
        <translation>Longest run of 10s</translation>
    </message>
    <message>
        <source>10 を作った問題</source>
        <extracomment>Row of the statistics table.</extracomment>
        <translation>Problems made 10</translation>
    </message>
    <message>
        <source>ほかの結果の問題</source>
        <extracomment>Row of the statistics table: problems graded with a result other than 10.</extracomment>
        <translation>Problems with another result</translation>
    </message>
    <message>
        <source>ヒントの数</source>
        <extracomment>Row of the statistics table.</extracomment>
        <translation>Hints taken</translation>
    </message>
    <message>
        <source>得点 0 以下の問題</source>
        <extracomment>Row of the statistics table: problems that scored 0 points or less.</extracomment>
        <translation>Problems scoring 0 or less</translation>
    </message>
    <message>
        <source>得点 %1 以上の問題</source>
        <extracomment>Row of the statistics table: problems that scored %1 points or more.</extracomment>
        <translation>Problems scoring %1 or more</translation>
    </message>
    <message>
        <source>得点 %1〜%2 の問題</source>
        <extracomment>Row of the statistics table: problems that scored %1 to %2 points.</extracomment>
        <translation>Problems scoring %1 to %2</translation>
    </message>
    <message>
        <source>成績</source>
        <extracomment>Title of the statistics window.</extracomment>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>成績ファイルの読めなかった行（飛ばしました）: %1</source>
        <extracomment>The statistics window when lines of the record could not be read: %1 how many.</extracomment>
        <translation>Lines of the record that could not be read (skipped): %1</translation>
    </message>
    <message>
        <source>数字で見る成績(&amp;T):</source>
        <extracomment>Heading of the table of figures.</extracomment>
        <translation>&amp;Table of figures:</translation>
    </message>
    <message>
        <source>成績の表</source>
        <translation>Statistics table</translation>
    </message>
    <message>
        <source>成績を消去(&amp;C)...</source>
        <extracomment>Button of the statistics window; asks first.</extracomment>
        <translation>&amp;Clear Statistics...</translation>
    </message>
    <message>
        <source>閉じる</source>
        <extracomment>Button closing the statistics window.</extracomment>
        <translation>Close</translation>
    </message>
    <message>
        <source>%1 問</source>
        <extracomment>A settings set in the statistics table&apos;s heading: %1 the problem count.</extracomment>
        <translation>%1 problems</translation>
    </message>
    <message>
        <source>すべて</source>
        <extracomment>Column of the statistics table: every game.</extracomment>
        <translation>All games</translation>
    </message>
    <message>
        <source>成績のグラフ</source>
        <translation>Statistics chart</translation>
    </message>
    <message>
        <source>最近のスコア: %1。平均 %2。問題ごとの得点は表にあります。</source>
        <extracomment>What a screen reader says of the picture: %1 the recent final scores, %2 the mean.</extracomment>
        <translation>Recent scores: %1. Mean %2. The points per problem are in the table.</translation>
    </message>
    <message>
        <source>成績をすべて消去しますか。元に戻せません。</source>
        <extracomment>Question before the statistics are cleared.</extracomment>
        <translation>Clear all statistics? This cannot be undone.</translation>
    </message>
    <message>
        <source>成績の消去</source>
        <extracomment>Title of that question.</extracomment>
        <translation>Clear Statistics</translation>
    </message>
</context>
<context>
    <name>vostrel::StatsChart</name>
    <message>
        <source>最近のスコア</source>
        <extracomment>Heading of the picture of the recent games&apos; final scores.</extracomment>
        <translation>Recent scores</translation>
    </message>
    <message>
        <source>ゲーム</source>
        <extracomment>Legend of the picture: the dots are games&apos; final scores.</extracomment>
        <translation>Game</translation>
    </message>
    <message>
        <source>平均 %1</source>
        <extracomment>Legend of the picture: the dashed line is the mean final score; %1 its value.</extracomment>
        <translation>Mean %1</translation>
    </message>
    <message>
        <source>まだ記録がありません</source>
        <extracomment>The picture before any finished game.</extracomment>
        <translation>No games yet</translation>
    </message>
    <message>
        <source>問題ごとの得点</source>
        <extracomment>Heading of the picture of how many problems scored in each band of points.</extracomment>
        <translation>Points per problem</translation>
    </message>
    <message>
        <source>得点</source>
        <extracomment>The axis of the points picture, between its ends.</extracomment>
        <translation>Points</translation>
    </message>
</context>
</TS>
