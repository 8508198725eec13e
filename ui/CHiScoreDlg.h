#pragma once
// The high-score table alone, or at the end of a game beside its final score: with a box for
// the new row's name when the score entered the table. It changes no table; the name
// confirmed is its result.

#include "game/IGameView.h"
#include "ui/CStaticEx.h"

#include <QDialog>
#include <QFont>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vostrel {

class CHiScoreDlg : public QDialog {
    Q_OBJECT
public:
    enum ControlId : int {
        IDC_HS_RANK0 = 1036,  // "1：".."5：", up to 1040
        IDC_HS_NAME0 = 1041,  // name labels, up to 1045
        IDC_HS_SCORE0 = 1046, // score labels, up to 1050
        IDC_HS_FINAL_CAPTION = 1051,
        IDC_HS_FINAL = 1052,
        IDC_HS_NAME_EDIT = 1053,
        IDC_HS_OK = 1,
    };

    // The table alone.
    explicit CHiScoreDlg(const HighScoreTable& table, QWidget* parent = nullptr);
    // The end of a game.
    explicit CHiScoreDlg(const GameEnd& end, QWidget* parent = nullptr);
    ~CHiScoreDlg() override;

    // Runs the dialog modally; IDOK or IDCANCEL.
    int32_t DoModal();

    // The control with a template id, or nullptr.
    QWidget* GetDlgItem(int id) const;

    // The end of a game it shows; nothing for the table alone.
    std::optional<GameEnd> Ended() const { return gameEnded_ ? std::optional(end_) : std::nullopt; }
    // The name confirmed for the new row; nothing without one.
    const std::optional<StoredName>& EnteredName() const { return name_; }
    // Told what the name box holds, as it changes: the session may end before the player
    // confirms it. Told at once of what it holds now.
    void KeepTypedName(std::function<void(const StoredName&)> keep);

    void accept() override; // OnOK

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    CHiScoreDlg(const GameEnd& end, bool gameEnded, QWidget* parent);
    void OnInitDialog();
    void FillTable();
    void ApplyMode();
    // The dialog asks for a name: the game's score entered the table.
    bool Entry() const;
    void CommitComposition();
    // The box's text up to a line break or NUL.
    QString TypedText() const;
    void StoreEnteredName();
    // Hands what the box holds to keepTyped_.
    void NoteTypedName();
    // The dialog's description: what a reader hears of the table as it opens.
    void DescribeTable();

    GameEnd end_;
    bool gameEnded_ = false; // otherwise end_ holds only the table
    std::optional<StoredName> name_;
    std::function<void(const StoredName&)> keepTyped_;
    CStaticEx nameLabel_[5];
    CStaticEx scoreLabel_[5];
    QFont fontA_;
    QFont fontB_;
    QLabel* rankLabel_[5] = {};
    QLabel* finalCaption_ = nullptr;
    QLabel* finalBox_ = nullptr;
    QLineEdit* nameEdit_ = nullptr;
    QPushButton* okButton_ = nullptr;
    // What the input method composes in the name edit and has not yet committed.
    QString preedit_;
};

} // namespace vostrel
