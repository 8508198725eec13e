#include "ui/CSettingDlg.h"

#include "app/SettingsFile.h"
#include "app/SettingsRecord.h"
#include "app/Tr.h"
#include "app/WinConstants.h"
#include "game/SettingsApply.h"
#include "ui/CAboutDlg.h"
#include "ui/CHelpDlg.h"
#include "ui/CHiScoreDlg.h"
#include "ui/platform/DialogTemplate.h"
#include "ui/platform/DialogUnits.h"
#include "ui/platform/MessageBoxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace vostrel {
namespace {

// The width a push button needs to show its text inside its frame and margins.
int ButtonTextWidth(const QPushButton& b) {
    const QStyle* style = b.style();
    return b.fontMetrics().size(Qt::TextShowMnemonic, b.text()).width() +
           style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &b) +
           2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &b);
}

} // namespace

CSettingDlg::CSettingDlg(const SettingsRecord& now, bool gameRunning, QWidget* parent)
    : QDialog(parent), now_(now), gameRunning_(gameRunning) {
    //: Title of the settings window.
    InitDialogWindow(this, tr("設定"));
    CHelpDlg::InstallKey(this);
    OnInitDialog();
}

CSettingDlg::~CSettingDlg() = default;

int32_t CSettingDlg::DoModal() {
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

QWidget* CSettingDlg::GetDlgItem(int id) const {
    if (id >= IDC_SCORE_INEXACT_DIVISION && id < IDC_SHOW_HISCORE) {
        const size_t k = static_cast<size_t>(id - IDC_SCORE_INEXACT_DIVISION);
        return k < switches_.size() ? switches_[k].box : nullptr;
    }
    switch (id) {
    case IDC_REPEAT_COUNT:
        return repeatCount_;
    case IDC_CHANGE:
        return changeButton_;
    case IDC_SHOW_HISCORE:
        return hiScoreButton_;
    case IDC_SHOW_VERSION:
        return versionButton_;
    case IDC_CLOSE:
        return closeButton_;
    default:
        return nullptr;
    }
}

QCheckBox* CSettingDlg::SwitchOf(const SettingDef& setting) const {
    for (const Switch& s : switches_) {
        if (s.setting->field == setting.field) {
            return s.box;
        }
    }
    return nullptr;
}

void CSettingDlg::OnInitDialog() {
    const DialogBaseUnits bu = BaseUnitsOf(font());
    const auto du = [&bu](int x, int y, int cx, int cy) { return MapDialogRect(bu, x, y, cx, cy); };

    // The settings in the table's order: the number box of its count, then its switches one
    // under the other.
    int top = 25;
    for (const SettingDef& d : SettingsTable()) {
        const QString text = QString::fromStdString(Tr(kSettingLabelContext, d.label));
        if (d.kind == SettingKind::Count) {
            caption_ = MakeStatic(this, text, Qt::AlignLeft | Qt::AlignTop);
            caption_->setGeometry(du(7, 10, 46, 10));
            repeatCount_ = new QComboBox(this);
            repeatCount_->setEditable(true);
            // What is typed stays in the field; it never becomes a list item.
            repeatCount_->setInsertPolicy(QComboBox::NoInsert);
            repeatCount_->setMaxVisibleItems(10);
            // The template's height includes the dropped-down list; the closed box is one line.
            QRect combo = du(55, 7, 29, 102);
            combo.setHeight(repeatCount_->sizeHint().height());
            repeatCount_->setGeometry(combo);
            caption_->setBuddy(repeatCount_);
            continue;
        }
        auto* box = new QCheckBox(text, this);
        box->setGeometry(du(7, top, d.dialogWidth, 10));
        switches_.push_back({&d, box});
        top += 15;
    }
    // The buttons: 35 units under the last switch.
    top += 20;

    //: Button: stores the settings. Keep the letter G.
    changeButton_ = new QPushButton(tr("変更(&G)"), this);
    changeButton_->setGeometry(du(102, top, 41, 16));
    //: Button: shows the high-score table. Keep the letter S.
    hiScoreButton_ = new QPushButton(tr("ハイスコア(&S)..."), this);
    hiScoreButton_->setGeometry(du(7, top + 22, 44, 16));
    //: Button: the About window. Keep the letter A.
    versionButton_ = new QPushButton(tr("バージョン(&A)..."), this);
    versionButton_->setGeometry(du(54, top + 22, 44, 16));
    //: Button: closes the settings without storing them. Keep the letter C.
    closeButton_ = new QPushButton(tr("閉じる(&C)"), this);
    closeButton_->setGeometry(du(102, top + 22, 41, 16));
    closeButton_->setDefault(true);

    connect(changeButton_, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(hiScoreButton_, &QPushButton::clicked, this, &CSettingDlg::OnShowHiScore);
    connect(versionButton_, &QPushButton::clicked, this, &CSettingDlg::OnShowVersion);
    connect(closeButton_, &QPushButton::clicked, this, &CSettingDlg::reject);

    FitToTexts(du(0, 0, 150, top + 45).size(), du(0, 0, 7, 0).width());

    // The fields as they are now.
    for (int n = kMinRepeatCount; n <= kMaxRepeatCount; ++n) {
        repeatCount_->addItem(QString::number(n));
    }
    repeatCount_->setEditText(QString::number(now_.repeatCount));
    MatchListToField();
    for (const Switch& s : switches_) {
        s.box->setChecked(now_.*s.setting->field == kFlagOn);
    }
    repeatCount_->setFocus();
    repeatCount_->installEventFilter(this);
}

void CSettingDlg::MatchListToField() {
    // The list steps and drops from the value the field shows, typed or not; a text that is no
    // item of the list leaves none chosen, so the first step goes to the list's first item.
    const QString text = repeatCount_->currentText();
    const std::string digits = text.toStdString();
    const int item = CheckDigits(digits) == 0
                         ? repeatCount_->findText(QString::number(DigitsToNumber(digits)))
                         : -1;
    if (item == repeatCount_->currentIndex()) {
        return;
    }
    const int cursor = repeatCount_->lineEdit()->cursorPosition();
    // Choosing an item puts its text in the field: the field's own text goes back.
    repeatCount_->setCurrentIndex(item);
    repeatCount_->setEditText(text);
    repeatCount_->lineEdit()->setCursorPosition(cursor);
}

bool CSettingDlg::eventFilter(QObject* watched, QEvent* e) {
    if (watched == repeatCount_ &&
        (e->type() == QEvent::KeyPress || e->type() == QEvent::MouseButtonPress ||
         e->type() == QEvent::Wheel)) {
        MatchListToField();
    }
    if (watched == repeatCount_ && e->type() == QEvent::FocusIn && selectOnActive_) {
        if (!isActiveWindow()) {
            // The focus a dialog hands its first field as it shows, before its window is up:
            // the text it selects would be read out before the dialog itself.
            return true;
        }
        selectOnActive_ = false;
        QMetaObject::invokeMethod(
            this, [this] { repeatCount_->lineEdit()->selectAll(); }, Qt::QueuedConnection);
    }
    return QDialog::eventFilter(watched, e);
}

void CSettingDlg::FitToTexts(QSize client, int margin) {
    // The template's units are those of a narrower face, and another language's texts may be
    // longer: grow what its text does not fit, keeping left and top, and move the controls
    // beside a grown one along.
    const int captionGrow = caption_->fontMetrics()
                                .boundingRect(QRect(), Qt::TextShowMnemonic, caption_->text())
                                .width() +
                            1 - caption_->width();
    if (captionGrow > 0) {
        caption_->resize(caption_->width() + captionGrow, caption_->height());
        repeatCount_->move(repeatCount_->x() + captionGrow, repeatCount_->y());
    }
    for (const Switch& s : switches_) {
        QCheckBox* box = s.box;
        const QSize hint = box->sizeHint();
        box->resize(std::max(box->width(), hint.width()), std::max(box->height(), hint.height()));
    }
    int shift = 0;
    for (QPushButton* b : {hiScoreButton_, versionButton_}) {
        b->move(b->x() + shift, b->y());
        const int grow = ButtonTextWidth(*b) - b->width();
        if (grow > 0) {
            b->resize(b->width() + grow, b->height());
            shift += grow;
        }
    }
    for (QPushButton* b : {changeButton_, closeButton_}) {
        b->move(b->x() + shift, b->y());
    }
    for (const QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        client = client.expandedTo(QSize(w->geometry().right() + 1 + margin, 0));
    }
    setFixedSize(client);
}

int32_t CSettingDlg::OnOK() {
    SettingsEntries e;
    e.repeatCountText = repeatCount_->currentText().toStdString();
    for (const Switch& s : switches_) {
        e.checked.push_back(s.box->checkState() == Qt::Checked);
    }
    SettingsRecord applied = now_;
    const int32_t r = ApplySettings(applied, e, gameRunning_, *this);
    if (r == 0) {
        applied_ = applied;
        done(QDialog::Accepted);
    }
    return r;
}

void CSettingDlg::OnShowHiScore() {
    CHiScoreDlg dlg(now_.highScores, this);
    dlg.DoModal();
}

void CSettingDlg::OnShowVersion() {
    CAboutDlg dlg(this);
    dlg.exec();
}

int32_t CSettingDlg::MessageBox(const std::string& text, const std::string& caption,
                                uint32_t style) {
    return ShowMessageBox(this, text, caption, style);
}

} // namespace vostrel
