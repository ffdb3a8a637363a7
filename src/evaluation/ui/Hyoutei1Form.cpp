#include "evaluation/ui/Hyoutei1Form.h"

#include "evaluation/GridKeys.h"
#include "evaluation/WorksheetViews.h"
#include "evaluation/ui/EvaluationModels.h"
#include "evaluation/ui/HyouteiPropForm.h"
#include "evaluation/ui/KoumokuImportForm.h"
#include "exchange/ResultCopies.h"
#include "exchange/ui/TransferForm.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/SoundPlayer.h"
#include "platform/UserStore.h"
#include "reports/ui/SubjectPrintWindow.h"
#include "widgets/ChartBuilders.h"
#include "widgets/FrozenTableView.h"
#include "widgets/UiFont.h"
#include "widgets/UndoActions.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QChartView>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace tavro {

using evaluationui::kindColor;
using gridkeys::Key;
using gridkeys::KeyPress;

namespace {

const QString kCaption = QStringLiteral("TAVRO");
const QString kSettings = QStringLiteral("Settings");
const QString kHyoutei = QStringLiteral("Hyoutei");

// A line under every fifth row.
class FifthRowDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        if ((index.row() + 1) % 5 == 0) {
            painter->save();
            painter->setPen(QPen(QColor(64, 64, 64), 1));
            painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
            painter->restore();
        }
    }
};

std::optional<KeyPress> keyPressOf(const QKeyEvent *event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    switch (event->key()) {
    case Qt::Key_Backspace:
        return KeyPress::of(Key::Backspace);
    case Qt::Key_Delete:
        return KeyPress::of(Key::Delete);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyPress::of(Key::Enter);
    case Qt::Key_Space:
        return KeyPress::of(Key::Space);
    default:
        break;
    }
    const QString text = event->text();
    if (text.size() == 1 && text.at(0).isPrint())
        return KeyPress::character(text.at(0));
    return std::nullopt;
}

QString dateTimeText(double days) {
    return fromDayCount(days).toString(QStringLiteral("yyyy/MM/dd H:mm:ss"));
}

QLabel *note(const QString &text, const QString &colour = QStringLiteral("#1f3f7a")) {
    auto *label = new QLabel(text);
    label->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(colour));
    return label;
}

QTableWidget *smallGrid(const QString &name, const QStringList &headers) {
    auto *grid = new QTableWidget(0, int(headers.size()));
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels(headers);
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    return grid;
}

void setCell(QTableWidget *grid, int row, int column, const QString &text,
             const QColor &foreground = QColor()) {
    auto *item = new QTableWidgetItem(text);
    if (foreground.isValid())
        item->setForeground(foreground);
    grid->setItem(row, column, item);
}

std::vector<charts::Point> chartPoints(const std::vector<views::ChartPoint> &points, bool byKind) {
    static const QColor kPalette[] = {QColor(128, 176, 232), QColor(240, 176, 112), QColor(160, 216, 144),
                                      QColor(216, 160, 216), QColor(240, 224, 128), QColor(144, 208, 208)};
    std::vector<charts::Point> out;
    for (std::size_t i = 0; i < points.size(); ++i) {
        QColor colour = byKind ? kindColor(points[i].role) : kPalette[i % std::size(kPalette)];
        if (!byKind && points[i].role == 1)
            colour = QColor(232, 72, 48);
        if (!colour.isValid())
            colour = QColor(224, 224, 224);
        out.push_back({points[i].label, points[i].value, colour});
    }
    return out;
}

} // namespace

THyoutei1Form::THyoutei1Form(EvaluationContext context, const Platform &platform, QWidget *parent)
    : QDialog(parent), m_session(std::move(context)), m_platform(platform),
      m_scoreModel(std::make_unique<evaluationui::ScoreModel>(m_session)),
      m_resultModel(std::make_unique<evaluationui::ResultModel>(m_session)),
      m_viewpointModel(std::make_unique<evaluationui::ViewpointRatioModel>(m_session)),
      m_itemRatioModel(std::make_unique<evaluationui::ItemRatioModel>(m_session)),
      m_pasteModel(std::make_unique<evaluationui::PasteModel>(m_session)) {
    setObjectName(QStringLiteral("Hyoutei1Form"));
    setModal(true);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setFont(ui::uiFont(10));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(4);
    auto *bar = new QWidget;
    buildTopBar(bar);
    layout->addWidget(bar);

    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addTab(buildScorePage(), QStringLiteral("得点入力"));
    m_pages->addTab(buildViewpointPage(), QStringLiteral("観点割合"));
    m_pages->addTab(buildItemRatioPage(), QStringLiteral("満点・項目割合"));
    m_pages->addTab(buildResultPage(), QStringLiteral("評定算出"));
    m_pages->addTab(buildAnalysisPage(), QStringLiteral("個人分析"));
    m_pastePage = buildPastePage();
    layout->addWidget(m_pages, 1);

    auto *status = new QStatusBar;
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    const int widths[] = {140, 80, 80, 300, 0};
    for (int i = 0; i < 5; ++i) {
        m_status[std::size_t(i)] = new QLabel;
        m_status[std::size_t(i)]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        if (widths[i] > 0)
            m_status[std::size_t(i)]->setMinimumWidth(widths[i]);
        status->addWidget(m_status[std::size_t(i)], i == 4 ? 1 : 0);
    }
    layout->addWidget(status);

    buildCopyPasteMenu();
    for (QTableView *grid : std::initializer_list<QTableView *>{m_tokuten, m_kantenGrid, m_wariai,
                                                                m_hyouteiGrid, m_analysisGrid, m_importGrid})
        attachCopyPaste(grid);

    // Enter belongs to the grids, never to a button of the window.
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);

    connect(m_pages, &QTabWidget::currentChanged, this, [this](int) {
        QWidget *page = m_pages->currentWidget();
        if (page == m_pages->widget(1))
            refreshViewpointCharts();
        else if (page == m_pages->widget(2))
            refreshSharePie();
        else if (page == m_pages->widget(4))
            showStudent(m_studentList->currentRow());
        else if (page == m_pastePage)
            pastePeriodChosen(m_pastePeriod->currentIndex());
    });
}

THyoutei1Form::~THyoutei1Form() = default;

// ---- Building ----

void THyoutei1Form::buildTopBar(QWidget *bar) {
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    auto *back = new QPushButton(QStringLiteral("もどる"));
    back->setObjectName(QStringLiteral("ModoruButton"));
    back->setMinimumWidth(90);
    connect(back, &QPushButton::clicked, this, &THyoutei1Form::reject);
    row->addWidget(back);

    m_header = new QLabel;
    m_header->setObjectName(QStringLiteral("HeaderPanel"));
    m_header->setFont(ui::uiFont(14, true));
    m_header->setStyleSheet(QStringLiteral("QLabel { color: #14326e; padding: 0 12px; }"));
    row->addWidget(m_header, 1);

    m_soundButton = new QPushButton(QStringLiteral("オフ"));
    m_soundButton->setObjectName(QStringLiteral("SoundButton"));
    m_soundButton->setCheckable(true);
    m_soundButton->setToolTip(QStringLiteral("数字の読み上げ"));
    connect(m_soundButton, &QPushButton::toggled, this, &THyoutei1Form::setSoundOn);
    row->addWidget(m_soundButton);

    m_voiceButton = new QToolButton;
    m_voiceButton->setObjectName(QStringLiteral("VoiceButton"));
    m_voiceButton->setText(QStringLiteral("▼"));
    m_voiceButton->setPopupMode(QToolButton::InstantPopup);
    auto *voices = new QMenu(m_voiceButton);
    voices->setObjectName(QStringLiteral("VoiceMenu"));
    auto *girl = voices->addAction(QStringLiteral("女の子の声"));
    auto *boy = voices->addAction(QStringLiteral("男の子の声"));
    for (QAction *a : {girl, boy})
        a->setCheckable(true);
    auto *voiceGroup = new QActionGroup(voices);
    voiceGroup->addAction(girl);
    voiceGroup->addAction(boy);
    girl->setChecked(true);
    connect(girl, &QAction::triggered, this, [this] { m_girlsVoice = true; });
    connect(boy, &QAction::triggered, this, [this] { m_girlsVoice = false; });
    m_voiceButton->setMenu(voices);
    row->addWidget(m_voiceButton);
    row->addSpacing(16);

    m_fontButtons = new QButtonGroup(this);
    const std::pair<const char *, int> sizes[] = {{"極", 12}, {"大", 11}, {"中", 9}, {"小", 7}};
    for (const auto &[text, size] : sizes) {
        auto *b = new QPushButton(QString::fromUtf8(text));
        b->setObjectName(QStringLiteral("FontButton%1").arg(size));
        b->setCheckable(true);
        b->setFixedWidth(34);
        m_fontButtons->addButton(b, size);
        row->addWidget(b);
    }
    m_fontButtons->setExclusive(true);
    connect(m_fontButtons, &QButtonGroup::idClicked, this, &THyoutei1Form::applyFontSize);

    row->addSpacing(16);
    m_closeButton = new QPushButton(QStringLiteral("×"));
    m_closeButton->setObjectName(QStringLiteral("SpeedButton8"));
    m_closeButton->setToolTip(QStringLiteral("終了時に保存をするかどうかを選択できます。"));
    m_closeButton->setFixedWidth(34);
    connect(m_closeButton, &QPushButton::clicked, this, &THyoutei1Form::closeClick);
    row->addWidget(m_closeButton);
}

