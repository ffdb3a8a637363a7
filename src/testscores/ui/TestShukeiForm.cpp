#include "testscores/ui/TestShukeiForm.h"

#include "config/YearSettings.h"
#include "platform/Clipboard.h"
#include "platform/Prompter.h"
#include "testscores/ui/TPrintTest1Form.h"
#include "widgets/ChartBuilders.h"
#include "widgets/FrozenTableView.h"
#include "widgets/GridDelegate.h"
#include "widgets/UiFont.h"

#include <QAbstractTableModel>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tavro {

using namespace shukei;

namespace {

const QColor kTotalColumns(192, 255, 192);
const QColor kRankColumns(255, 255, 192);
const QColor kStandardScoreText(Qt::red);
const QColor kFiveRowLine(Qt::lightGray); // silver
constexpr int kFixedColumns = 3;
constexpr int kShownColumns = 25; // columns 25..27 are empty; they stay in the copy

QColor barColour(int i) {
    static const QColor colours[] = {{0x4e, 0x79, 0xa7}, {0xf2, 0x8e, 0x2b}, {0xe1, 0x57, 0x59},
                                     {0x76, 0xb7, 0xb2}, {0x59, 0xa1, 0x4f}, {0xed, 0xc9, 0x48},
                                     {0xb0, 0x7a, 0xa1}, {0xff, 0x9d, 0xa7}, {0x9c, 0x75, 0x5f},
                                     {0xba, 0xb0, 0xac}, {0x3b, 0x5b, 0x92}, {0x8c, 0xd1, 0x7d}};
    return colours[i % 12];
}

} // namespace

// The 28 columns of the aggregation's grid; model row i is grid row i + 1 (the header is the view's).
class ShukeiGridModel final : public QAbstractTableModel {
public:
    ShukeiGridModel(const TestAggregation &aggregation, QColor buttonFace, QObject *parent)
        : QAbstractTableModel(parent), m_a(aggregation), m_buttonFace(buttonFace) {}

