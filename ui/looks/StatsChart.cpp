#include "ui/looks/StatsChart.h"

#include "ui/looks/Contrast.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace vostrel {

namespace {

// Okabe and Ito's colours, told apart with any colour vision: blue, vermilion, bluish green.
const QColor kBlue(0x00, 0x72, 0xB2);
const QColor kVermilion(0xD5, 0x5E, 0x00);
const QColor kGreen(0x00, 0x9E, 0x73);

// A scale of about five steps of 1, 2 or 5 times a power of ten over [lo, hi].
double NiceStep(double span) {
    const double raw = std::max(span, 1.0) / 5.0;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0}) {
        if (raw <= m * mag) {
            return m * mag;
        }
    }
    return 10.0 * mag;
}

} // namespace

StatsChart::StatsChart(QWidget* parent) : QWidget(parent) {
    setMinimumSize(320, 180);
}

QSize StatsChart::sizeHint() const {
    const int em = fontMetrics().height();
    return {em * 36, em * 13};
}

void StatsChart::SetFigures(const HistoryTotals& totals, std::vector<int32_t> scores) {
    totals_ = totals;
    scores_ = std::move(scores);
    update();
}

StatsChart::Colors StatsChart::ColorsOn(const QColor& background, const QColor& text) {
    // High contrast leaves only the text colour readable; the shapes still tell the series.
    if (ContrastRatio(background, text) >= 15.0 &&
        ContrastRatio(MarkColor(kBlue, {background}), background) < kMarkContrast) {
        return {text, text, text};
    }
    return {MarkColor(kBlue, {background}), MarkColor(kVermilion, {background}),
            MarkColor(kGreen, {background})};
}

void StatsChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor back = palette().color(QPalette::Base);
    const QColor text = palette().color(QPalette::Text);
    p.fillRect(rect(), back);
    p.setPen(text);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const Colors c = ColorsOn(back, text);
    const int gap = fontMetrics().height();
    const int left = width() * 3 / 5;
    DrawScores(p, QRect(0, 0, left, height()).adjusted(gap / 2, gap / 2, -gap / 2, -gap / 2), c);
    DrawSpread(
        p, QRect(left, 0, width() - left, height()).adjusted(gap / 2, gap / 2, -gap / 2, -gap / 2),
        c);
}