QWidget *THyoutei1Form::buildScorePage() {
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);

    auto *top = new QHBoxLayout;
    m_kindPanel = new QLabel;
    m_kindPanel->setObjectName(QStringLiteral("KindPanel"));
    m_namePanel = new QLabel;
    m_namePanel->setObjectName(QStringLiteral("NamePanel"));
    m_kindPanel->setFixedWidth(70);
    m_namePanel->setMinimumWidth(260);
    for (QLabel *panel : {m_kindPanel, m_namePanel}) {
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setAlignment(Qt::AlignCenter);
        panel->setAutoFillBackground(true);
        panel->setMinimumHeight(28);
        panel->setCursor(Qt::PointingHandCursor);
        panel->installEventFilter(this);
    }
    m_koumokuButton = new QPushButton(QStringLiteral("項目設定"));
    m_koumokuButton->setObjectName(QStringLiteral("KoumokuButton"));
    connect(m_koumokuButton, &QPushButton::clicked, this, &THyoutei1Form::koumokuClick);
    m_importButton = new QPushButton(QStringLiteral("取込"));
    m_importButton->setObjectName(QStringLiteral("KoumokuImportButton"));
    m_importButton->setToolTip(QStringLiteral("他の教師の項目を取り込みます"));
    connect(m_importButton, &QPushButton::clicked, this, &THyoutei1Form::koumokuImportClick);
    m_mikomiButton = new QPushButton(QStringLiteral("自動見込み"));
    m_mikomiButton->setObjectName(QStringLiteral("MikomiCulc"));
    m_mikomiButton->setToolTip(QStringLiteral("見込み点の算出をします。"));
    connect(m_mikomiButton, &QPushButton::clicked, this, &THyoutei1Form::mikomiClick);
    top->addWidget(m_kindPanel);
    top->addWidget(m_namePanel);
    top->addWidget(m_koumokuButton);
    top->addWidget(m_importButton);
    top->addSpacing(12);
    top->addWidget(m_mikomiButton);
    top->addSpacing(12);
    top->addWidget(note(
        QStringLiteral("未提出は[/]を入力。自動見込みは[*]を入力。見込み点は[*]をつけて入力してください。")));
    top->addStretch(1);
    m_hogoButton = new QToolButton;
    m_hogoButton->setObjectName(QStringLiteral("HogoButton"));
    m_hogoButton->setText(QStringLiteral("保護"));
    m_hogoButton->setToolTip(QStringLiteral("カーソル位置までの項目を保護する"));
    m_hogoButton->setPopupMode(QToolButton::InstantPopup);
    m_hogoMenu = new QMenu(m_hogoButton);
    m_hogoMenu->setObjectName(QStringLiteral("HogoMenu1"));
    QAction *protect = m_hogoMenu->addAction(QStringLiteral("カーソル位置までの項目を保護に指定する"));
    protect->setObjectName(QStringLiteral("N6"));
    connect(protect, &QAction::triggered, this, [this] { protectClick(true); });
    QAction *unprotect = m_hogoMenu->addAction(QStringLiteral("カーソル位置までの項目の保護を解除する"));
    unprotect->setObjectName(QStringLiteral("N7"));
    connect(unprotect, &QAction::triggered, this, [this] { protectClick(false); });
    m_hogoButton->setMenu(m_hogoMenu);
    top->addWidget(m_hogoButton);
    layout->addLayout(top);

    m_tokuten = new FrozenTableView(evaluationui::ScoreModel::kFixed);
    m_tokuten->setObjectName(QStringLiteral("TokutenGrid"));
    m_tokuten->setModel(m_scoreModel.get());
    m_tokuten->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_tokuten->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tokuten->installEventFilter(this);
    connect(m_tokuten->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { scoreCellChanged(current); });
    layout->addWidget(m_tokuten, 1);

    m_classTabs = new QTabBar;
    m_classTabs->setObjectName(QStringLiteral("ClassTab"));
    m_classTabs->setShape(QTabBar::RoundedSouth);
    m_classTabs->setExpanding(false);
    connect(m_classTabs, &QTabBar::currentChanged, this, &THyoutei1Form::classTabClicked);
    layout->addWidget(m_classTabs);
    return page;
}

QWidget *THyoutei1Form::buildViewpointPage() {
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    m_kantenGrid = new QTableView;
    m_kantenGrid->setObjectName(QStringLiteral("KantenGrid"));
    m_kantenGrid->setModel(m_viewpointModel.get());
    m_kantenGrid->verticalHeader()->hide();
    m_kantenGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_kantenGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_kantenGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_kantenGrid->installEventFilter(this);
    connect(m_kantenGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { refreshViewpointCharts(); });
    auto *gridRow = new QHBoxLayout;
    gridRow->addWidget(m_kantenGrid, 0);
    auto *side = new QVBoxLayout;
    side->addWidget(note(QStringLiteral("合計が100にならなくてもかまいません。")));
    side->addStretch(1);
    gridRow->addLayout(side, 1);
    layout->addLayout(gridRow);

    auto *heading = new QLabel(QStringLiteral("割合グラフ"));
    heading->setFont(ui::uiFont(11, true));
    layout->addWidget(heading);
    m_viewpointCharts = new QTabWidget;
    m_viewpointCharts->setObjectName(QStringLiteral("PageControl2"));
    auto *both = new QWidget;
    auto *bothRow = new QHBoxLayout(both);
    m_viewpointPie = charts::newChartView(QStringLiteral("KantenPie"));
    m_itemSumChart = charts::newChartView(QStringLiteral("KoumokuChart"));
    bothRow->addWidget(m_viewpointPie, 1);
    bothRow->addWidget(m_itemSumChart, 1);
    m_viewpointCharts->addTab(both, QStringLiteral("観点と項目"));
    m_kindPie = charts::newChartView(QStringLiteral("TeikiPie"));
    m_viewpointCharts->addTab(m_kindPie, QStringLiteral("定期と平常"));
    layout->addWidget(m_viewpointCharts, 1);
    return page;
}

QWidget *THyoutei1Form::buildItemRatioPage() {
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    auto *top = new QHBoxLayout;
    top->addWidget(note(QStringLiteral("青の数字は、観点の割合で重み付けした数値です。")));
    top->addStretch(1);
    m_yearEndButton = new QPushButton(QStringLiteral("学年末"));
    m_yearEndButton->setObjectName(QStringLiteral("SpeedButton16"));
    m_yearEndButton->setToolTip(QStringLiteral("学年末の割合にコピーします。"));
    connect(m_yearEndButton, &QPushButton::clicked, this, &THyoutei1Form::yearEndClick);
    top->addWidget(m_yearEndButton);
    layout->addLayout(top);
    m_wariai = new FrozenTableView(1);
    m_wariai->setObjectName(QStringLiteral("WariaiGrid3"));
    m_wariai->setModel(m_itemRatioModel.get());
    m_wariai->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_wariai->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_wariai->installEventFilter(this);
    connect(m_wariai->selectionModel(), &QItemSelectionModel::currentColumnChanged, this,
            [this](const QModelIndex &current) { refreshItemCharts(current.column()); });
    layout->addWidget(m_wariai, 3);

    auto *charts = new QHBoxLayout;
    auto *pieBox = new QVBoxLayout;
    m_sharePeriodTabs = new QTabBar;
    m_sharePeriodTabs->setObjectName(QStringLiteral("PeriodTab"));
    m_sharePeriodTabs->setExpanding(false);
    m_shareViewpointTabs = new QTabBar;
    m_shareViewpointTabs->setObjectName(QStringLiteral("KantenTab"));
    m_shareViewpointTabs->setExpanding(false);
    m_shareViewpointTabs->addTab(QStringLiteral("総合"));
    for (int v = 1; v <= kViewpoints; ++v)
        m_shareViewpointTabs->addTab(QStringLiteral("観点") + views::viewpointNumeral(v));
    connect(m_sharePeriodTabs, &QTabBar::currentChanged, this, [this] { refreshSharePie(); });
    connect(m_shareViewpointTabs, &QTabBar::currentChanged, this, [this] { refreshSharePie(); });
    // Its tabs come with the load; keep room for them.
    m_sharePeriodTabs->setMinimumHeight(m_shareViewpointTabs->sizeHint().height());
    m_sharePie = charts::newChartView(QStringLiteral("SharePie"));
    pieBox->addWidget(m_sharePeriodTabs);
    pieBox->addWidget(m_shareViewpointTabs);
    pieBox->addWidget(m_sharePie, 1);
    charts->addLayout(pieBox, 3);

    auto *distBox = new QVBoxLayout;
    m_distributionChart = charts::newChartView(QStringLiteral("BunpuChart"));
    auto *figures = new QHBoxLayout;
    m_countLabel = new QLabel(QStringLiteral("0人"));
    m_countLabel->setObjectName(QStringLiteral("NinzuLabel"));
    m_meanLabel = new QLabel(QStringLiteral("平均0.0点"));
    m_meanLabel->setObjectName(QStringLiteral("HeikinLabel"));
    figures->addWidget(m_countLabel);
    figures->addSpacing(16);
    figures->addWidget(m_meanLabel);
    figures->addStretch(1);
    distBox->addWidget(m_distributionChart, 1);
    distBox->addLayout(figures);
    charts->addLayout(distBox, 3);
    m_classMeanChart = charts::newChartView(QStringLiteral("GakkyuChart"));
    charts->addWidget(m_classMeanChart, 2);
    layout->addLayout(charts, 2);
    return page;
}

