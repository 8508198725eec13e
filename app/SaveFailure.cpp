#include "app/SaveFailure.h"

#include "app/FileReasons.h"
#include "app/LineReader.h"
#include "app/Tr.h"

#include <cerrno>
#include <cstring>

namespace vostrel {

namespace {

// The causes a player can act on, in the game's language; the C library's text for the rest.
std::string ReasonText(int reason, bool reading) {
    switch (reason) {
    case EACCES:
    case EPERM:
        //: Why the settings file could not be read (first) or saved (second).
        return reading ? Tr("SaveFailure", "このファイルの読込みが許可されていません。")
                       : Tr("SaveFailure",
                            "このファイルまたはフォルダへの書込みが許可されていません。");
    case kOtherUsersLink:
        //: Why the settings file is not used: a symbolic link on its path belongs to another user.
        return Tr("SaveFailure", "ほかのユーザーのシンボリックリンクを通る場所なので使いません。");
    case kSharedFolder:
        //: Why the settings file is not used: a folder on its path may be changed by others.
        return Tr("SaveFailure", "ほかのユーザーが変更できるフォルダ、またはほかのユーザーのフォル"
                                 "ダを通る場所なので使いません。");
    case kNotAFile:
        //: Why the settings file cannot be used: something else has its name.
        return Tr("SaveFailure",
                  "その名前のものはファイルではありません（フォルダ、FIFO、デバイスなど）。");
    case kBadLineEnd:
        //: Why the settings file could not be read: a carriage return without its line feed.
        return Tr("SaveFailure", "LF が続かない CR があります。");
    case kLineTooLong:
        //: Why the settings file could not be read: %1 is the longest line it may hold, in bytes.
        return FillText(Tr("SaveFailure", "%1 バイトを超える行があります。"),
                        {std::to_string(LineReader::kMaxLine)});
    case kCutShort:
        //: Why the settings file could not be read: a write was cut off.
        return Tr("SaveFailure",
                  "ファイルが途中で切れています（最後の行が終わっていないか、項目が足りません）。");
    case kFileTooLarge:
        //: Why a file of the game could not be read: far larger than the game writes it.
        return Tr("SaveFailure", "ゲームが書くよりも大きなファイルです。");
    case EROFS:
        //: Why the settings file could not be read or saved.
        return Tr("SaveFailure", "読取り専用のディスクです。");
    case ENOSPC:
    case EDQUOT:
        //: Why the settings file could not be read or saved.
        return Tr("SaveFailure", "ディスクの空きが足りません。");
    case EISDIR:
        //: Why the settings file could not be read or saved.
        return Tr("SaveFailure", "同じ名前のフォルダがあります。");
    case ENOENT:
    case ENOTDIR:
        //: Why the settings file could not be read or saved.
        return Tr("SaveFailure", "保存先のフォルダがありません。");
    default:
        return std::strerror(reason);
    }
}

} // namespace

std::string FileReasonText(int reason, bool reading) {
    return ReasonText(reason, reading);
}

std::string SaveFailureText(const std::string& path, int reason) {
    //: Message box when the settings file cannot be saved: %1 its path, %2 why.
    return FillText(Tr("SaveFailure", "設定ファイルの保存に失敗しました。\n\n%1\n%2"),
                    {path, ReasonText(reason, false)});
}

std::string SaveFailureLine(const std::string& path, int reason, bool reading) {
    // Standard error is for whoever reads logs: the C library's words, or ours in English.
    const std::string why = reason == kOtherUsersLink ? "a link on the way is another user's"
                            : reason == kSharedFolder
                                ? "a folder on the way may be changed by another user"
                            : reason == kNotAFile     ? "something other than a file has its name"
                            : reason == kCutShort     ? "the file is cut short"
                            : reason == kCutRewrite   ? "a rewrite in place was cut off"
                            : reason == kFileTooLarge ? "the file is too large"
                            : reason == kBadLineEnd   ? "a CR without its LF"
                            : reason == kLineTooLong  ? "a line is too long"
                                                      : std::strerror(reason);
    return std::string("vostrel: the settings could not be ") +
           (reading ? "read from " : "saved to ") + path + ": " + why + "\n";
}

std::string HistoryFailureText(const std::string& path, int reason, bool reading) {
    if (reading) {
        //: The statistics window when the record's file cannot be read: %1 its path, %2 why.
        return FillText(Tr("SaveFailure", "成績ファイルを読めないので、書き換えません。\n%1\n%2"),
                        {path, ReasonText(reason, true)});
    }
    //: Message box when the record's file cannot be saved: %1 its path, %2 why.
    return FillText(Tr("SaveFailure", "成績ファイルの保存に失敗しました。\n\n%1\n%2"),
                    {path, ReasonText(reason, false)});
}

std::string ReadFailureText(const std::string& path, int reason, bool playing) {
    //: Message box when the settings file cannot be read: %1 its path, %2 why.
    const std::string text =
        FillText(Tr("CGameApp", "設定ファイルの読込みに失敗しました。\n\n%1\n%2"),
                 {path, ReasonText(reason, true)});
    if (!playing) {
        return text;
    }
    //: Added to the read failure's box when the game plays on with the default settings.
    return text + "\n\n" +
           Tr("CGameApp", "既定の設定で遊べますが、このファイルは書き換えないので、"
                          "この回の設定と得点は保存されません。");
}

std::string MendedText(const std::string& path, bool finished) {
    //: Message box at start: a save rewriting the file in place was cut off and has been
    //: repaired. %1 the file's path, %2 how.
    return FillText(
        Tr("CGameApp",
           "設定ファイルの前回の保存が途中で止まっていたので、修復しました。\n\n%1\n%2"),
        {path, finished ? Tr("CGameApp", "保存しようとしていた内容にしました。")
                        : Tr("CGameApp", "保存する前の内容に戻しました。")});
}

std::string UnreachableText(const std::string& path, bool noFolder) {
    //: Message box when a later start finds its settings file used by a game it cannot bring
    //: forward: %1 the file's path, %2 why.
    return FillText(
        Tr("CGameApp",
           "この設定ファイルはすでに動いているゲームが使っているので、起動しません。\n\n%1\n%2"),
        {path, noFolder ? Tr("CGameApp", "ほかのユーザーが変更できない、自分だけのフォルダ"
                                         "（XDG_RUNTIME_DIR または ~/.cache/vostrel）がないため、"
                                         "そのゲームを前に出せません。")
                        : Tr("CGameApp",
                             "そのゲームが応答しません（ほかのユーザーのゲームか、止まっているか、"
                             "別の XDG_RUNTIME_DIR で起動したゲームです）。")});
}

std::string NoGuardFolderText() {
    //: Message box at start when there is no private folder for the one-game socket.
    return Tr("CGameApp",
              "ほかのユーザーが変更できない、自分だけのフォルダ"
              "（XDG_RUNTIME_DIR または ~/.cache/vostrel）がありません。"
              "このゲームは遊べますが、もう一度起動してもこのウィンドウを前に出せません。");
}

} // namespace vostrel
