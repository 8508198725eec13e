#pragma once
// The player's own record: the figures of every game and of each settings set (the current
// one first) as a table a screen reader walks, the picture of them, and a way to clear them.

#include "app/GameHistory.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QLabel;
class QPushButton;
class QTableWidget;

namespace vostrel {

class StatsChart;

class CStatsDlg : public QDialog {
    Q_OBJECT
public:
    // Empties the record; a failure's text.
    using ClearFn = std::function<std::optional<std::string>()>;

    // problem: why the record could not be read, or empty; skipped: its lines not read.
    CStatsDlg(const HistoryFigures& figures, const std::string& problem, int64_t skipped,
              ClearFn clear, QWidget* parent = nullptr);

    QTableWidget* Table() const { return table_; }
    StatsChart* Chart() const { return chart_; }
    QPushButton* ClearButton() const { return clearButton_; }

    // The name of a settings set as the table's heading shows it.
    static QString SetName(const SettingsSet& set);

private:
    void Fill(const HistoryFigures& figures);
    void AskClear();

    ClearFn clear_;
    QLabel* problem_ = nullptr;
    StatsChart* chart_ = nullptr;
    QTableWidget* table_ = nullptr;
    QPushButton* clearButton_ = nullptr;
};

} // namespace vostrel