QWidget *THyoutei1Form::buildResultPage() {
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    auto *top = new QHBoxLayout;
    m_culcButton = new QPushButton(QStringLiteral("評定計算"));
    m_culcButton->setObjectName(QStringLiteral("HyouteiCulc"));
    m_culcButton->setToolTip(QStringLiteral("評定の計算は、アイコンをクリック"));
    m_culcMenu = new QMenu(m_culcButton);
    m_culcMenu->setObjectName(QStringLiteral("HyouteiCulcMenu"));
    m_culcButton->setMenu(m_culcMenu);
    m_culcButton->installEventFilter(this);
    m_clearMenu = new QMenu(m_culcButton);
    m_clearMenu->setObjectName(QStringLiteral("HyouteiClearPopupMenu"));
    m_hyouteiSelect = new QComboBox;
    m_hyouteiSelect->setObjectName(QStringLiteral("HyouteiSelect"));
    m_hyouteiSelect->setMinimumWidth(140);
    connect(m_hyouteiSelect, &QComboBox::currentIndexChanged, this, &THyoutei1Form::selectPeriod);
    top->addWidget(m_culcButton);
    top->addSpacing(12);
    top->addWidget(m_hyouteiSelect);
    top->addSpacing(12);
    m_koumuButton = new QPushButton(QStringLiteral("校務支援"));
    m_koumuButton->setObjectName(QStringLiteral("KoumuButton"));
    m_koumuButton->setToolTip(QStringLiteral("クリップボードにコピーをします。"));
    connect(m_koumuButton, &QPushButton::clicked, this, &THyoutei1Form::koumuClick);
    top->addWidget(m_koumuButton);
    top->addSpacing(12);
    m_printButton = new QPushButton(QStringLiteral("印刷"));
    m_printButton->setObjectName(QStringLiteral("PrintButton"));
    m_printButton->setToolTip(QStringLiteral("印刷します。"));
    connect(m_printButton, &QPushButton::clicked, this,
            [this] { printClick(QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier)); });
    top->addWidget(m_printButton);
    top->addSpacing(12);
    top->addWidget(
        note(QStringLiteral("印刷後に「評定計算」はしないでください。"), QStringLiteral("#c00000")));
    top->addStretch(1);
    layout->addLayout(top);

    m_hyouteiGrid = new FrozenTableView(3);
    m_hyouteiGrid->setObjectName(QStringLiteral("HyouteiGrid4"));
    m_hyouteiGrid->setModel(m_resultModel.get());
    m_hyouteiGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_hyouteiGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    auto *delegate = new FifthRowDelegate(m_hyouteiGrid);
    m_hyouteiGrid->setItemDelegate(delegate);
    m_hyouteiGrid->frozenView()->setItemDelegate(delegate);
    layout->addWidget(m_hyouteiGrid, 3);

    m_ninzuTabs = new QTabBar;
    m_ninzuTabs->setObjectName(QStringLiteral("NinzuTab"));
    m_ninzuTabs->setExpanding(false);
    m_ninzuTabs->addTab(QStringLiteral("総合"));
    for (int v = 1; v <= kViewpoints; ++v)
        m_ninzuTabs->addTab(QStringLiteral("観点") + views::viewpointNumeral(v));
    connect(m_ninzuTabs, &QTabBar::currentChanged, this, [this] { refreshNinzu(); });
    layout->addWidget(m_ninzuTabs);
    QStringList headers{QString()};
    for (int c = 1; c <= kMaxClasses; ++c)
        headers << m_session.classLabel(c);
    headers << QStringLiteral("合計");
    m_ninzuGrid = smallGrid(QStringLiteral("NinzuGrid"), headers);
    m_ninzuGrid->setRowCount(11);
    m_ninzuGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_ninzuGrid->verticalHeader()->setDefaultSectionSize(20);
    layout->addWidget(m_ninzuGrid, 2);
    return page;
}

QWidget *THyoutei1Form::buildAnalysisPage() {
    auto *page = new QWidget;
    auto *layout = new QHBoxLayout(page);

    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("個人リスト")));
    m_byClass = new QRadioButton(QStringLiteral("学級順"));
    m_byClass->setObjectName(QStringLiteral("GakkyuJun"));
    m_byClass->setToolTip(QStringLiteral("学級順に並べます。"));
    m_byAttainment = new QRadioButton(QStringLiteral("到達度順"));
    m_byAttainment->setObjectName(QStringLiteral("TotatuJun"));
    m_byAttainment->setToolTip(QStringLiteral("到達度順に並べます。"));
    m_byClass->setChecked(true);
    auto *order = new QHBoxLayout;
    order->addWidget(m_byClass);
    order->addWidget(m_byAttainment);
    left->addLayout(order);
    // A click on the checked button shows its order again (after a filter).
    connect(m_byClass, &QRadioButton::clicked, this, [this] { refillStudentList(true); });
    connect(m_byAttainment, &QRadioButton::clicked, this, [this] { refillStudentList(true); });

    auto *filters = new QHBoxLayout;
    auto *filter = new QToolButton;
    filter->setObjectName(QStringLiteral("FilterDo"));
    filter->setText(QStringLiteral("フィルタ▼"));
    filter->setPopupMode(QToolButton::InstantPopup);
    filter->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"));
    auto *filterMenu = new QMenu(filter);
    filterMenu->setObjectName(QStringLiteral("FilterMenu"));
    const std::pair<const char *, editing::Filter> kFilters[] = {
        {"学年末の整合性", editing::Filter::Consistency},
        {"評定が上昇", editing::Filter::Up},
        {"評定が下降", editing::Filter::Down},
        {"ボーダーライン付近", editing::Filter::Border},
        {"観点換算方式との整合性", editing::Filter::Conversion},
        {"見込み点を使用", editing::Filter::Estimate},
        {"定期より評定が低い", editing::Filter::TestOnly}};
    for (const auto &[text, which] : kFilters) {
        if (which == editing::Filter::Estimate)
            filterMenu->addSeparator();
        QAction *action = filterMenu->addAction(QString::fromUtf8(text));
        action->setObjectName(QStringLiteral("Filter%1").arg(int(which)));
        connect(action, &QAction::triggered, this, [this, which] { filterClick(which); });
    }
    filter->setMenu(filterMenu);
    auto *legend = new QPushButton(QStringLiteral("記号の意味"));
    legend->setObjectName(QStringLiteral("SpeedButton18"));
    connect(legend, &QPushButton::clicked, this,
            [this] { m_platform.prompter->message(kCaption, editing::legendText()); });
    filters->addWidget(filter);
    filters->addWidget(legend);
    filters->addStretch(1);
    left->addLayout(filters);
    m_studentList = new QListWidget;
    m_studentList->setObjectName(QStringLiteral("ListBox1"));
    m_studentList->setMinimumWidth(220);
    connect(m_studentList, &QListWidget::currentRowChanged, this, &THyoutei1Form::showStudent);
    left->addWidget(m_studentList, 1);
    auto *steps = new QHBoxLayout;
    auto *previous = new QPushButton(QStringLiteral("前"));
    previous->setObjectName(QStringLiteral("MaeButton"));
    auto *next = new QPushButton(QStringLiteral("次"));
    next->setObjectName(QStringLiteral("TsugiButton"));
    connect(previous, &QPushButton::clicked, this, [this] { stepStudent(-1); });
    connect(next, &QPushButton::clicked, this, [this] { stepStudent(1); });
    steps->addWidget(previous);
    steps->addWidget(next);
    left->addLayout(steps);
    layout->addLayout(left);

    auto *right = new QVBoxLayout;
    m_studentLabel = new QLabel;
    m_studentLabel->setObjectName(QStringLiteral("StudentLabel"));
    m_studentLabel->setFont(ui::uiFont(13, true));
    right->addWidget(m_studentLabel);
    m_analysisGrid = smallGrid(QStringLiteral("xStringGrid1"),
                               {QStringLiteral("項目"), QStringLiteral("種類"), QStringLiteral("項目名"),
                                QStringLiteral("得点"), QStringLiteral("満点"), QStringLiteral("偏差値"),
                                QStringLiteral("到達度")});
    m_analysisGrid->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    m_analysisGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    right->addWidget(m_analysisGrid, 3);

    m_analysisTabs = new QTabWidget;
    m_analysisTabs->setObjectName(QStringLiteral("PageControl3"));
    QStringList periodHeaders{QString(), QStringLiteral("評定"), QStringLiteral("到達度")};
    for (int v = 1; v <= kViewpoints; ++v)
        periodHeaders << QStringLiteral("観点") + views::viewpointNumeral(v);
    m_periodGrid = smallGrid(QStringLiteral("HyouteiKekka"), periodHeaders);
    m_analysisTabs->addTab(m_periodGrid, QStringLiteral("評定"));
    m_kindGrid = smallGrid(QStringLiteral("HeijouTeiki"), {QString(), QStringLiteral("種別ごとの到達度")});
    m_kindGrid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_analysisTabs->addTab(m_kindGrid, QStringLiteral("平常定期"));
    QStringList historyHeaders{QString(), QStringLiteral("評定"), QStringLiteral("到達度")};
    for (int v = 1; v <= kViewpoints; ++v)
        historyHeaders << QStringLiteral("観点") + views::viewpointNumeral(v);
    m_historyGrid = smallGrid(QStringLiteral("RirekiGrid"), historyHeaders);
    m_analysisTabs->addTab(m_historyGrid, QStringLiteral("履歴"));
    right->addWidget(m_analysisTabs, 2);

    auto *comments = new QGroupBox(QStringLiteral("コメント"));
    auto *commentGrid = new QGridLayout(comments);
    for (int k = 1; k <= kPeriods; ++k) {
        auto *edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("MemoEdit%1").arg(k));
        edit->setReadOnly(true);
        connect(edit, &QLineEdit::textEdited, this, [this, k] { memoChange(k); });
        m_comments[std::size_t(k - 1)] = edit;
        commentGrid->addWidget(new QLabel(views::periodNumeral(k)), (k - 1) / 2, (k - 1) % 2 * 2);
        commentGrid->addWidget(edit, (k - 1) / 2, (k - 1) % 2 * 2 + 1);
    }
    commentGrid->addWidget(note(QStringLiteral("全角25文字まで")), 2, 3);
    right->addWidget(comments);
    layout->addLayout(right, 1);
    return page;
}

