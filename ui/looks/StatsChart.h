#pragma once
// The picture of the player's record: the final scores of the recent games in order with the
// mean of them all as a dashed line, and beside it how the points per problem are spread over
// the bands of points. Colours are taken from the palette so that light, dark and high-contrast
// themes each read; the two series differ by shape (dots, dashes, bars) as well as by colour.

#include "app/GameHistory.h"

#include <QWidget>

namespace vostrel {

class StatsChart : public QWidget {
    Q_OBJECT
public:
    explicit StatsChart(QWidget* parent = nullptr);

    // totals: the set whose figures are drawn; scores: its recent final scores, oldest first.
    void SetFigures(const HistoryTotals& totals, std::vector<int32_t> scores);
    QSize sizeHint() const override;

    // The series' colours on a background: the scores, the mean, the bars.
    struct Colors {
        QColor scores;
        QColor mean;
        QColor bars;
    };
    static Colors ColorsOn(const QColor& background, const QColor& text);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void DrawScores(QPainter& p, const QRect& r, const Colors& c);
    void DrawSpread(QPainter& p, const QRect& r, const Colors& c);

    HistoryTotals totals_;
    std::vector<int32_t> scores_;
};

} // namespace vostrel
