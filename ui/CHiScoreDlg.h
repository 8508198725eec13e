#pragma once
// The high-score table in one of three modes, by the application's hiScoreMode: view (0),
// entry of a name for the new row hiScoreRow (1), or the table beside a final score that did
// not enter it (2). Closing it in any way sets hiScoreMode back to 0.

#include "ui/CStaticEx.h"

#include <QDialog>
#include <QFont>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vostrel {

class CGameApp;

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

    explicit CHiScoreDlg(CGameApp& app, QWidget* parent = nullptr);
    ~CHiScoreDlg() override;

    // Runs the dialog modally; IDOK or IDCANCEL.
    int32_t DoModal();

    // The control with a template id, or nullptr.
    QWidget* GetDlgItem(int id) const;

    void FillTable();
    void ApplyMode();

    void accept() override; // OnOK
    void reject() override; // OnCancel

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void OnInitDialog();
    void CommitComposition();
    // The box's text up to a line break or NUL.
    QString EnteredName() const;
    void StoreEnteredName();
    // Keeps what the box holds in the application's state, for a session that ends first.
    void NoteTypedName();
    // The dialog's description: what a reader hears of the table as it opens.
    void DescribeTable();

    CGameApp& app_;
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
