#include "ui/CStatsDlg.h"

#include "app/WinConstants.h"
#include "ui/CHelpDlg.h"
#include "ui/looks/StatsChart.h"
#include "ui/platform/DialogTemplate.h"
#include "ui/platform/MessageBoxes.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vostrel {

namespace {

// The figures, one a row of the table.
struct FigureRow {
    const char* text;
    QString (*value)(const HistoryTotals& t);
};

QString Count(int64_t n) {
    return QString::number(n);
}

const FigureRow kRows[] = {
    //: Row of the statistics table.
    {QT_TRANSLATE_NOOP("vostrel::CStatsDlg", "遊んだゲーム"),
     [](const HistoryTotals& t) { return Count(t.played); }},
    //: Row of the statistics table: games played to their last problem.
    {QT_TRANSLATE_NOOP("vostrel::CStatsDlg", "最後まで遊んだゲーム"),
     [](const HistoryTotals& t) { return Count(t.finished); }},
    //: Row of the statistics table: the mean final score.
    {QT_TRANSLATE_NOOP("vostrel::CStatsDlg", "平均スコア"),
     [](const HistoryTotals& t) {
         return t.finished > 0 ? QString::number(MeanScore(t), 'f', 1) : QStringLiteral("-");
     }},
    //: Row of the statistics table: the best final score.
    {QT_TRANSLATE_NOOP("vostrel::CStatsDlg", "最高スコア"),
     [](const HistoryTotals& t) { return t.finished > 0 ? Count(t.best) : QStringLiteral("-"); }},
    //: Row of the statistics table: the most problems made 10 one after another.
    {QT_TRANSLATE_NOOP("vostrel::CStatsDlg", "10 を作った最長連続"),
     [](const HistoryTotals& t) { return Count(t.longestRun); }},
    //: Row of the statistics table.
    {QT_TRANSLATE_NOOP("vostrel::CStatsDlg", "10 を作った問題"),
     [](const HistoryTotals& t) { return Count(t.madeTen); }},
    //: Row of the statistics table: problems graded with a result other than 10.
    {QT_TRANSLATE_NOOP("vostrel::CStatsDlg", "ほかの結果の問題"),
     [](const HistoryTotals& t) { return Count(t.other); }},
    //: Row of the statistics table.
    {QT_TRANSLATE_NOOP("vostrel::CStatsDlg", "ヒントの数"),
     [](const HistoryTotals& t) { return Count(t.hints); }},
};

QString BandName(int band) {
    if (band == 0) {
        //: Row of the statistics table: problems that scored 0 points or less.
        return CStatsDlg::tr("得点 0 以下の問題");
    }
    if (band == kPointBands - 1) {
        //: Row of the statistics table: problems that scored %1 points or more.
        return CStatsDlg::tr("得点 %1 以上の問題").arg(BandFloor(band));
    }
    //: Row of the statistics table: problems that scored %1 to %2 points.
    return CStatsDlg::tr("得点 %1〜%2 の問題").arg(BandFloor(band)).arg(BandFloor(band + 1) - 1);
}

} // namespace

CStatsDlg::CStatsDlg(const HistoryFigures& figures, const std::string& problem, int64_t skipped,
                     ClearFn clear, QWidget* parent)
    : QDialog(parent), clear_(std::move(clear)) {
    //: Title of the statistics window.
    InitDialogWindow(this, tr("成績"));
    CHelpDlg::InstallKey(this);
    auto* layout = new QVBoxLayout(this);
    QString said = QString::fromStdString(problem);
    if (skipped > 0) {
        //: The statistics window when lines of the record could not be read: %1 how many.
        said += (said.isEmpty() ? QString() : QStringLiteral("\n")) +
                tr("成績ファイルの読めなかった行（飛ばしました）: %1").arg(skipped);
    }
    problem_ = MakeStatic(this, said, Qt::AlignLeft | Qt::AlignTop);
    problem_->setWordWrap(true);
    problem_->setVisible(!said.isEmpty());
    layout->addWidget(problem_);

    chart_ = new StatsChart(this);
    layout->addWidget(chart_, 1);
    //: Heading of the table of figures.
    auto* tableLabel = new QLabel(tr("数字で見る成績(&T):"), this);
    layout->addWidget(tableLabel);
    table_ = new QTableWidget(this);
    tableLabel->setBuddy(table_);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectItems);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setTabKeyNavigation(false);
    table_->setAccessibleName(tr("成績の表"));
    layout->addWidget(table_, 1);

    auto* buttons = new QDialogButtonBox(this);
    //: Button of the statistics window; asks first.
    clearButton_ = buttons->addButton(tr("成績を消去(&C)..."), QDialogButtonBox::ResetRole);
    //: Button closing the statistics window.
    QPushButton* close = buttons->addButton(tr("閉じる"), QDialogButtonBox::RejectRole);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(clearButton_, &QPushButton::clicked, this, &CStatsDlg::AskClear);
    layout->addWidget(buttons);
    Fill(figures);
    table_->setFocus();
    resize(sizeHint().expandedTo(QSize(fontMetrics().height() * 38, fontMetrics().height() * 34)));
}