void StatsChart::DrawScores(QPainter& p, const QRect& r, const Colors& c) {
    const QFontMetrics fm = fontMetrics();
    const QColor text = palette().color(QPalette::Text);
    p.setPen(text);
    //: Heading of the picture of the recent games' final scores.
    p.drawText(r.left(), r.top() + fm.ascent(), tr("最近のスコア"));
    const int legendY = r.top() + fm.height() + fm.ascent();
    const double mean = MeanScore(totals_);
    // The legend: a dot for a game, a dashed line for the mean.
    const int unit = fm.height();
    p.setBrush(c.scores);
    p.setPen(QPen(c.scores, 1));
    p.drawEllipse(QPointF(r.left() + unit / 2.0, legendY - fm.ascent() / 2.0), unit / 5.0,
                  unit / 5.0);
    p.setPen(text);
    //: Legend of the picture: the dots are games' final scores.
    const QString games = tr("ゲーム");
    p.drawText(r.left() + unit, legendY, games);
    const int meanX = r.left() + unit * 2 + fm.horizontalAdvance(games);
    p.setPen(QPen(c.mean, std::max(2.0, unit / 8.0), Qt::DashLine));
    p.drawLine(meanX, legendY - fm.ascent() / 2, meanX + unit, legendY - fm.ascent() / 2);
    p.setPen(text);
    //: Legend of the picture: the dashed line is the mean final score; %1 its value.
    p.drawText(meanX + unit + unit / 3, legendY, tr("平均 %1").arg(mean, 0, 'f', 1));

    const int axisW = fm.horizontalAdvance(QStringLiteral("-00000")) + unit / 3;
    const QRect plot(r.left() + axisW, r.top() + fm.height() * 2 + unit / 2, r.width() - axisW,
                     r.height() - fm.height() * 2 - unit / 2);
    if (scores_.empty() || plot.height() < unit || plot.width() < unit) {
        //: The picture before any finished game.
        p.drawText(plot, Qt::AlignCenter | Qt::TextWordWrap, tr("まだ記録がありません"));
        return;
    }
    double lo = std::min(0.0, mean);
    double hi = std::max(mean, 1.0);
    for (const int32_t s : scores_) {
        lo = std::min<double>(lo, s);
        hi = std::max<double>(hi, s);
    }
    const double step = NiceStep(hi - lo);
    lo = std::floor(lo / step) * step;
    hi = std::ceil(hi / step) * step;
    const auto yOf = [&](double v) { return plot.bottom() - (v - lo) / (hi - lo) * plot.height(); };
    const QColor grid =
        MarkColor(palette().color(QPalette::Mid), {palette().color(QPalette::Base)});
    for (double v = lo; v <= hi + step / 2; v += step) {
        const double y = yOf(v);
        p.setPen(QPen(grid, 1, Qt::DotLine));
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        p.setPen(text);
        p.drawText(QRectF(r.left(), y - fm.height() / 2.0, axisW - unit / 4.0, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(v, 'f', 0));
    }
    const size_t n = scores_.size();
    const auto xOf = [&](size_t i) {
        return n == 1 ? plot.center().x()
                      : plot.left() + unit / 2.0 +
                            (plot.width() - unit) * static_cast<double>(i) / (n - 1);
    };
    QPainterPath line;
    for (size_t i = 0; i < n; ++i) {
        const QPointF pt(xOf(i), yOf(scores_[i]));
        i == 0 ? line.moveTo(pt) : line.lineTo(pt);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(c.scores, std::max(1.0, unit / 12.0)));
    p.drawPath(line);
    p.setBrush(c.scores);
    const double dot = std::max(2.0, unit / (n > 60 ? 8.0 : 5.0));
    for (size_t i = 0; i < n; ++i) {
        p.drawEllipse(QPointF(xOf(i), yOf(scores_[i])), dot, dot);
    }
    p.setPen(QPen(c.mean, std::max(2.0, unit / 8.0), Qt::DashLine));
    p.drawLine(QPointF(plot.left(), yOf(mean)), QPointF(plot.right(), yOf(mean)));
}

void StatsChart::DrawSpread(QPainter& p, const QRect& r, const Colors& c) {
    const QFontMetrics fm = fontMetrics();
    const QColor text = palette().color(QPalette::Text);
    p.setPen(text);
    //: Heading of the picture of how many problems scored in each band of points.
    p.drawText(r.left(), r.top() + fm.ascent(), tr("問題ごとの得点"));
    const int unit = fm.height();
    const QRect plot(r.left(), r.top() + fm.height() * 2, r.width(),
                     r.height() - fm.height() * 3 - unit / 4);
    int64_t most = 0;
    for (const int64_t b : totals_.bands) {
        most = std::max(most, b);
    }
    if (most == 0 || plot.height() < unit) {
        p.drawText(plot, Qt::AlignCenter | Qt::TextWordWrap, tr("まだ記録がありません"));
        return;
    }
    const double w = static_cast<double>(plot.width()) / kPointBands;
    p.setPen(QPen(text, 1));
    p.setBrush(c.bars);
    for (int i = 0; i < kPointBands; ++i) {
        const double h =
            static_cast<double>(totals_.bands[static_cast<size_t>(i)]) / most * plot.height();
        if (h > 0) {
            p.drawRect(QRectF(plot.left() + i * w + w * 0.1, plot.bottom() - h, w * 0.8, h));
        }
    }
    p.setPen(text);
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    // The ends of the axis: up to 0 at the left, the open band's floor at the right.
    const int y = plot.bottom() + unit / 4 + fm.ascent();
    p.drawText(plot.left(), y, QStringLiteral("≤0"));
    const QString last = QStringLiteral("%1+").arg(BandFloor(kPointBands - 1));
    p.drawText(plot.right() - fm.horizontalAdvance(last), y, last);
    //: The axis of the points picture, between its ends.
    const QString axis = tr("得点");
    p.drawText(plot.center().x() - fm.horizontalAdvance(axis) / 2, y, axis);
}

} // namespace vostrel
