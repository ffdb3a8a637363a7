#pragma once

#include <QColor>
#include <QString>

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

} // namespace tavro::charts
