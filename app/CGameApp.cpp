#include "app/CGameApp.h"

#include "app/FileReasons.h"
#include "app/FileSave.h"
#include "app/GameFile.h"
#include "app/IAppShell.h"
#include "app/PosixFileSystemView.h"
#include "app/SaveFailure.h"
#include "app/SettingsFile.h"
#include "app/Tr.h"
#include "app/WinConstants.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace vostrel {

std::string CGameApp::GetSettingsPath(std::string_view fileName) {
    return vostrel::GetSettingsPath(fileName);
}

SettingsLocation CGameApp::FindSettingsLocation(std::string_view fileName) {
    return ChooseSettingsLocation(PosixFileSystemView(), GetSettingsPath(fileName), fileName);
}

int32_t CGameApp::LoadSettings(const std::string& path) {
    return vostrel::LoadSettings(path, settings);
}

int32_t CGameApp::SaveSettings(const std::string& path) const {
    return vostrel::SaveSettings(path, settings);
}

int32_t CGameApp::CheckDigits(std::string_view text) {
    return vostrel::CheckDigits(text);
}

int32_t CGameApp::SaveTo(IAppShell* shell) {
    // The player was told at the start that this run does not save.
    if (keepFile_) {
        return -1;
    }
    // A folder that cannot be made leaves the save to fail like any other.
    if (makeFolder_) {
        MakeFolderOf(settingsPath);
    }
    int reason = 0;
    if (vostrel::SaveSettings(settingsPath, settings, &reason) == 0) {
        saved_ = settings;
        return 0;
    }
    if (shell != nullptr && !failureShown_) {
        failureShown_ = true;
        shell->MessageBox(SaveFailureText(settingsPath, reason),
                          //: Title of every message box about the settings file.
                          Tr("CGameApp", "設定ファイルエラー"), MB_OK | MB_ICONERROR);
    } else if (shell == nullptr && !failureWritten_) {
        failureWritten_ = true;
        std::fputs(SaveFailureLine(settingsPath, reason).c_str(), stderr);
    }
    return -1;
}

int CGameApp::KeepGame(const std::string& bytes) {
    if (keepFile_ || gamePath.empty() || gameSaved_ == bytes) {
        return 0;
    }
    if (makeFolder_) {
        MakeFolderOf(gamePath);
    }
    const int e = WriteGameFile(gamePath, bytes);
    if (e == 0) {
        gameSaved_ = bytes;
    }
    return e;
}

int32_t CGameApp::LocalDate() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (::localtime_r(&now, &tm) == nullptr) {
        return 0;
    }
    return (tm.tm_year + 1900) * 10000 + (tm.tm_mon + 1) * 100 + tm.tm_mday;
}

int32_t CGameApp::WriteHistory(int& reason) {
    reason = 0;
    if (historyPath.empty()) {
        return 0;
    }
    if (historyKept_) {
        reason = historyRead.reason;
        return -1;
    }
    if (makeFolder_) {
        MakeFolderOf(historyPath);
    }
    reason = SaveHistory(historyPath, history);
    historyUnsaved_ = reason != 0;
    return reason == 0 ? 0 : -1;
}

std::optional<std::string> CGameApp::RecordGame(const HistoryGame& g) {
    history.Append(g);
    int reason = 0;
    if (historyKept_ || WriteHistory(reason) == 0 || historyFailureShown_) {
        return std::nullopt;
    }
    historyFailureShown_ = true;
    return HistoryFailureText(historyPath, reason, false);
}

std::optional<std::string> CGameApp::ClearHistory() {
    if (historyKept_) {
        return HistoryFailureText(historyPath, historyRead.reason, true);
    }
    history = GameHistory{};
    int reason = 0;
    if (WriteHistory(reason) == 0) {
        return std::nullopt;
    }
    return HistoryFailureText(historyPath, reason, false);
}

int CGameApp::EndSession() {
    if (sessionEnded_) {
        return endStatus_;
    }
    sessionEnded_ = true;
    KeepTypedName();
    if ((running_ && saved_ != settings && SaveTo(nullptr) != 0) || keepFile_) {
        endStatus_ = 1;
    }
    return endStatus_;
}