    int rowCount(const QModelIndex &parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : m_a.gridRows() - 1;
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : kGridColumns;
    }
    QVariant data(const QModelIndex &index, int role) const override {
        if (!index.isValid())
            return {};
        const int c = index.column();
        switch (role) {
        case Qt::DisplayRole:
            return m_a.gridText(index.row() + 1, c);
        case Qt::TextAlignmentRole:
            return int(c < kFixedColumns ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
        case Qt::BackgroundRole:
            if (c < kFixedColumns)
                return m_buttonFace;
            if (c == 13 || c == 14)
                return kTotalColumns;
            if (c == 23 || c == 24)
                return kRankColumns;
            return {};
        case Qt::ForegroundRole:
            return TestAggregation::isStandardScoreColumn(c) ? kStandardScoreText : QColor(Qt::black);
        default:
            return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal)
            return {};
        if (role == Qt::DisplayRole)
            return TestAggregation::gridHeader(section);
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override {
        if (!index.isValid() || index.column() < kFixedColumns)
            return Qt::ItemNeverHasChildren;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    }

private:
    const TestAggregation &m_a;
    QColor m_buttonFace;
};

namespace {

// The silver line above every five students and the black frame of the current cell.
class ShukeiGridDelegate final : public GridDelegate {
public:
    using GridDelegate::GridDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyleOptionViewItem opt = option;
        opt.state &= ~QStyle::State_HasFocus;
        GridDelegate::paint(painter, opt, index);
        painter->save();
        if (index.column() >= kFixedColumns && index.row() >= 1 && index.row() % 5 == 0) {
            painter->setPen(kFiveRowLine);
            painter->drawLine(option.rect.topLeft(), option.rect.topRight());
        }
        const auto *view = qobject_cast<const QAbstractItemView *>(option.widget);
        if (view && view->currentIndex() == index) {
            painter->setPen(QPen(Qt::black, 1));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }
};

} // namespace

TTestShukeiForm::TTestShukeiForm(const Platform &platform, const Inputs &inputs, QWidget *parent)
    : QDialog(parent), m_platform(platform), m_inputs(inputs) {
    setObjectName(QStringLiteral("TestShukeiForm"));
    setWindowTitle(inputs.mainCaption + QStringLiteral(" - ") + QString::number(inputs.nendo) +
                   QStringLiteral("年度 ") + inputs.gakunen + QStringLiteral("年生 ") + inputs.testName);
    setFont(ui::uiFont(9));

    TestAggregation::Context context;
    context.nendo = inputs.nendo;
    context.grade = inputs.gakunen.toInt();
    context.testCode = inputs.testCode;
    context.testName = inputs.testName;
    context.classType = inputs.classType;
    m_aggregation = TestAggregation::load(inputs.dataFolder, context);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    auto *top = new QHBoxLayout;
    m_mantenLabel = new QLabel(m_aggregation.fullScoreLabel());
    m_mantenLabel->setObjectName(QStringLiteral("MantenLabel"));
    m_mantenLabel->setFont(ui::uiFont(10));
    top->addWidget(m_mantenLabel, 1);

    m_copyButton = new QPushButton(QStringLiteral("コピー"));
    m_copyButton->setObjectName(QStringLiteral("CopyButton"));
    auto *menu = new QMenu(m_copyButton);
    menu->setObjectName(QStringLiteral("CopyMenu"));
    menu->addAction(QStringLiteral("観点なし"), this, &TTestShukeiForm::copyGridClick);
    menu->addAction(QStringLiteral("観点あり"), this, &TTestShukeiForm::copyViewpointsClick);
    menu->addAction(QStringLiteral("平均点一覧"), this, &TTestShukeiForm::copyMeansClick);
    m_copyButton->setMenu(menu);
    auto *print = new QPushButton(QStringLiteral("印刷"));
    print->setObjectName(QStringLiteral("PrintButton"));
    connect(print, &QPushButton::clicked, this, &TTestShukeiForm::printClick);
    auto *back = new QPushButton(QStringLiteral("もどる"));
    back->setObjectName(QStringLiteral("BackButton"));
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    for (QPushButton *b : {m_copyButton, print, back}) {
        b->setMinimumSize(96, 30);
        b->setAutoDefault(false);
        top->addWidget(b, 0, Qt::AlignTop);
    }
    layout->addLayout(top);

    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addTab(buildGridPage(), QStringLiteral("得点一覧"));
    m_pages->addTab(buildChartPage(), QStringLiteral("グラフ"));
    layout->addWidget(m_pages, 1);
    applySizes();
    chartTabClick(0);
    resize(1100, 720);
}

TTestShukeiForm::~TTestShukeiForm() = default;

QWidget *TTestShukeiForm::buildGridPage() {
    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    m_grid = new FrozenTableView(kFixedColumns);
    m_grid->setObjectName(QStringLiteral("TokutenGrid"));
    m_model = new ShukeiGridModel(m_aggregation, palette().color(QPalette::Button), this);
    m_grid->setModel(m_model);
    for (QTableView *view : {static_cast<QTableView *>(m_grid), m_grid->frozenView()}) {
        view->setItemDelegate(new ShukeiGridDelegate(view));
        view->setSelectionMode(QAbstractItemView::NoSelection); // the current cell is framed instead
        view->setShowGrid(true);
        view->verticalHeader()->hide();
    }
    for (int c = kShownColumns; c < kGridColumns; ++c)
        m_grid->setColumnHidden(c, true);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TTestShukeiForm::gridCurrentChanged);
    v->addWidget(m_grid, 1);

    m_classTabs = new QTabBar;
    m_classTabs->setObjectName(QStringLiteral("ClassTabs"));
    m_classTabs->setShape(QTabBar::RoundedSouth);
    m_classTabs->setExpanding(false);
    for (int c = 1; c <= m_aggregation.classCount(); ++c)
        m_classTabs->addTab(u' ' + classText(c, m_inputs.classType) + QStringLiteral("組 "));
    connect(m_classTabs, &QTabBar::tabBarClicked, this, &TTestShukeiForm::classTabClick);
    v->addWidget(m_classTabs);
    return page;
}

QWidget *TTestShukeiForm::buildChartPage() {
    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    v->setContentsMargins(0, 0, 0, 0);
    m_chartTabs = new QTabBar;
    m_chartTabs->setObjectName(QStringLiteral("ChartTabs"));
    m_chartTabs->setExpanding(false);
    m_chartTabs->addTab(QStringLiteral("合計"));
    for (const QString &name : subjectNames())
        m_chartTabs->addTab(name);
    connect(m_chartTabs, &QTabBar::currentChanged, this, &TTestShukeiForm::chartTabClick);
    v->addWidget(m_chartTabs);
    m_chart = charts::newChartView(QStringLiteral("Chart1"));
    v->addWidget(m_chart, 1);
    return page;
}

// Row height font height + 2; score columns 1.5 font heights + 4, the name 8, class and number 2.
void TTestShukeiForm::applySizes() {
    const QFont font = ui::fixedFont(10);
    m_grid->setGridFont(font);
    const int fh = QFontInfo(font).pixelSize();
    m_grid->verticalHeader()->setDefaultSectionSize(fh + 2);
    m_grid->frozenView()->verticalHeader()->setDefaultSectionSize(fh + 2);
    // At least room for three digits and a two-character heading with the cell margins.
    const QFontMetrics metrics(font), headerMetrics(ui::uiFont(9));
    const int scoreWidth = std::max({fh * 3 / 2 + 4, metrics.horizontalAdvance(QStringLiteral("888")) + 10,
                                     headerMetrics.horizontalAdvance(QStringLiteral("国語")) + 8});
    for (int c = 0; c < kGridColumns; ++c) {
        int width = scoreWidth;
        if (c < 2)
            width = 2 * fh + 4;
        else if (c == 2)
            width = 8 * fh + 4;
        m_grid->setColumnWidth(c, width);
    }
    m_grid->horizontalHeader()->setFont(ui::uiFont(9));
}

void TTestShukeiForm::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    const QString message = m_aggregation.damagedFilesMessage();
    if (!message.isEmpty())
        m_platform.prompter->message(QStringLiteral("TAVRO"), message, Prompter::Icon::Warning);
}

