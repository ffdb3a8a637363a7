#include "widgets/ChartBuilders.h"

#include "widgets/UiFont.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHorizontalBarSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>

namespace tavro::charts {

namespace {

QChart *freshChart(QChartView *view, const QString &title) {
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(ui::uiFont(10, true));
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    chart->legend()->hide();
    QChart *old = view->chart();
    view->setChart(chart);
    delete old;
    return chart;
}

QString number(double value) {
    return QString::number(value, 'g', 4);
}

} // namespace

QChartView *newChartView(const QString &objectName) {
    auto *view = new QChartView;
    view->setObjectName(objectName);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(200, 160);
    return view;
}

void showPie(QChartView *view, const QString &title, const std::vector<Point> &points) {
    QChart *chart = freshChart(view, title);
    auto *series = new QPieSeries;
    for (const Point &p : points) {
        QPieSlice *slice = series->append(p.label + QLatin1Char(' ') + number(p.value), p.value);
        slice->setLabelVisible(true);
        slice->setLabelFont(ui::uiFont(8));
        if (p.color.isValid())
            slice->setBrush(p.color);
        slice->setBorderColor(QColor(96, 96, 96));
    }
    series->setPieSize(0.6);
    chart->addSeries(series);
}

void showBars(QChartView *view, const QString &title, const std::vector<Point> &points, bool horizontal) {
    QChart *chart = freshChart(view, title);
    if (points.empty())
        return;
    auto *set = new QBarSet(title);
    QStringList categories;
    double top = 0;
    for (const Point &p : points) {
        *set << p.value;
        categories << p.label;
        top = std::max(top, p.value);
    }
    set->setColor(points.front().color.isValid() ? points.front().color : QColor(96, 144, 208));
    set->setLabelColor(Qt::black);
    QAbstractBarSeries *series = horizontal ? static_cast<QAbstractBarSeries *>(new QHorizontalBarSeries)
                                            : static_cast<QAbstractBarSeries *>(new QBarSeries);
    series->append(set);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsPrecision(4);
    chart->addSeries(series);

    auto *categoryAxis = new QBarCategoryAxis;
    categoryAxis->append(categories);
    categoryAxis->setLabelsFont(ui::uiFont(8));
    auto *valueAxis = new QValueAxis;
    valueAxis->setRange(0, top > 0 ? top * 1.15 : 1);
    valueAxis->applyNiceNumbers();
    valueAxis->setLabelFormat(QStringLiteral("%g"));
    valueAxis->setLabelsFont(ui::uiFont(8));
    chart->addAxis(categoryAxis, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    chart->addAxis(valueAxis, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(categoryAxis);
    series->attachAxis(valueAxis);
}

void showColouredBars(QChartView *view, const QString &title, const std::vector<Point> &points) {
    QChart *chart = freshChart(view, title);
    if (points.empty())
        return;
    // One set per bar, holding its value in its own category only, so each bar keeps its colour.
    auto *series = new QStackedBarSeries;
    QStringList categories;
    double top = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        auto *set = new QBarSet(points[i].label);
        for (std::size_t j = 0; j < points.size(); ++j)
            *set << (i == j ? points[i].value : 0.0);
        if (points[i].color.isValid())
            set->setColor(points[i].color);
        set->setLabelColor(Qt::black);
        set->setLabelFont(ui::uiFont(8));
        series->append(set);
        categories << points[i].label;
        top = std::max(top, points[i].value);
    }
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsInsideEnd);
    series->setLabelsPrecision(4);
    series->setBarWidth(0.6);
    chart->addSeries(series);
    auto *categoryAxis = new QBarCategoryAxis;
    categoryAxis->append(categories);
    categoryAxis->setLabelsFont(ui::uiFont(9));
    auto *valueAxis = new QValueAxis;
    valueAxis->setRange(0, top > 0 ? top * 1.1 : 1);
    valueAxis->applyNiceNumbers();
    valueAxis->setLabelFormat(QStringLiteral("%g"));
    valueAxis->setLabelsFont(ui::uiFont(8));
    chart->addAxis(categoryAxis, Qt::AlignBottom);
    chart->addAxis(valueAxis, Qt::AlignLeft);
    series->attachAxis(categoryAxis);
    series->attachAxis(valueAxis);
}

} // namespace tavro::charts
