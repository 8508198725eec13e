#include "ui/CHiScoreDlg.h"

#include "app/WinConstants.h"
#include "game/SpokenText.h"
#include "ui/CHelpDlg.h"
#include "ui/platform/Cp932.h"
#include "ui/platform/DialogTemplate.h"
#include "ui/platform/DialogUnits.h"
#include "ui/platform/Fonts.h"
#include "ui/platform/MessageBoxes.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <string>

namespace vostrel {
namespace {

const QColor kWhite(255, 255, 255);
// Font A and font B: a 14-pixel cell of the proportional Gothic face.
constexpr int kTableFontHeight = 14;
const char16_t* const kTableFace = u"ＭＳ Ｐゴシック";

QLabel* PlaceStatic(QWidget* parent, const QString& text, Qt::Alignment align, const QRect& r) {
    QLabel* label = MakeStatic(parent, text, align);
    label->setGeometry(r);
    GrowToLines(label);
    return label;
}

} // namespace

CHiScoreDlg::CHiScoreDlg(const HighScoreTable& table, QWidget* parent)
    : CHiScoreDlg(GameEnd{table, 0, -1}, false, parent) {}

CHiScoreDlg::CHiScoreDlg(const GameEnd& end, QWidget* parent) : CHiScoreDlg(end, true, parent) {}

CHiScoreDlg::CHiScoreDlg(const GameEnd& end, bool gameEnded, QWidget* parent)
    : QDialog(parent), end_(end), gameEnded_(gameEnded) {
    //: Title of the high-score window.
    InitDialogWindow(this, tr("ハイスコア"));
    CHelpDlg::InstallKey(this);
    OnInitDialog();
}

bool CHiScoreDlg::Entry() const {
    return gameEnded_ && end_.row >= 0 && end_.row < kHighScoreRows;
}

CHiScoreDlg::~CHiScoreDlg() = default;

int32_t CHiScoreDlg::DoModal() {
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

QWidget* CHiScoreDlg::GetDlgItem(int id) const {
    if (id >= IDC_HS_RANK0 && id < IDC_HS_RANK0 + kHighScoreRows) {
        return rankLabel_[id - IDC_HS_RANK0];
    }
    if (id >= IDC_HS_NAME0 && id < IDC_HS_NAME0 + kHighScoreRows) {
        return const_cast<CStaticEx*>(&nameLabel_[id - IDC_HS_NAME0]);
    }
    if (id >= IDC_HS_SCORE0 && id < IDC_HS_SCORE0 + kHighScoreRows) {
        return const_cast<CStaticEx*>(&scoreLabel_[id - IDC_HS_SCORE0]);
    }
    switch (id) {
    case IDC_HS_FINAL_CAPTION:
        return finalCaption_;
    case IDC_HS_FINAL:
        return finalBox_;
    case IDC_HS_NAME_EDIT:
        return nameEdit_;
    case IDC_HS_OK:
        return okButton_;
    default:
        return nullptr;
    }
}

void CHiScoreDlg::OnInitDialog() {
    // The template, in dialog units of the dialog font.
    const DialogBaseUnits bu = BaseUnitsOf(font());
    const auto du = [&bu](int x, int y, int cx, int cy) { return MapDialogRect(bu, x, y, cx, cy); };
    //: Column heading of the high-score table.
    PlaceStatic(this, tr("名前"), Qt::AlignHCenter | Qt::AlignTop, du(30, 7, 70, 8));
    //: Column heading: the game's score, the mean points per problem.
    PlaceStatic(this, tr("スコア"), Qt::AlignHCenter | Qt::AlignTop, du(107, 7, 32, 8));
    for (int k = 0; k < kHighScoreRows; ++k) {
        //: A place in the high-score table: %1 the place.
        rankLabel_[k] = PlaceStatic(this, tr("%1：").arg(k + 1), Qt::AlignLeft | Qt::AlignTop,
                                    du(7, 13 + 15 * k, 10, 10));
    }
    finalCaption_ =
        //: Caption of the score of the game that just ended.
        PlaceStatic(this, tr("今回のスコア："), Qt::AlignLeft | Qt::AlignTop, du(20, 95, 42, 15));
    finalBox_ = PlaceStatic(this, QStringLiteral("0000"), Qt::AlignRight | Qt::AlignTop,
                            du(103, 83, 27, 13));
    finalBox_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    nameEdit_ = new QLineEdit(this);
    nameEdit_->installEventFilter(this);
    connect(nameEdit_, &QLineEdit::textChanged, this, &CHiScoreDlg::NoteTypedName);
    nameEdit_->setGeometry(du(63, 35, 40, 12));
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setGeometry(du(106, 127, 37, 16));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &CHiScoreDlg::accept);
    // The table was heard as the dialog opened; kept, a reader would put it in front of every
    // row's braille line, the row itself at the far end.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* from, QWidget* to) {
        if (from != nullptr && to != nullptr && isAncestorOf(from) && isAncestorOf(to) &&
            !accessibleDescription().isEmpty()) {
            setAccessibleDescription(QString());
        }
    });
    setFixedSize(du(0, 0, 155, 150).size());

    // Run-time positions are client pixels.
    // 15 x 10 pixels would cut the lower part of the dialog font's glyphs off.
    const int rankHeight = std::max(10, QFontMetrics(font()).height());
    for (int k = 0; k < kHighScoreRows; ++k) {
        rankLabel_[k]->setGeometry(10, 30 + 20 * k, 15, rankHeight);
        rankLabel_[k]->show();
    }
    fontA_ = MakeCellFont(kTableFontHeight, QString::fromUtf16(kTableFace));
    for (int k = 0; k < kHighScoreRows; ++k) {
        const QString text = QStringLiteral("lblHsName%1").arg(k);
        nameLabel_[k].setObjectName(text);
        nameLabel_[k].Create(text, SS_CENTERIMAGE, PixelRect{30, 30 + 20 * k, 185, 45 + 20 * k},
                             this, IDC_HS_NAME0 + k);
        nameLabel_[k].SetBackColor(kWhite);
        nameLabel_[k].setFont(fontA_);
        // The row takes the focus by Tab (the arrow keys go on from row to row), and a reader
        // hears the whole row there.
        nameLabel_[k].setFocusPolicy(Qt::TabFocus);
    }
    for (int k = 0; k < kHighScoreRows; ++k) {
        scoreLabel_[k].Create(QStringLiteral("9999"), SS_CENTERIMAGE | SS_RIGHT,
                              PixelRect{195, 30 + 20 * k, 240, 45 + 20 * k}, this,
                              IDC_HS_SCORE0 + k);
        scoreLabel_[k].SetBackColor(kWhite);
        scoreLabel_[k].setFont(fontA_);
        scoreLabel_[k].setAccessibleName(QString::fromStdString(HighScoreCellName(k, true)));
        // The row's name cell reads the whole row; a reader that met the score cell as loose
        // text would read each row again as the table opens, before the dialog's description.
        scoreLabel_[k].SetLabelledBy(&nameLabel_[k]);
    }
    fontB_ = MakeCellFont(kTableFontHeight, QString::fromUtf16(kTableFace));
    finalCaption_->move(120, 145);
    finalBox_->move(195, 140);
    finalBox_->setFont(fontB_);
    nameEdit_->setFont(fontA_);

    ApplyMode();
}

