#include "app/SaveFailure.h"

#include "app/Tr.h"

#include <cerrno>
#include <cstring>

namespace vostrel {

namespace {

// The causes a player can act on, in the game's language; the C library's text for the rest.
std::string ReasonText(int reason) {
    switch (reason) {
    case EACCES:
    case EPERM:
        //: Why the settings file could not be saved.
        return Tr("SaveFailure", "このファイルまたはフォルダへの書込みが許可されていません。");
    case EROFS:
        //: Why the settings file could not be saved.
        return Tr("SaveFailure", "読取り専用のディスクです。");
    case ENOSPC:
    case EDQUOT:
        //: Why the settings file could not be saved.
        return Tr("SaveFailure", "ディスクの空きが足りません。");
    case EISDIR:
        //: Why the settings file could not be saved.
        return Tr("SaveFailure", "同じ名前のフォルダがあります。");
    case ENOENT:
    case ENOTDIR:
        //: Why the settings file could not be saved.
        return Tr("SaveFailure", "保存先のフォルダがありません。");
    default:
        return std::strerror(reason);
    }
}

} // namespace

std::string SaveFailureText(const std::string& path, int reason) {
    //: Message box when the settings file cannot be saved: %1 its path, %2 why.
    return FillText(Tr("SaveFailure", "設定ファイルの保存に失敗しました。\n\n%1\n%2"),
                    {path, ReasonText(reason)});
}

std::string SaveFailureLine(const std::string& path, int reason) {
    return "vostrel: the settings could not be saved to " + path + ": " + std::strerror(reason) +
           "\n";
}

} // namespace vostrel
