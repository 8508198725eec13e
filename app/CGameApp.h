#pragma once
// The application object: owns the settings record for the whole run, reads and writes the settings
// file, and runs start-up and shutdown.

#include "app/GameHistory.h"
#include "app/SettingsLocation.h"
#include "app/SettingsRecord.h"

#include <cerrno>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vostrel {

class IAppShell;

class CGameApp {
public:
    SettingsRecord settings;
    // A name typed for a new high-score row and not yet confirmed: the end of the session is
    // not the player's Esc, so it is kept if the session ends first. Row -1 when none.
    struct TypedName {
        int32_t row = -1;
        StoredName name;
    } typedName;
    // The settings file of this run, set at start-up; empty before.
    std::string settingsPath;

    // The game under way is kept in a file of its own beside the settings file, set at
    // start-up; empty before.
    std::string gamePath;
    // What that file held at start-up, and 0 or why it could not be read (ENOENT: no file).
    std::string keptGame;
    int keptGameReason = ENOENT;

    // Writes the game's file unless it holds these bytes already: 0, or an errno value.
    // Always 0 in a run that was told at its start that it does not save.
    int KeepGame(const std::string& bytes);

    // The player's own record, read at start-up from historyPath (beside the settings file;
    // empty: kept in memory only), and what that read saw.
    GameHistory history;
    std::string historyPath;
    HistoryReport historyRead;
    // Today as yyyymmdd, for the record.
    std::function<int32_t()> today = LocalDate;
    static int32_t LocalDate();

    // Adds a game to the record and writes the file. A failure gives the text to show, once a
    // run; the game stays in memory and goes with the next write. A file that could not be read
    // is never written over.
    std::optional<std::string> RecordGame(const HistoryGame& g);
    // Empties the record and writes it; a failure's text.
    std::optional<std::string> ClearHistory();

    // The settings file beside the executable; empty when that directory cannot be found.
    static std::string GetSettingsPath(std::string_view fileName);
    // Where the real program keeps the file: beside the executable or in the player's data
    // folder (ChooseSettingsLocation over this machine).
    static SettingsLocation FindSettingsLocation(std::string_view fileName);
    int32_t LoadSettings(const std::string& path);
    int32_t SaveSettings(const std::string& path) const;
    // 0 all digits, 1 empty, 2 anything else.
    static int32_t CheckDigits(std::string_view text);

    // The whole life of the program; returns the process exit status. The location is where
    // the file is read and written (FindSettingsLocation("vostrel.dat") in the real program).
    int InitInstance(IAppShell& shell, const SettingsLocation& location);
    int InitInstance(IAppShell& shell, const std::string& settingsPath) {
        return InitInstance(shell, SettingsLocation{settingsPath, false});
    }

    // The desktop is ending the game (a signal, a logout): while the game dialog runs, the
    // record as it stands, with a name typed and not yet confirmed for a new high-score row,
    // is saved, once; a failure is told in one line on standard error,
    // since no box can be shown then. InitInstance then opens no game dialog, or saves no more
    // when it returns, and ends with 0, or 1 when this save failed (or the run does not save):
    // the status returned, also by every later call.
    int EndSession();
    // The desktop asks for the player's data and the game may go on: the record is saved now
    // unless this run already wrote it as it stands; a failure as in EndSession.
    void SaveForSession();

private:
    void KeepTypedName();
    // Saves to settingsPath. A failure is told in a box from shell, or without
    // one on standard error; each at most once a run. Returns 0 or -1; always -1, silently,
    // in a run that was told at its start that it does not save.
    int32_t SaveTo(IAppShell* shell);

    // The folder of settingsPath is made before each save.
    bool makeFolder_ = false;
    // The game dialog runs: the record holds what the player did.
    bool running_ = false;
    bool sessionEnded_ = false;
    bool failureShown_ = false;
    bool failureWritten_ = false;
    // The file could not be read: it is left as it is, and nothing is saved this run.
    bool keepFile_ = false;
    int endStatus_ = 0;
    int32_t WriteHistory(int& reason);
    bool historyKept_ = false; // the record's file could not be read
    bool historyUnsaved_ = false;
    bool historyFailureShown_ = false;
    // What this run last wrote to the file.
    std::optional<SettingsRecord> saved_;
    std::optional<std::string> gameSaved_;
};

} // namespace vostrel