QWidget *THyoutei1Form::buildPastePage() {
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    auto *steps = new QGridLayout;
    steps->addWidget(new QLabel(QStringLiteral("①観点の割合を設定しましょう。")), 0, 0);
    auto *viewpoints = new QPushButton(QStringLiteral("観点割合"));
    viewpoints->setObjectName(QStringLiteral("KantenStepButton"));
    connect(viewpoints, &QPushButton::clicked, this, [this] { m_pages->setCurrentIndex(1); });
    steps->addWidget(viewpoints, 0, 1);
    steps->addWidget(new QLabel(QStringLiteral("②対象となる評定を選択します。")), 1, 0);
    m_pastePeriod = new QComboBox;
    m_pastePeriod->setObjectName(QStringLiteral("ComboBox1"));
    connect(m_pastePeriod, &QComboBox::activated, this, &THyoutei1Form::pastePeriodChosen);
    steps->addWidget(m_pastePeriod, 1, 1);
    steps->addWidget(new QLabel(QStringLiteral("③エクセルから観点の到達度とコメントを貼り付けます。")), 2, 0);
    auto *paste = new QPushButton(QStringLiteral("貼り付け"));
    paste->setObjectName(QStringLiteral("PasteButton"));
    connect(paste, &QPushButton::clicked, this, [this] {
        if (!m_importGrid->currentIndex().isValid() && m_pasteModel->rowCount() > 0)
            m_importGrid->setCurrentIndex(m_pasteModel->index(0, 3));
        copyPastePopup(m_importGrid);
        if (m_pasteAction->isEnabled())
            pasteClick();
    });
    steps->addWidget(paste, 2, 1);
    steps->addWidget(new QLabel(QStringLiteral("④評定を確認しましょう。")), 3, 0);
    auto *check = new QPushButton(QStringLiteral("評定を確認"));
    check->setObjectName(QStringLiteral("HyouteiStepButton"));
    connect(check, &QPushButton::clicked, this, [this] { m_pages->setCurrentIndex(3); });
    steps->addWidget(check, 3, 1);
    steps->setColumnStretch(2, 1);
    layout->addLayout(steps);
    m_importGrid = new FrozenTableView(3);
    m_importGrid->setObjectName(QStringLiteral("ImportGrid"));
    m_importGrid->setModel(m_pasteModel.get());
    m_importGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_importGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    layout->addWidget(m_importGrid, 1);
    return page;
}

// ---- Opening and closing ----

void THyoutei1Form::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!m_opened) {
        m_opened = true;
        opening();
    }
}

void THyoutei1Form::opening() {
    m_status[0]->setText(m_session.context().teacherName);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_session.load(*m_platform.prompter);
    setWindowTitle(m_session.caption());
    m_header->setText(m_session.headerText());

    // Period lists.
    for (const EvaluationSession::Period &p : m_session.periods()) {
        m_sharePeriodTabs->addTab(views::periodTabText(p.number, p.name));
        m_hyouteiSelect->addItem(views::periodListText(p.number, p.name));
        m_pastePeriod->addItem(views::periodListText(p.number, p.name));
        QAction *action = m_culcMenu->addAction(p.name);
        action->setObjectName(QStringLiteral("HyouteiCulc%1").arg(p.number));
        action->setEnabled(m_session.periodPermitted(p.number));
        const int period = p.number;
        connect(action, &QAction::triggered, this, [this, period] { hyouteiCulc(period); });
        QAction *clear = m_clearMenu->addAction(QStringLiteral("『") + p.name + QStringLiteral("』をクリア"));
        clear->setObjectName(QStringLiteral("HyouteiClear%1").arg(p.number));
        clear->setEnabled(!m_session.readOnly() && m_session.periodPermitted(p.number));
        connect(clear, &QAction::triggered, this, [this, period] { hyouteiClearClick(period); });
    }

    // Rows appear with the load; later changes only repaint.
    for (evaluationui::SessionModel *model : std::initializer_list<evaluationui::SessionModel *>{
             m_scoreModel.get(), m_resultModel.get(), m_viewpointModel.get(), m_itemRatioModel.get(),
             m_pasteModel.get()})
        model->reloadRows();

    if (!m_session.context().elective)
        for (int cls : m_session.classes()) {
            const QString label =
                m_session.context().classType ? QString::number(cls) : QString(QChar(64 + cls));
            m_classTabs->addTab(QStringLiteral(" ") + label + QStringLiteral("組M"));
            m_classTabs->addTab(QStringLiteral(" ") + label + QStringLiteral("組F"));
        }
    m_classTabs->setVisible(m_classTabs->count() > 0);

    restoreUserState();

    // The cursor on the highest-numbered item with a kind.
    int lastItem = 1;
    for (int item = kMaxItems; item >= 1; --item)
        if (m_session.worksheet().item(item).kind != itemkind::kNone) {
            lastItem = item;
            break;
        }
    if (!m_session.rows().empty())
        m_tokuten->setCurrentIndex(m_scoreModel->index(0, evaluationui::ScoreModel::kFixed + lastItem - 1));
    showItemPanels(lastItem);

    const bool readOnly = m_session.readOnly();
    m_koumokuButton->setEnabled(!readOnly);
    m_importButton->setEnabled(!readOnly);
    m_mikomiButton->setEnabled(!readOnly);
    m_culcButton->setEnabled(!readOnly);
    m_hogoButton->setEnabled(!readOnly);
    m_yearEndButton->setEnabled(!readOnly);
    // Comments of the periods in use only.
    for (QLineEdit *edit : m_comments)
        edit->setReadOnly(true);
    for (const EvaluationSession::Period &p : m_session.periods())
        m_comments[std::size_t(p.number - 1)]->setReadOnly(readOnly);
    const YearSettings &settings = m_session.settings();
    if (!readOnly && (settings.toutatuPaste || settings.commentPaste))
        m_pages->addTab(m_pastePage, QStringLiteral("データ貼り付け"));

    refillStudentList();
    refreshNinzu();
    refreshStatus();
    QApplication::restoreOverrideCursor();
    m_tokuten->setFocus();
}

void THyoutei1Form::restoreUserState() {
    UserStore *store = m_platform.userStore;
    const bool sound = store && store->readInt(kSettings, QStringLiteral("Sound"), 0) != 0;
    m_girlsVoice = !store || store->readInt(kSettings, QStringLiteral("SoundType"), 0) == 0;
    m_voiceButton->menu()->actions().at(m_girlsVoice ? 0 : 1)->setChecked(true);
    m_soundButton->setChecked(sound);
    setSoundOn(sound);
    int fontSize = store ? store->readInt(kSettings, QStringLiteral("FontSize"), 11) : 11;
    if (fontSize != 7 && fontSize != 9 && fontSize != 12)
        fontSize = 11;
    applyFontSize(fontSize);

    const QString selectKey = m_session.context().elective ? QStringLiteral("KantenHyoutei") : kHyoutei;
    const int selected = store ? store->readInt(kHyoutei, selectKey, 0) : 0;
    m_hyouteiSelect->setCurrentIndex(selected >= 0 && selected < m_hyouteiSelect->count() ? selected : 0);
    selectPeriod(m_hyouteiSelect->currentIndex());
    if (store) {
        m_pages->setCurrentIndex(store->readInt(kHyoutei, QStringLiteral("PageControl1"), 0) % 4);
        m_viewpointCharts->setCurrentIndex(store->readInt(kHyoutei, QStringLiteral("PageControl2"), 0));
        m_analysisTabs->setCurrentIndex(store->readInt(kHyoutei, QStringLiteral("PageControl3"), 0));
        m_ninzuTabs->setCurrentIndex(store->readInt(kHyoutei, QStringLiteral("PageControl4"), 0));
    }
}

