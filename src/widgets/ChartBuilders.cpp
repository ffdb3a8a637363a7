#include "widgets/ChartBuilders.h"

#include "common/NumberText.h"
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
    return numbertext::general(value, 4, false);
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

void showGroupedBars(QChartView *view, const QString &title, const QStringList &categories,
                     const std::vector<BarSet> &sets, const QString &labelSuffix, bool horizontal) {
    QChart *chart = freshChart(view, title);
    QAbstractBarSeries *series = horizontal ? static_cast<QAbstractBarSeries *>(new QHorizontalBarSeries)
                                            : static_cast<QAbstractBarSeries *>(new QBarSeries);
    double top = 0;
    for (const BarSet &s : sets) {
        auto *set = new QBarSet(s.name);
        for (double v : s.values) {
            *set << v;
            top = std::max(top, v);
        }
        set->setColor(s.color);
        set->setBorderColor(s.color.darker(140));
        set->setLabelColor(Qt::black);
        set->setLabelFont(ui::uiFont(8));
        series->append(set);
    }
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsFormat(QStringLiteral("@value") + labelSuffix);
    series->setLabelsPrecision(6);
    chart->addSeries(series);
    chart->legend()->setVisible(true);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(ui::uiFont(9));

    auto *categoryAxis = new QBarCategoryAxis;
    categoryAxis->append(categories);
    categoryAxis->setLabelsFont(ui::uiFont(9));
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

void showHistogram(QChartView *view, const QString &title, const std::vector<int> &counts, int range,
                   const QColor &color, const QString &valueTitle, const QString &countTitle) {
    QChart *chart = freshChart(view, title);
    auto *set = new QBarSet(title);
    int top = 0;
    for (int s = 0; s <= range; ++s) {
        const int n = s < int(counts.size()) ? counts[std::size_t(s)] : 0;
        *set << n;
        top = std::max(top, n);
    }
    set->setColor(color);
    set->setBorderColor(color.darker(150));
    auto *series = new QBarSeries;
    series->append(set);
    series->setBarWidth(range > 100 ? 1.0 : 0.8);
    chart->addSeries(series);

    // Bars stand at 0..range on a value axis, so the score axis can be labelled in steps.
    auto *valueAxis = new QValueAxis;
    valueAxis->setRange(-0.5, range + 0.5);
    valueAxis->setTickType(QValueAxis::TicksDynamic);
    valueAxis->setTickAnchor(0);
    valueAxis->setTickInterval(range <= 25 ? 1 : range <= 50 ? 5 : range <= 200 ? 10 : 50);
    valueAxis->setLabelFormat(QStringLiteral("%d"));
    valueAxis->setLabelsFont(ui::uiFont(8));
    valueAxis->setTitleText(valueTitle);
    valueAxis->setTitleFont(ui::uiFont(9));
    valueAxis->setGridLineVisible(false);
    auto *countAxis = new QValueAxis;
    countAxis->setRange(0, std::max(top + 1, 5));
    countAxis->setTickType(QValueAxis::TicksDynamic);
    countAxis->setTickAnchor(0);
    countAxis->setTickInterval(std::max(1, (top + 1 + 9) / 10));
    countAxis->setLabelFormat(QStringLiteral("%d"));
    countAxis->setLabelsFont(ui::uiFont(8));
    countAxis->setTitleText(countTitle);
    countAxis->setTitleFont(ui::uiFont(9));
    chart->addAxis(valueAxis, Qt::AlignBottom);
    chart->addAxis(countAxis, Qt::AlignLeft);
    series->attachAxis(valueAxis);
    series->attachAxis(countAxis);
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