void TTestShukeiForm::classTabClick(int index) {
    if (index < 0 || index >= m_aggregation.classCount())
        return;
    const QModelIndex first = m_model->index(index * kStudents, kFixedColumns);
    m_grid->setCurrentIndex(first);
    m_grid->verticalScrollBar()->setValue(index * kStudents);
    m_classTabs->setCurrentIndex(index);
}

void TTestShukeiForm::gridCurrentChanged() {
    const QModelIndex current = m_grid->currentIndex();
    if (current.isValid())
        m_classTabs->setCurrentIndex(current.row() / kStudents);
}

void TTestShukeiForm::chartTabClick(int index) {
    if (index < 0 || index > kSubjects)
        return;
    if (m_chartTabs->currentIndex() != index)
        m_chartTabs->setCurrentIndex(index);
    const int series = index == 0 ? kTotalSeries : subjectSeries(index - 1);
    const SeriesStatistics &st = m_aggregation.statistics(series);
    std::vector<charts::Point> points;
    for (int c = 1; c <= m_aggregation.classCount(); ++c) {
        const std::optional<float> mean = st.classMeans[std::size_t(c - 1)];
        if (mean)
            points.push_back(
                {classText(c, m_inputs.classType) + QStringLiteral("組"), double(*mean), barColour(c - 1)});
    }
    charts::showColouredBars(m_chart, m_chartTabs->tabText(index), points);
}

void TTestShukeiForm::putOnClipboard(const QString &text) {
    m_platform.clipboard->setText(text);
    m_platform.prompter->message(QStringLiteral("TAVRO"), QStringLiteral("転送が終わりました"));
}

void TTestShukeiForm::copyGridClick() {
    putOnClipboard(m_aggregation.gridCopy());
}

void TTestShukeiForm::copyViewpointsClick() {
    putOnClipboard(m_aggregation.viewpointCopy());
}

void TTestShukeiForm::copyMeansClick() {
    putOnClipboard(m_aggregation.meansCopy());
}

bool TTestShukeiForm::noticesWithMeans() const {
    const YearSettings settings = YearSettings::load(m_inputs.dataFolder, m_inputs.nendo);
    return (m_inputs.noKanten ? settings.gTestSSorAVG : settings.tTestSSorAVG) == 1;
}

void TTestShukeiForm::printClick() {
    TPrintTest1Form form(m_aggregation, noticesWithMeans(), m_platform, m_printTarget, this);
    form.exec();
}

} // namespace tavro