void THyoutei1Form::storeUserState() {
    UserStore *store = m_platform.userStore;
    if (!store)
        return;
    store->writeInt(kSettings, QStringLiteral("Sound"), m_soundOn ? 1 : 0);
    store->writeInt(kSettings, QStringLiteral("SoundType"), m_girlsVoice ? 0 : 1);
    store->writeInt(kSettings, QStringLiteral("FontSize"), m_fontSize);
    const QString selectKey = m_session.context().elective ? QStringLiteral("KantenHyoutei") : kHyoutei;
    store->writeInt(kHyoutei, selectKey, std::max(0, m_hyouteiSelect->currentIndex()));
    store->writeInt(kHyoutei, QStringLiteral("PageControl1"), m_pages->currentIndex());
    store->writeInt(kHyoutei, QStringLiteral("PageControl2"), m_viewpointCharts->currentIndex());
    store->writeInt(kHyoutei, QStringLiteral("PageControl3"), m_analysisTabs->currentIndex());
    store->writeInt(kHyoutei, QStringLiteral("PageControl4"), m_ninzuTabs->currentIndex());
}

void THyoutei1Form::reject() {
    if (m_opened && !m_session.saveForClose(*m_platform.prompter, m_skipSave))
        return;
    if (m_opened)
        storeUserState();
    QDialog::reject();
}

void THyoutei1Form::applyFontSize(int size) {
    m_fontSize = size;
    if (QAbstractButton *b = m_fontButtons->button(size))
        b->setChecked(true);
    const QFont font = ui::uiFont(size);
    const QFontMetrics metrics(font);
    const int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    for (FrozenTableView *view : {m_tokuten, m_wariai, m_hyouteiGrid, m_importGrid})
        view->setGridFont(font);
    m_kantenGrid->setFont(font);
    m_kantenGrid->verticalHeader()->setDefaultSectionSize(metrics.height() + 8);
    m_kantenGrid->setColumnWidth(0, digit * 16);
    for (int v = 1; v <= kViewpoints; ++v)
        m_kantenGrid->setColumnWidth(v, digit * 12);
    m_kantenGrid->setFixedSize(digit * 16 + 6 * digit * 12 + 4,
                               m_kantenGrid->horizontalHeader()->sizeHint().height() +
                                   kPeriods * (metrics.height() + 8) + 4);

    const int name = metrics.horizontalAdvance(QStringLiteral("氏名氏名氏名氏名")) + digit * 2;
    // Default sizes first: setting one resizes every section.
    m_tokuten->horizontalHeader()->setDefaultSectionSize(digit * 6);
    m_tokuten->setColumnWidth(0, digit * 5);
    m_tokuten->setColumnWidth(1, digit * 5);
    m_tokuten->setColumnWidth(2, name);
    m_wariai->horizontalHeader()->setDefaultSectionSize(digit * 6);
    m_wariai->setColumnWidth(0, metrics.horizontalAdvance(QStringLiteral("　観点①関心・意欲")) + digit);
    m_hyouteiGrid->horizontalHeader()->setDefaultSectionSize(digit * 5);
    m_importGrid->horizontalHeader()->setDefaultSectionSize(digit * 11);
    for (int c = 0; c < 3; ++c)
        m_hyouteiGrid->setColumnWidth(c, m_tokuten->columnWidth(c));
    for (int c = 0; c < 3; ++c)
        m_importGrid->setColumnWidth(c, m_tokuten->columnWidth(c));
    m_importGrid->setColumnWidth(9, digit * 30);
    m_hyouteiGrid->setColumnWidth(13, digit * 11);
    for (int v = 1; v <= kViewpoints; ++v)
        m_hyouteiGrid->setColumnWidth(2 * v + 12, digit * 11);
}

void THyoutei1Form::setSoundOn(bool on) {
    m_soundOn = on;
    m_soundButton->setText(on ? QStringLiteral("オン") : QStringLiteral("オフ"));
}

// ---- Keys ----

