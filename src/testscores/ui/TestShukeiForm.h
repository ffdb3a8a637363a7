#pragma once

#include "platform/Platform.h"
#include "testscores/TestAggregation.h"

#include <QDialog>

class QChartView;
class QLabel;
class QPushButton;
class QTabBar;
class QTabWidget;

namespace tavro {

class FrozenTableView;
class PrintTarget;
class ShukeiGridModel;

// "一覧と印刷" of a test: the whole grade's scores with standard scores and ranks ("得点一覧"), the
// class means as charts ("グラフ") and the copies. Run it with exec().
class TTestShukeiForm : public QDialog {
    Q_OBJECT

public:
    struct Inputs {
        QString mainCaption;
        bool noKanten = false; // the no-viewpoint flag
        int nendo = 0;
        QString gakunen;
        QString testCode;
        QString testName;
        QString dataFolder;
        bool classType = true;
    };

    TTestShukeiForm(const Platform &platform, const Inputs &inputs, QWidget *parent = nullptr);
    ~TTestShukeiForm() override;

    const TestAggregation &aggregation() const { return m_aggregation; }

    // "コピー" menu entries.
    void copyGridClick();
    void copyViewpointsClick();
    void copyMeansClick();
    // The bar chart of chart tab `index` ("合計" then the 11 subjects).
    void chartTabClick(int index);
    // Class tab `index`: the class's first row at the top, selected.
    void classTabClick(int index);
    // "印刷": the print window over this aggregation; it prints on `setPrintTarget`'s target or
    // through the print dialog.
    void printClick();
    void setPrintTarget(PrintTarget *target) { m_printTarget = target; }
    // The notices print grade means (the SSorAVG setting of the test kind is 1).
    bool noticesWithMeans() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildGridPage();
    QWidget *buildChartPage();
    void applySizes();
    void gridCurrentChanged();
    void putOnClipboard(const QString &text);

    Platform m_platform;
    Inputs m_inputs;
    TestAggregation m_aggregation;
    bool m_shown = false;
    PrintTarget *m_printTarget = nullptr;

    QTabWidget *m_pages = nullptr;
    QLabel *m_mantenLabel = nullptr;
    FrozenTableView *m_grid = nullptr;
    ShukeiGridModel *m_model = nullptr;
    QTabBar *m_classTabs = nullptr;
    QTabBar *m_chartTabs = nullptr;
    QChartView *m_chart = nullptr;
    QPushButton *m_copyButton = nullptr;
};

} // namespace tavro
