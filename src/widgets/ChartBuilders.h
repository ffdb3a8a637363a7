#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <vector>

class QChartView;

// The charts of the windows: pies and (horizontal) bar charts from labelled, coloured values.
namespace tavro::charts {

struct Point {
    QString label;
    double value = 0;
    QColor color;
};

// A chart view without margins, antialiased, with an empty chart.
QChartView *newChartView(const QString &objectName);
// Replaces the chart's content with a pie of `points`, each slice labelled "label value".
void showPie(QChartView *view, const QString &title, const std::vector<Point> &points);
// Replaces the chart's content with one bar per point, category axis from the labels.
void showBars(QChartView *view, const QString &title, const std::vector<Point> &points, bool horizontal);
// Vertical bars, each in its point's own colour and marked with its value.
void showColouredBars(QChartView *view, const QString &title, const std::vector<Point> &points);

// One series of grouped bars.
struct BarSet {
    QString name;
    QColor color;
    std::vector<double> values; // one per category
};
// Replaces the chart's content with grouped bars: per category one bar of each set, labelled with
// its value and `labelSuffix`; the legend names the sets.
void showGroupedBars(QChartView *view, const QString &title, const QStringList &categories,
                     const std::vector<BarSet> &sets, const QString &labelSuffix, bool horizontal);
// Replaces the chart's content with a histogram: one bar per value 0..`range` with its count.
void showHistogram(QChartView *view, const QString &title, const std::vector<int> &counts, int range,
                   const QColor &color, const QString &valueTitle, const QString &countTitle);

} // namespace tavro::charts