bool THyoutei1Form::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (watched == m_tokuten)
            return tokutenKey(key);
        if (watched == m_kantenGrid || watched == m_wariai)
            return ratioKey(static_cast<QTableView *>(watched), key);
    }
    if (event->type() == QEvent::MouseButtonPress && watched == m_culcButton &&
        (static_cast<QMouseEvent *>(event)->modifiers() & Qt::ShiftModifier)) {
        showClearMenu();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease && (watched == m_kindPanel || watched == m_namePanel)) {
        if (m_koumokuButton->isEnabled())
            koumokuClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void THyoutei1Form::speak(int digit) {
    if (m_soundOn && digit >= 0 && m_platform.sound)
        m_platform.sound->play(gridkeys::digitSoundName(digit, m_girlsVoice));
}

bool THyoutei1Form::tokutenKey(QKeyEvent *event) {
    const QModelIndex current = m_tokuten->currentIndex();
    const std::optional<KeyPress> key = keyPressOf(event);
    if (!current.isValid() || !key)
        return false;
    const int row = current.row();
    if (key->key == Key::Enter || key->key == Key::Space) {
        const gridkeys::RowMove move = gridkeys::nextRow(m_session.rowNames(), row);
        m_tokuten->setCurrentIndex(m_scoreModel->index(move.row, current.column()));
        if (move.chime && m_soundOn && m_platform.sound)
            m_platform.sound->play(gridkeys::kChimeSound);
        return true;
    }
    if (current.column() < evaluationui::ScoreModel::kFixed)
        return false;
    const int item = current.column() - evaluationui::ScoreModel::kFixed + 1;
    const gridkeys::KeyResult result = m_session.scoreKey(row, item, *key);
    if (!result.handled)
        return false;
    if (result.beep && m_platform.sound)
        m_platform.sound->beep();
    if (result.changed) {
        m_scoreModel->refreshRow(row);
        refreshStatus();
        scoreCellChanged(current);
    }
    speak(result.digit);
    return true;
}

bool THyoutei1Form::ratioKey(QTableView *view, QKeyEvent *event) {
    const QModelIndex current = view->currentIndex();
    const std::optional<KeyPress> key = keyPressOf(event);
    if (!current.isValid() || !key)
        return false;
    if (key->key == Key::Enter || key->key == Key::Space) {
        const int row = std::min(current.row() + 1, view->model()->rowCount() - 1);
        view->setCurrentIndex(view->model()->index(row, current.column()));
        return true;
    }
    gridkeys::KeyResult result;
    int period = 0;
    if (view == m_kantenGrid) {
        if (current.column() < 1)
            return false;
        period = current.row() + 1;
        result = m_session.viewpointRatioKey(period, current.column(), *key);
    } else {
        int viewpoint = 0;
        evaluationui::ItemRatioModel::rowMeaning(current.row(), period, viewpoint);
        const int item = current.column();
        if (item < 1 || (period > 0 && viewpoint == 0))
            return key->key == Key::Character && gridkeys::digitOfKey(key->ch) >= 0;
        result = period == 0 ? m_session.fullScoreKey(item, *key)
                             : m_session.itemRatioKey(item, period, viewpoint, *key);
    }
    if (!result.handled)
        return false;
    if (result.beep && m_platform.sound)
        m_platform.sound->beep();
    if (result.changed) {
        if (view == m_kantenGrid) {
            m_viewpointModel->refreshRow(current.row());
            m_itemRatioModel->refreshRow(evaluationui::ItemRatioModel::headerRowOf(period));
            refreshViewpointCharts();
        } else {
            m_itemRatioModel->refreshRow(current.row());
            if (period > 0)
                m_itemRatioModel->refreshRow(evaluationui::ItemRatioModel::headerRowOf(period));
            else
                m_scoreModel->refreshColumn(evaluationui::ScoreModel::kFixed + current.column() - 1);
            // The pie follows the blue numbers, the distribution the full score.
            refreshSharePie();
        }
        refreshStatus();
    }
    speak(result.digit);
    return true;
}

// ---- Score page ----

void THyoutei1Form::scoreCellChanged(const QModelIndex &current) {
    if (!current.isValid())
        return;
    const int slot = m_session.rows()[std::size_t(current.row())];
    const int cls = classOfSlot(slot);
    QString text = m_session.classLabel(cls) + QString::number(numberOfSlot(slot)) + QStringLiteral("番 ") +
                   m_session.nameOf(slot) + QLatin1Char('(') + m_session.readingOf(slot) + QLatin1Char(')');
    if (current.column() >= evaluationui::ScoreModel::kFixed) {
        const int item = current.column() - evaluationui::ScoreModel::kFixed + 1;
        showItemPanels(item);
        const int code = m_session.worksheet().score(item, slot);
        const int full = m_session.worksheet().item(item).fullScore;
        const int value = code >= 0 ? code : score::isEstimate(code) ? score::estimateValue(code) : -1;
        if (value >= 0 && full >= 1)
            text += QStringLiteral("[到達度]") + views::fixed2(value * 100.0 / full);
    }
    m_status[4]->setText(text);

    // The class tab of the row.
    if (m_classTabs->count() > 0) {
        const auto &classes = m_session.classes();
        const auto at = std::find(classes.begin(), classes.end(), cls);
        if (at != classes.end()) {
            const int tab = int(at - classes.begin()) * 2 + (numberOfSlot(slot) > 30 ? 1 : 0);
            m_syncingTabs = true;
            m_classTabs->setCurrentIndex(tab);
            m_syncingTabs = false;
        }
    }
}

void THyoutei1Form::classTabClicked(int index) {
    if (m_syncingTabs || index < 0 || m_session.rows().empty())
        return;
    const int row = std::min(30 * index, int(m_session.rows().size()) - 1);
    const int column = std::max(m_tokuten->currentIndex().column(), evaluationui::ScoreModel::kFixed);
    m_tokuten->scrollTo(m_scoreModel->index(row, column), QAbstractItemView::PositionAtTop);
    m_syncingTabs = true;
    m_tokuten->setCurrentIndex(m_scoreModel->index(row, column));
    m_syncingTabs = false;
    m_tokuten->setFocus();
}

void THyoutei1Form::showItemPanels(int item) {
    const WorksheetItem &it = m_session.worksheet().item(item);
    m_kindPanel->setText(views::kindShortName(it.kind));
    const QColor colour = kindColor(it.kind);
    m_kindPanel->setStyleSheet(
        colour.isValid() ? QStringLiteral("QLabel { background: %1; }").arg(colour.name()) : QString());
    m_namePanel->setText(it.name);
}

void THyoutei1Form::koumokuClick() {
    if (m_session.readOnly())
        return;
    const int column = m_tokuten->currentIndex().column();
    if (column < evaluationui::ScoreModel::kFixed)
        return;
    const int item = column - evaluationui::ScoreModel::kFixed + 1;
    THyouteiPropForm dialog(m_session, item, *m_platform.prompter, this);
    dialog.move(m_kindPanel->mapToGlobal(QPoint(0, m_kindPanel->height() + 2)));
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_scoreModel->refreshAll();
    m_itemRatioModel->refreshAll();
    showItemPanels(item);
    refreshStatus();
    m_tokuten->setFocus();
}

void THyoutei1Form::koumokuImportClick() {
    if (m_session.readOnly())
        return;
    TKoumokuImportForm dialog(m_session, *m_platform.prompter, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_scoreModel->refreshAll();
    m_itemRatioModel->refreshAll();
    const int column = m_tokuten->currentIndex().column();
    if (column >= evaluationui::ScoreModel::kFixed)
        showItemPanels(column - evaluationui::ScoreModel::kFixed + 1);
    refreshStatus();
    m_tokuten->setFocus();
}

void THyoutei1Form::mikomiClick() {
    if (m_session.readOnly())
        return;
    if (!m_session.autoEstimate().empty())
        m_scoreModel->refreshAll();
    refreshStatus();
}

// ---- Results ----

void THyoutei1Form::hyouteiCulc(int period) {
    if (m_session.readOnly() || !m_session.periodPermitted(period))
        return;
    // The period is current before the questions, so the page shows which period they are about.
    const auto &periods = m_session.periods();
    for (std::size_t i = 0; i < periods.size(); ++i)
        if (periods[i].number == period)
            m_hyouteiSelect->setCurrentIndex(int(i));
    const calculation::Report report = m_session.calculate(period, *m_platform.prompter, *m_platform.clock);
    if (report.outcome == calculation::Outcome::Stopped)
        return;
    m_resultModel->refreshAll();
    m_pasteModel->refreshAll();
    refreshNinzu();
    refreshStatus();
    // A failed save was reported by the calculation; the results stay pending.
    if (report.outcome != calculation::Outcome::SaveFailed)
        m_status[4]->setText(QStringLiteral("評定を保存しました。(") + dateTimeText(report.dateTime) +
                             QLatin1Char(')'));
    noteHistoryCleared(report.outcome != calculation::Outcome::SaveFailed ? m_status[4]->text() : QString());
}

void THyoutei1Form::selectPeriod(int index) {
    const auto &periods = m_session.periods();
    if (index < 0 || index >= int(periods.size()))
        return;
    m_period = periods[std::size_t(index)].number;
    m_resultModel->setPeriod(m_period);
    refreshNinzu();
    refreshStatus();
    if (m_byAttainment->isChecked())
        refillStudentList();
}

bool THyoutei1Form::autoSave() {
    if (m_session.readOnly() || (!m_session.isModified() && !m_session.resultsPending()))
        return true;
    const bool worksheetChanged = m_session.isModified();
    QString error;
    const bool saved = m_session.save(&error);
    refreshStatus();
    if (saved && worksheetChanged) {
        m_status[1]->setText(QStringLiteral("自動保存済"));
        m_status[4]->setText(QStringLiteral("データを自動保存しました。(") +
                             m_platform.clock->now().toString(QStringLiteral("yyyy/MM/dd H:mm:ss")) + u')');
    }
    if (!saved)
        m_platform.prompter->message(kCaption, error, Prompter::Icon::Warning);
    return saved;
}

void THyoutei1Form::koumuClick() {
    // The transfer copies what is in memory, so it opens even when the save failed.
    autoSave();
    TTransferForm form(m_session, m_session.periods().empty() ? 0 : m_period, m_platform, this);
    form.exec();
}

void THyoutei1Form::printClick(bool shift) {
    // The papers must match the files: nothing is printed unless the save succeeded.
    if (!autoSave())
        return;
    if (m_session.settings().oldType && !shift) {
        TPrintHyoutei3Form form(m_session, m_period, m_platform, m_printTarget, this);
        form.exec();
    } else {
        TPrintHyoutei1Form form(m_session, m_period, m_platform, m_printTarget, this);
        form.exec();
    }
}

void THyoutei1Form::refreshStatus() {
    m_status[1]->setText(m_session.isModified() ? QStringLiteral("変更あり") : QString());
    m_status[2]->setText(m_session.resultsSaveFailed() ? QStringLiteral("評定未保存")
                         : m_session.isCalculated()    ? QStringLiteral("評定済み")
                                                       : QString());
    const double stamp = m_session.results().dateTime(m_period);
    m_status[3]->setText(
        views::periodListText(m_period, m_session.periodName(m_period)) +
        (stamp > 0 ? QStringLiteral(": ") + dateTimeText(stamp) : QStringLiteral(" 評定未算出")));
}

void THyoutei1Form::refreshNinzu() {
    const checks::Distribution d =
        checks::distribution(m_session.results(), m_session.settings(), m_session.context().elective,
                             m_period, std::max(0, m_ninzuTabs->currentIndex()));
    for (int row = 0; row < 11; ++row) {
        setCell(m_ninzuGrid, row, 0, row < 10 ? d.symbols[std::size_t(row)] : QStringLiteral("合計"));
        for (int c = 0; c < 13; ++c) {
            const int count = d.counts[std::size_t(row)][std::size_t(c)];
            auto *item = new QTableWidgetItem(count == 0 ? QString() : QString::number(count));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_ninzuGrid->setItem(row, c + 1, item);
        }
    }
}

// ---- Charts ----

void THyoutei1Form::refreshViewpointCharts() {
    const QModelIndex current = m_kantenGrid->currentIndex();
    const int period = current.isValid() ? current.row() + 1 : m_period;
    charts::showPie(m_viewpointPie, views::ratioChartTitle(m_session, period, QStringLiteral("【観点割合】")),
                    chartPoints(views::viewpointRatioPie(m_session, period), false));
    charts::showBars(m_itemSumChart,
                     views::ratioChartTitle(m_session, period, QStringLiteral("【項目割合の単純合計】")),
                     chartPoints(views::itemRatioSums(m_session, period), false), true);
    charts::showPie(m_kindPie, views::ratioChartTitle(m_session, period, QStringLiteral("【定期と平常】")),
                    chartPoints(views::kindPie(m_session, period), true));
}

void THyoutei1Form::refreshSharePie() {
    const int tabIndex = m_sharePeriodTabs->currentIndex();
    const auto &periods = m_session.periods();
    if (tabIndex < 0 || tabIndex >= int(periods.size()))
        return;
    const int period = periods[std::size_t(tabIndex)].number;
    const int tab = std::max(0, m_shareViewpointTabs->currentIndex());
    charts::showPie(m_sharePie, views::sharePieTitle(m_session, period, tab),
                    chartPoints(views::sharePie(m_session, period, tab), true));
    refreshItemCharts(m_wariai->currentIndex().column());
}

void THyoutei1Form::refreshItemCharts(int item) {
    if (!isItem(item)) {
        charts::showBars(m_distributionChart, QStringLiteral("分布"), {}, false);
        charts::showBars(m_classMeanChart, QStringLiteral("学級別"), {}, true);
        return;
    }
    const views::ItemDistribution d = views::itemDistribution(m_session.worksheet(), m_session.rows(), item);
    // As many bars as their labels fit side by side; scores above the full score in a pink bar.
    const QFontMetrics metrics(ui::uiFont(9));
    const int labelWidth = metrics.horizontalAdvance(QStringLiteral("000〜")) + 12;
    const int maxBars = std::max(1, (m_distributionChart->width() - 100) / labelWidth);
    std::vector<charts::Point> bars;
    for (const views::DistributionBar &bar :
         views::distributionBars(d, m_session.worksheet().item(item).fullScore, maxBars))
        bars.push_back(
            {bar.label, double(bar.count), bar.aboveFull ? QColor(255, 192, 192) : QColor(96, 144, 208)});
    charts::showColouredBars(m_distributionChart, QStringLiteral("分布"), bars);
    m_countLabel->setText(d.countText());
    m_meanLabel->setText(d.meanText());
    std::vector<charts::Point> means;
    for (const views::ClassMean &m : views::classMeans(m_session, item))
        means.push_back({m.label, m.mean, QColor(240, 160, 96)});
    charts::showBars(m_classMeanChart, QStringLiteral("学級別"), means, true);
}

// ---- Individual analysis ----

void THyoutei1Form::refillStudentList(bool announce) {
    const bool byAchievement = m_byAttainment->isChecked();
    std::vector<editing::StudentLine> lines = byAchievement
                                                  ? editing::studentsByAchievement(m_session, m_period)
                                                  : editing::studentsByClass(m_session);
    if (lines.empty() && byAchievement && announce)
        m_platform.prompter->message(QStringLiteral("Tavro"), editing::noMatchMessage());
    showStudentLines(std::move(lines));
}

void THyoutei1Form::showStudentLines(std::vector<editing::StudentLine> lines) {
    m_studentLines = std::move(lines);
    const QSignalBlocker block(m_studentList);
    m_studentList->clear();
    for (const editing::StudentLine &line : m_studentLines)
        m_studentList->addItem(line.text);
    m_studentList->setCurrentRow(m_studentLines.empty() ? -1 : 0);
    showStudent(m_studentList->currentRow());
}

void THyoutei1Form::filterClick(editing::Filter filter) {
    if (!isPeriod(m_period))
        return;
    std::vector<editing::StudentLine> lines = editing::filteredStudents(m_session, m_period, filter);
    if (lines.empty()) {
        m_platform.prompter->message(QStringLiteral("Tavro"), editing::noMatchMessage());
        refillStudentList();
        return;
    }
    showStudentLines(std::move(lines));
}

void THyoutei1Form::memoChange(int period) {
    const int row = m_studentList->currentRow();
    if (row < 0 || row >= int(m_studentLines.size()))
        return;
    const int slot = m_studentLines[std::size_t(row)].slot;
    QLineEdit *edit = m_comments[std::size_t(period - 1)];
    // At most 76 bytes: a typed character that does not fit is refused, a paste is cut and says so.
    const editing::CommentFit fit = editing::fitComment(m_session.results().at(period, slot).comment,
                                                        edit->text(), edit->cursorPosition());
    if (fit.dropped > 0) {
        edit->setText(fit.text);
        edit->setCursorPosition(fit.cursor);
        if (fit.inserted > 1)
            m_platform.prompter->message(kCaption, editing::commentCutMessage(fit.dropped),
                                         Prompter::Icon::Information);
        else if (m_platform.sound)
            m_platform.sound->beep();
    }
    QString reason;
    if (!editing::setComment(m_session, period, slot, edit->text(), &reason) && !reason.isEmpty())
        m_platform.prompter->message(kCaption, reason, Prompter::Icon::Warning);
    // The edit shows what was stored: a refused text goes back, a long one is cut.
    const QString &stored = m_session.results().at(period, slot).comment;
    if (edit->text() != stored) {
        const int cursor = edit->cursorPosition();
        edit->setText(stored);
        edit->setCursorPosition(std::min(cursor, int(stored.size())));
    }
    m_pasteModel->refreshRow(m_session.rowOfSlot(slot));
}

void THyoutei1Form::stepStudent(int delta) {
    const int row = m_studentList->currentRow() + delta;
    if (row >= 0 && row < m_studentList->count())
        m_studentList->setCurrentRow(row);
}

void THyoutei1Form::showStudent(int listRow) {
    if (listRow < 0 || listRow >= int(m_studentLines.size())) {
        m_studentLabel->clear();
        m_analysisGrid->setRowCount(0);
        for (QLineEdit *edit : m_comments)
            edit->clear();
        return;
    }
    const int slot = m_studentLines[std::size_t(listRow)].slot;
    m_studentLabel->setText(m_session.classLabel(classOfSlot(slot)) + QString::number(numberOfSlot(slot)) +
                            QStringLiteral("番 ") + m_session.nameOf(slot) + QStringLiteral("  (") +
                            m_session.readingOf(slot) + QLatin1Char(')'));

    const std::vector<views::AnalysisRow> rows = views::analysisRows(m_session, slot);
    m_analysisGrid->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const views::AnalysisRow &a = rows[std::size_t(r)];
        const QString texts[] = {QString::number(a.item), a.kind,       a.name, a.score, a.full,
                                 a.standardScore,         a.achievement};
        for (int c = 0; c < 7; ++c) {
            auto *cell = new QTableWidgetItem(texts[c]);
            if (c == 1)
                cell->setBackground(kindColor(m_session.worksheet().item(a.item).kind));
            if (c != 2)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_analysisGrid->setItem(r, c, cell);
        }
    }

    const auto &periods = m_session.periods();
    m_periodGrid->setRowCount(int(periods.size()));
    m_kindGrid->setRowCount(int(periods.size()));
    for (int r = 0; r < int(periods.size()); ++r) {
        const int k = periods[std::size_t(r)].number;
        const StudentResult &result = m_session.results().at(k, slot);
        const QString label = views::periodListText(k, periods[std::size_t(r)].name);
        setCell(m_periodGrid, r, 0, label);
        setCell(m_periodGrid, r, 1, result.evaluation);
        setCell(m_periodGrid, r, 2, result.percentage < 0 ? QString() : views::fixed2(result.percentage),
                QColor(Qt::blue));
        for (int v = 1; v <= kViewpoints; ++v) {
            const float p = result.viewpointPercentages[std::size_t(v - 1)];
            setCell(m_periodGrid, r, 2 + v,
                    result.marks[std::size_t(v - 1)] +
                        (p < 0 ? QString() : QLatin1Char(' ') + views::fixed2(p)),
                    QColor(0, 128, 0));
        }
        setCell(m_kindGrid, r, 0, label);
        setCell(m_kindGrid, r, 1, views::attainmentByKind(m_session.worksheet(), slot, k));
        m_comments[std::size_t(k - 1)]->setText(result.comment);
    }

    // Earlier grades of the same student seat.
    const EarlierGrades &earlier = m_session.earlierGrades();
    m_historyGrid->setRowCount(0);
    for (int y = 1; y <= earlier.count; ++y) {
        const EvaluationResults *past = earlier.year(y);
        if (!past)
            continue;
        for (int k = 1; k <= kPeriods; ++k) {
            const StudentResult &result = past->at(k, slot);
            if (result.evaluation.isEmpty() && result.percentage < 0)
                continue;
            const int r = m_historyGrid->rowCount();
            m_historyGrid->insertRow(r);
            setCell(m_historyGrid, r, 0,
                    QStringLiteral("%1年生 ").arg(m_session.context().grade - y) + views::periodNumeral(k));
            setCell(m_historyGrid, r, 1, result.evaluation);
            setCell(m_historyGrid, r, 2, result.percentage < 0 ? QString() : views::fixed2(result.percentage),
                    QColor(Qt::blue));
            for (int v = 1; v <= kViewpoints; ++v) {
                const float p = result.viewpointPercentages[std::size_t(v - 1)];
                setCell(m_historyGrid, r, 2 + v,
                        result.marks[std::size_t(v - 1)] +
                            (p < 0 ? QString() : QLatin1Char(' ') + views::fixed2(p)),
                        QColor(0, 128, 0));
            }
        }
    }
}

// ---- Editing commands ----

void THyoutei1Form::buildCopyPasteMenu() {
    m_copyPaste = new QMenu(this);
    m_copyPaste->setObjectName(QStringLiteral("CopyPaste"));
    const auto add = [this](const char *name, const QString &text, void (THyoutei1Form::*handler)()) {
        QAction *action = m_copyPaste->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        if (handler)
            connect(action, &QAction::triggered, this, handler);
        return action;
    };
    m_copyAction = add("Copy1", QStringLiteral("コピー(&C)"), &THyoutei1Form::copyClick);
    m_pasteAction = add("Paste1", QStringLiteral("貼り付け(&V)"), &THyoutei1Form::pasteClick);
    m_cutAction = add("Cut1", QStringLiteral("切り取り(&X)"), nullptr);
    m_cutAction->setEnabled(false);
    m_deleteAction = add("Delete1", QStringLiteral("削除(&D)"), &THyoutei1Form::deleteClick);
    m_copyPaste->addSeparator();
    m_copyAllAction = add("CopyAll", QStringLiteral("すべてをコピー(&A)"), &THyoutei1Form::copyAllClick);
    m_koumuAction = add("koumu_copy", QStringLiteral("校務支援用にコピー"), &THyoutei1Form::koumuCopyClick);
    m_copyPaste->addSeparator();
    const undoactions::Actions undo =
        undoactions::addToMenu(m_copyPaste, [this](bool redo) { undoClick(redo); });
    m_undoAction = undo.undo;
    m_redoAction = undo.redo;
}

void THyoutei1Form::attachCopyPaste(QTableView *grid) {
    std::vector<QTableView *> views{grid};
    if (auto *frozen = qobject_cast<FrozenTableView *>(grid))
        views.push_back(frozen->frozenView());
    for (QTableView *view : views) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this, [this, grid, view](const QPoint &pos) {
            copyPastePopup(grid);
            m_copyPaste->exec(view->viewport()->mapToGlobal(pos));
        });
    }
    const std::pair<QKeySequence::StandardKey, QAction *> keys[] = {{QKeySequence::Copy, m_copyAction},
                                                                    {QKeySequence::Paste, m_pasteAction}};
    for (const auto &[key, item] : keys) {
        auto *shortcut = new QAction(grid);
        shortcut->setShortcut(key);
        shortcut->setShortcutContext(Qt::WidgetShortcut);
        connect(shortcut, &QAction::triggered, this, [this, grid, item] {
            copyPastePopup(grid);
            if (item->isEnabled())
                item->trigger();
        });
        grid->addAction(shortcut);
    }
    undoactions::installShortcuts(grid, [this](bool redo) { undoClick(redo); });
    // Characters typed into a cell are one step until the cursor leaves it.
    connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { m_session.endTyping(); });
}