void CGameApp::KeepTypedName() {
    // The session ending is not the player's Esc: a name typed for a new row stays, though
    // not confirmed. An empty box leaves the row's "none".
    const int row = typedName.row;
    if (typedName.name.bytes.empty() || row < 0 || row >= kHighScoreRows) {
        return;
    }
    settings.highScores.name[row] = typedName.name.bytes;
    settings.highScores.fullName[row] = typedName.name.full;
}

void CGameApp::SaveForSession() {
    if (running_ && !sessionEnded_ && saved_ != settings) {
        SaveTo(nullptr);
    }
}

int CGameApp::InitInstance(IAppShell& shell, const SettingsLocation& location) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    settingsPath = location.path;
    makeFolder_ = location.makeFolder;

    LoadReport report;
    int32_t loaded = vostrel::LoadSettings(location.path, settings, &report);
    if (loaded == -9 && report.reason == kCutRewrite) {
        // A rewrite in place was cut off: finished or undone here, and the player told which,
        // before the file is read again.
        int why = 0;
        const InPlaceRewrite::Outcome mended = MendCutSave(location.path, why);
        if (mended == InPlaceRewrite::Outcome::Finished ||
            mended == InPlaceRewrite::Outcome::Undone) {
            shell.MessageBox(MendedText(location.path, mended == InPlaceRewrite::Outcome::Finished),
                             Tr("CGameApp", "設定ファイルエラー"), MB_OK | MB_ICONINFORMATION);
            loaded = vostrel::LoadSettings(location.path, settings, &report);
        } else if (why != 0) {
            report.reason = why == kCutShort ? kCutRewrite : why;
        }
    }
    // A file that is not there, or holds nothing, has nothing to lose: the first start.
    if (loaded == -1 || (loaded == 0 && report.empty)) {
        //: Message box at the first start: no settings file yet.
        shell.MessageBox(Tr("CGameApp", "設定ファイルが見つからないので初期化します。"),
                         Tr("CGameApp", "設定ファイルエラー"), MB_OK | MB_ICONEXCLAMATION);
        InstallDefaultSettings(settings);
        SaveTo(&shell); // the game goes on without a file
    } else if (loaded != 0 || report.CutShort()) {
        const int reason = loaded != 0 ? report.reason : kCutShort;
        // A file whose bytes are wrong stays as it is, so the player can repair it. One that
        // could not be read now (no access, a disk error, another user's link) is likely whole:
        // the game plays with the defaults, and never saves them over it.
        const bool damaged = reason == kBadLineEnd || reason == kLineTooLong ||
                             reason == kCutShort || reason == kCutRewrite ||
                             reason == kFileTooLarge;
        shell.MessageBox(ReadFailureText(location.path, reason, !damaged),
                         Tr("CGameApp", "設定ファイルエラー"), MB_OK | MB_ICONERROR);
        if (damaged) {
            return 1;
        }
        InstallDefaultSettings(settings);
        keepFile_ = true;
    } else {
        // What the file holds: the end of a session need not write it again.
        saved_ = settings;
        if (settings.repeatCount < 1) {
            // A file with rn:0 or without rn would make the final score a division by zero.
            settings.repeatCount = kDefaultRepeatCount;
        }
    }

    gamePath = GameFilePath(location.path);
    keptGameReason = ReadGameFile(gamePath, keptGame);
    if (keptGameReason == 0) {
        gameSaved_ = keptGame;
    }
    if (!settingsPath.empty()) {
        historyPath = HistoryPathBeside(settingsPath);
        historyKept_ = LoadHistory(historyPath, history, historyRead) != 0;
    }

    // A session that ended during start-up opens no window.
    if (!sessionEnded_) {
        running_ = true;
        shell.RunGameDialog(*this);
        running_ = false;
    }
    // A game a full disk kept from the file gets another chance.
    if (historyUnsaved_) {
        int reason = 0;
        WriteHistory(reason);
    }
    if (sessionEnded_) {
        return endStatus_;
    }
    return SaveTo(&shell) == 0 ? 0 : 1;
}

} // namespace vostrel