QString CStatsDlg::SetName(const SettingsSet& set) {
    //: A settings set in the statistics table's heading: %1 the problem count.
    QString name = tr("%1 問").arg(set.problems);
    size_t k = 0;
    for (const SettingDef& d : SettingsTable()) {
        if (d.kind != SettingKind::Switch || k >= set.switches.size()) {
            continue;
        }
        if (set.switches[k++] == '1') {
            // The check box's text without its access letter.
            QString label = QCoreApplication::translate(kSettingLabelContext, d.label);
            label.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&")));
            name += QStringLiteral("\n") + label;
        }
    }
    return name;
}

void CStatsDlg::Fill(const HistoryFigures& f) {
    const int rows = static_cast<int>(std::size(kRows)) + kPointBands;
    const int cols = 1 + static_cast<int>(f.sets.size());
    table_->clear();
    table_->setRowCount(rows);
    table_->setColumnCount(cols);
    QStringList heads;
    //: Column of the statistics table: every game.
    heads << tr("すべて");
    for (size_t i = 0; i < f.sets.size(); ++i) {
        heads << SetName(f.sets[i].set);
    }
    table_->setHorizontalHeaderLabels(heads);
    QStringList rowNames;
    for (const FigureRow& r : kRows) {
        rowNames << QCoreApplication::translate("vostrel::CStatsDlg", r.text);
    }
    for (int b = 0; b < kPointBands; ++b) {
        rowNames << BandName(b);
    }
    table_->setVerticalHeaderLabels(rowNames);
    for (int c = 0; c < cols; ++c) {
        const HistoryTotals& t = c == 0 ? f.all : f.sets[static_cast<size_t>(c - 1)].totals;
        for (int r = 0; r < rows; ++r) {
            const int nRows = static_cast<int>(std::size(kRows));
            const QString v =
                r < nRows ? kRows[r].value(t) : Count(t.bands[static_cast<size_t>(r - nRows)]);
            auto* item = new QTableWidgetItem(v);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();
    table_->resizeRowsToContents();
    table_->setCurrentCell(0, 0);

    // The recent games are of any set: the picture's mean and spread are of every game too.
    chart_->SetFigures(f.all, f.recentScores);
    QStringList scores;
    for (const int32_t s : f.recentScores) {
        scores << QString::number(s);
    }
    chart_->setAccessibleName(tr("成績のグラフ"));
    //: What a screen reader says of the picture: %1 the recent final scores, %2 the mean.
    chart_->setAccessibleDescription(
        tr("最近のスコア: %1。平均 %2。問題ごとの得点は表にあります。")
            .arg(scores.isEmpty() ? QStringLiteral("-") : scores.join(QStringLiteral(", ")))
            .arg(MeanScore(f.all), 0, 'f', 1));
}

void CStatsDlg::AskClear() {
    //: Question before the statistics are cleared.
    if (ShowMessageBox(this, tr("成績をすべて消去しますか。元に戻せません。").toStdString(),
                       //: Title of that question.
                       tr("成績の消去").toStdString(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    if (const std::optional<std::string> failure = clear_ ? clear_() : std::nullopt) {
        ShowMessageBox(this, *failure, tr("成績の消去").toStdString(), MB_OK | MB_ICONERROR);
        return;
    }
    problem_->hide();
    Fill(HistoryFigures{});
}

} // namespace vostrel