void CHiScoreDlg::FillTable() {
    const HighScoreTable& t = end_.table;
    for (int k = 0; k < kHighScoreRows; ++k) {
        const QString name = ShownName(t.name[k], t.fullName[k]);
        nameLabel_[k].SetWindowText(
            name, QString::fromStdString(HighScoreRowSpeech(k, name.toStdString(), t.score[k])));
        scoreLabel_[k].SetWindowText(QString::number(t.score[k]));
    }
}

void CHiScoreDlg::DescribeTable() {
    // Heard as the dialog opens, after its title: the final score and its row, and unless a
    // name is asked for, the whole table.
    std::string said;
    if (gameEnded_) {
        said = FinalScoreSpeech(end_.finalScore, Entry() ? end_.row : -1);
    }
    if (!Entry()) {
        for (const CStaticEx& label : nameLabel_) {
            said = JoinedSpeech(said, label.SpokenValue().toStdString());
        }
    }
    setAccessibleDescription(QString::fromStdString(said));
}

void CHiScoreDlg::ApplyMode() {
    FillTable();
    DescribeTable();
    const bool entry = Entry();
    if (entry) {
        nameEdit_->clear();
        NoteTypedName();
        nameEdit_->setGeometry(28, 28 + 20 * end_.row, 160, 18);
        nameEdit_->raise();
        nameEdit_->show();
        // The box stands in the new row's name cell and is named as that cell is.
        nameEdit_->setAccessibleName(QString::fromStdString(HighScoreCellName(end_.row, false)));
        nameLabel_[end_.row].hide();
    } else {
        nameEdit_->hide();
        for (CStaticEx& label : nameLabel_) {
            label.show();
        }
    }
    const bool showFinal = gameEnded_;
    if (showFinal) {
        finalBox_->setText(QString::number(end_.finalScore));
    }
    finalCaption_->setVisible(showFinal);
    finalBox_->setVisible(showFinal);
    //: Button: stores the typed name. Keep the letter D.
    const QString store = tr("確定(&D)");
    //: Button: closes the high-score table. Keep the letter C.
    okButton_->setText(entry ? store : tr("閉じる(&C)"));
    if (entry) {
        nameEdit_->setFocus();
    } else {
        okButton_->setFocus();
    }
}