void THyoutei1Form::copyPastePopup(QTableView *grid) {
    m_menuGrid = grid;
    const bool readOnly = m_session.readOnly();
    const bool ratios = grid == m_kantenGrid || grid == m_wariai || grid == m_importGrid;
    m_copyAction->setEnabled(true);
    m_pasteAction->setEnabled(!readOnly && (ratios || grid == m_tokuten));
    m_cutAction->setEnabled(false);
    m_deleteAction->setEnabled(!readOnly && ratios);
    m_copyAllAction->setEnabled(!ratios && grid != m_tokuten);
    m_koumuAction->setEnabled(grid == m_hyouteiGrid && !m_session.context().elective);
    m_undoAction->setEnabled(m_session.canUndo());
    m_redoAction->setEnabled(m_session.canRedo());
}

QRect THyoutei1Form::selectedCells(QTableView *grid) const {
    QRect cells;
    for (const QItemSelectionRange &range : grid->selectionModel()->selection())
        cells |= QRect(QPoint(range.left(), range.top()), QPoint(range.right(), range.bottom()));
    if (cells.isEmpty() && grid->currentIndex().isValid())
        cells = QRect(grid->currentIndex().column(), grid->currentIndex().row(), 1, 1);
    return cells;
}

void THyoutei1Form::copyClick() {
    if (!m_menuGrid)
        return;
    const QRect cells = selectedCells(m_menuGrid);
    if (cells.isEmpty())
        return;
    const QAbstractItemModel *model = m_menuGrid->model();
    QList<QStringList> lines;
    for (int row = cells.top(); row <= cells.bottom(); ++row) {
        QStringList line;
        for (int column = cells.left(); column <= cells.right(); ++column)
            line << model->index(row, column).data().toString();
        lines << line;
    }
    m_platform.clipboard->setText(exchange::rangeText(lines));
}

