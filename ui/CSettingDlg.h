#pragma once
// Edits the repeat count and the switches of the settings table; opens the high-score table
// and the version dialog. The settings it applied are its result.

#include "app/IMessageBoxOwner.h"
#include "app/SettingsRecord.h"

#include <QDialog>

#include <cstdint>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace vostrel {

struct SettingDef;

class CSettingDlg : public QDialog, public IMessageBoxOwner {
    Q_OBJECT
public:
    enum ControlId : int {
        IDC_REPEAT_CAPTION = 1028,
        IDC_REPEAT_COUNT = 1029,
        IDC_SCORE_INEXACT_DIVISION = 1030, // the first four switches, up to 1033
        IDC_SHOW_HISCORE = 1034,
        IDC_SHOW_VERSION = 1035,
        IDC_CHANGE = 1, // IDOK
        IDC_CLOSE = 2,  // IDCANCEL
    };

    // The settings as they are; a game under way is thrown away only after a question.
    explicit CSettingDlg(const SettingsRecord& now, bool gameRunning = false,
                         QWidget* parent = nullptr);
    ~CSettingDlg() override;

    // Runs the dialog modally; IDOK after values were applied, IDCANCEL otherwise.
    int32_t DoModal();
    // The settings applied; nothing before or without.
    const std::optional<SettingsRecord>& Applied() const { return applied_; }

    QWidget* GetDlgItem(int id) const;
    // The check box of a switch of the settings table; nullptr for any other setting.
    QCheckBox* SwitchOf(const SettingDef& setting) const;

    // The change button: the result of ApplySettings; only 0 closes the dialog.
    int32_t OnOK();
    void OnShowHiScore();
    void OnShowVersion();

    // Boxes of ApplySettings, owned by this dialog.
    int32_t MessageBox(const std::string& text, const std::string& caption,
                       uint32_t style) override;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void OnInitDialog();
    void FitToTexts(QSize client, int margin);
    void MatchListToField();

    SettingsRecord now_;
    bool gameRunning_ = false;
    std::optional<SettingsRecord> applied_;
    QLabel* caption_ = nullptr;
    QComboBox* repeatCount_ = nullptr;
    struct Switch {
        const SettingDef* setting;
        QCheckBox* box;
    };
    // In the table's order.
    std::vector<Switch> switches_;
    QPushButton* changeButton_ = nullptr;
    QPushButton* hiScoreButton_ = nullptr;
    QPushButton* versionButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    // The count's text is selected once the window has the keyboard, not as it shows.
    bool selectOnActive_ = true;
};

} // namespace vostrel