QString CHiScoreDlg::TypedText() const {
    // A pasted line break would end the name's line in the settings file, a lone CR would
    // make the next start refuse the file, and a NUL would cut the name short when the file
    // is read back; the name ends there, as a single-line edit of the original platform ends
    // pasted text.
    QString text = nameEdit_->text();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n' || text[i] == u'\0') {
            text.truncate(i);
            break;
        }
    }
    return text;
}

void CHiScoreDlg::StoreEnteredName() {
    if (!Entry()) {
        return;
    }
    name_ = StoreName(TypedText());
}

void CHiScoreDlg::KeepTypedName(std::function<void(const StoredName&)> keep) {
    keepTyped_ = std::move(keep);
    NoteTypedName();
}

void CHiScoreDlg::NoteTypedName() {
    if (!keepTyped_ || !Entry()) {
        return;
    }
    // The box as the player sees it, an open conversion included at its place.
    QString text = TypedText();
    if (!preedit_.isEmpty()) {
        text.insert(std::min(nameEdit_->cursorPosition(), static_cast<int>(text.size())), preedit_);
    }
    keepTyped_(StoreName(text));
}

bool CHiScoreDlg::eventFilter(QObject* watched, QEvent* e) {
    if (watched == nameEdit_ && e->type() == QEvent::InputMethod) {
        preedit_ = static_cast<QInputMethodEvent*>(e)->preeditString();
        // A commit string reaches the text later, and is noted as the text changes.
        NoteTypedName();
    }
    return QDialog::eventFilter(watched, e);
}

void CHiScoreDlg::keyPressEvent(QKeyEvent* e) {
    // Up and Down go from row to row, past the row under the name box.
    const int step = e->key() == Qt::Key_Up ? -1 : (e->key() == Qt::Key_Down ? 1 : 0);
    int from = -1;
    for (int k = 0; k < kHighScoreRows; ++k) {
        if (nameLabel_[k].hasFocus()) {
            from = k;
        }
    }
    if (step == 0 || from < 0 || e->modifiers() != Qt::NoModifier) {
        QDialog::keyPressEvent(e);
        return;
    }
    e->accept();
    for (int k = from + step; k >= 0 && k < kHighScoreRows; k += step) {
        if (nameLabel_[k].isVisible()) {
            nameLabel_[k].setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void CHiScoreDlg::CommitComposition() {
    QGuiApplication::inputMethod()->commit();
    // Without an input method that answers (or with one whose focus went elsewhere), the
    // composition still stands in the edit; it is committed as the player sees it.
    if (!preedit_.isEmpty()) {
        QInputMethodEvent commit;
        commit.setCommitString(preedit_);
        QCoreApplication::sendEvent(nameEdit_, &commit);
    }
}

void CHiScoreDlg::accept() {
    // Alt+D or Enter may come while a conversion is still open: the name is what stood in
    // the box.
    CommitComposition();
    if (Entry() && !NameCanBeKept(TypedText())) {
        ShowMessageBox(
            this,
            //: Message box: the typed name holds a character that cannot be saved.
            tr("名前に保存できない文字が含まれています。名前を直してください。").toStdString(),
            //: Title of the message box about the typed name.
            tr("ハイスコア").toStdString(), MB_OK | MB_ICONEXCLAMATION);
        nameEdit_->setFocus();
        return;
    }
    StoreEnteredName();
    QDialog::accept();
}

} // namespace vostrel