void THyoutei1Form::pasteClick() {
    QTableView *grid = m_menuGrid;
    if (!grid || m_session.readOnly())
        return;
    const QString text = m_platform.clipboard->text();
    const QRect cells = selectedCells(grid);
    if (text.isEmpty() || cells.isEmpty())
        return;
    // The grids' coordinates count the header as row 0.
    const int row = cells.top() + 1;
    const int column = cells.left();
    editing::PasteOutcome outcome;
    if (grid == m_tokuten) {
        outcome = editing::pasteScores(m_session, text, row, column);
        for (int changed : outcome.rows)
            m_scoreModel->refreshRow(changed);
        scoreCellChanged(m_tokuten->currentIndex());
    } else if (grid == m_kantenGrid || grid == m_wariai) {
        outcome = grid == m_kantenGrid ? editing::pasteViewpointRatios(m_session, text, row, column)
                                       : editing::pasteItemRatios(m_session, text, row, column);
        if (outcome.stored > 0)
            afterRatioEdit();
    } else if (grid == m_importGrid) {
        outcome = editing::pastePercentages(m_session, text, row, column, pastePeriod(), *m_platform.prompter,
                                            *m_platform.clock);
        if (outcome.stored > 0)
            afterPercentageEdit();
    }
    refreshStatus();
    const editing::CellKind kind = grid == m_tokuten      ? editing::CellKind::Score
                                   : grid == m_importGrid ? editing::CellKind::Text
                                                          : editing::CellKind::Number;
    QStringList notes;
    if (outcome.refused > 0)
        notes.append(editing::refusedCellsMessage(outcome.refused, kind));
    if (outcome.cutComments > 0)
        notes.append(editing::cutCommentsMessage(outcome.cutComments));
    if (!notes.isEmpty())
        m_platform.prompter->message(kCaption, notes.join(QStringLiteral("\r\n")), Prompter::Icon::Warning);
}

void THyoutei1Form::deleteClick() {
    QTableView *grid = m_menuGrid;
    if (!grid || m_session.readOnly())
        return;
    const QRect cells = selectedCells(grid);
    if (cells.isEmpty())
        return;
    const int top = cells.top() + 1;
    const int bottom = cells.bottom() + 1;
    if (grid == m_kantenGrid || grid == m_wariai) {
        if (grid == m_kantenGrid)
            editing::deleteViewpointRatios(m_session, top, cells.left(), bottom, cells.right());
        else
            editing::deleteItemRatios(m_session, top, cells.left(), bottom, cells.right());
        afterRatioEdit();
    } else if (grid == m_importGrid) {
        if (editing::deletePercentages(m_session, pastePeriod(), top, cells.left(), bottom, cells.right(),
                                       *m_platform.prompter, *m_platform.clock))
            afterPercentageEdit();
    }
    refreshStatus();
}

void THyoutei1Form::afterRatioEdit() {
    m_viewpointModel->refreshAll();
    m_itemRatioModel->refreshAll();
    refreshViewpointCharts();
    refreshSharePie();
}

void THyoutei1Form::afterPercentageEdit() {
    m_pasteModel->refreshAll();
    m_resultModel->refreshAll();
    refreshNinzu();
    if (m_byAttainment->isChecked())
        refillStudentList();
    noteHistoryCleared();
}

void THyoutei1Form::copyAllClick() {
    QString text;
    if (m_menuGrid == m_hyouteiGrid) {
        text = exchange::resultsAllText(m_session, m_period);
    } else if (m_menuGrid == m_analysisGrid) {
        const int row = m_studentList->currentRow();
        if (row < 0 || row >= int(m_studentLines.size()))
            return;
        const int slot = m_studentLines[std::size_t(row)].slot;
        text = exchange::analysisAllText(exchange::analysisHeading1(m_session, slot),
                                         exchange::analysisHeading2(m_session, slot),
                                         views::analysisRows(m_session, slot));
    } else {
        return;
    }
    m_platform.clipboard->setText(text);
    m_platform.prompter->message(kCaption, exchange::copiedMessage());
}

void THyoutei1Form::koumuCopyClick() {
    if (m_menuGrid != m_hyouteiGrid || m_session.context().elective)
        return;
    m_platform.clipboard->setText(exchange::achievementsText(m_session, m_period, 1));
    m_platform.prompter->message(kCaption, exchange::copiedMessage());
}

void THyoutei1Form::showClearMenu() {
    if (m_culcButton->isEnabled())
        m_clearMenu->exec(m_culcButton->mapToGlobal(QPoint(0, m_culcButton->height())));
}

void THyoutei1Form::hyouteiClearClick(int period) {
    if (m_session.readOnly() || !m_session.periodPermitted(period))
        return;
    const auto &periods = m_session.periods();
    for (std::size_t i = 0; i < periods.size(); ++i)
        if (periods[i].number == period)
            m_hyouteiSelect->setCurrentIndex(int(i));
    QString status, error;
    const bool cleared =
        editing::clearPeriod(m_session, period, *m_platform.prompter, *m_platform.clock, &status, &error);
    if (!cleared && error.isEmpty())
        return;
    m_resultModel->refreshAll();
    m_pasteModel->refreshAll();
    refreshNinzu();
    refreshStatus();
    if (m_byAttainment->isChecked())
        refillStudentList();
    m_status[4]->setText(cleared ? status : QString());
    noteHistoryCleared(status);
    if (!error.isEmpty())
        m_platform.prompter->message(kCaption, error, Prompter::Icon::Warning);
}

void THyoutei1Form::protectClick(bool on) {
    const int column = m_tokuten->currentIndex().column();
    if (m_session.readOnly() || column < evaluationui::ScoreModel::kFixed)
        return;
    editing::protectUpTo(m_session, column - 2, on);
    m_scoreModel->refreshAll();
    refreshStatus();
}

void THyoutei1Form::yearEndClick() {
    if (!editing::copyYearEndRatios(m_session))
        return;
    m_itemRatioModel->refreshAll();
    refreshViewpointCharts();
    refreshSharePie();
    refreshStatus();
}

void THyoutei1Form::closeClick() {
    if (m_session.readOnly()) {
        m_skipSave = true;
        return;
    }
    switch (m_platform.prompter->ask(editing::closeCaption(m_session), editing::closeQuestion(),
                                     Prompter::Buttons::YesNoCancel, Prompter::Answer::Yes,
                                     Prompter::Icon::Question)) {
    case Prompter::Answer::No:
        m_skipSave = true;
        reject();
        break;
    case Prompter::Answer::Yes:
        reject();
        break;
    default:
        break;
    }
}

int THyoutei1Form::pastePeriod() const {
    const int index = m_pastePeriod->currentIndex();
    const auto &periods = m_session.periods();
    return index >= 0 && index < int(periods.size()) ? periods[std::size_t(index)].number : 0;
}

void THyoutei1Form::pastePeriodChosen(int index) {
    const auto &periods = m_session.periods();
    if (index < 0 || index >= int(periods.size()))
        return;
    m_pasteModel->setPeriod(periods[std::size_t(index)].number);
    if (m_hyouteiSelect->currentIndex() != index)
        m_hyouteiSelect->setCurrentIndex(index);
    else
        refreshStatus();
}

} // namespace tavro
