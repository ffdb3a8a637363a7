#include "evaluation/ui/HyouteiShukeiForm.h"

#include "exchange/GradeTransfer.h"
#include "exchange/ui/TransferShukeiForm.h"
#include "platform/Clipboard.h"
#include "platform/Prompter.h"
#include "reports/ui/PrintHyoutei2Form.h"
#include "widgets/FrozenTableView.h"
#include "widgets/GridDelegate.h"
#include "widgets/UiFont.h"

#include <QAbstractTableModel>
#include <QApplication>
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

namespace {

constexpr int kFixedColumns = 3;
const QColor kPercentText(Qt::red);
const QColor kEvaluationText(0, 128, 0);
const QColor kFiveRowLine(192, 192, 192); // silver

const char *const kObjectNames[3] = {"StringGrid1", "StringGrid2", "StringGrid3"};
const char *const kTabNames[3] = {"TabSet1", "TabSet2", "TabSet3"};

} // namespace

// One of the three grids over the store; model row i is grid row i + 1 (the header is the view's).
class HyouteiShukeiModel final : public QAbstractTableModel {
public:
    HyouteiShukeiModel(const GradeHyouteiStore &store, int grid, QColor buttonFace, QObject *parent)
        : QAbstractTableModel(parent), m_store(store), m_grid(grid), m_buttonFace(buttonFace) {}

    int rowCount(const QModelIndex &parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : m_store.gridRows() - 1;
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : GradeHyouteiStore::gridColumns(m_grid);
    }
    QVariant data(const QModelIndex &index, int role) const override {
        if (!index.isValid())
            return {};
        const int c = index.column();
        const bool marked = c >= 4 && c % 2 == 0; // percentages of grid 1, evaluations of grids 2 and 3
        switch (role) {
        case Qt::DisplayRole:
            return m_store.gridText(m_grid, index.row() + 1, c);
        case Qt::TextAlignmentRole:
            return int(m_grid == 1 && c >= kFixedColumns ? Qt::AlignRight | Qt::AlignVCenter
                                                         : Qt::AlignCenter);
        case Qt::BackgroundRole:
            return c < kFixedColumns ? QVariant(m_buttonFace) : QVariant();
        case Qt::ForegroundRole:
            if (marked)
                return m_grid == 1 ? kPercentText : kEvaluationText;
            return QColor(Qt::black);
        default:
            return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal)
            return {};
        if (role == Qt::DisplayRole)
            return m_store.gridText(m_grid, 0, section);
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
    const GradeHyouteiStore &m_store;
    int m_grid;
    QColor m_buttonFace;
};

namespace {

// The selected cell in button-face colour with a black frame, and the silver line above every five
// students.
class ShukeiDelegate final : public GridDelegate {
public:
    ShukeiDelegate(QColor buttonFace, QObject *parent) : GridDelegate(parent), m_buttonFace(buttonFace) {}
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyleOptionViewItem opt = option;
        const bool selected = opt.state & (QStyle::State_Selected | QStyle::State_HasFocus);
        opt.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        if (selected)
            painter->fillRect(option.rect, m_buttonFace);
        GridDelegate::paint(painter, opt, index);
        painter->save();
        if (index.column() >= kFixedColumns && index.row() >= 1 && index.row() % 5 == 0) {
            painter->setPen(kFiveRowLine);
            painter->drawLine(option.rect.topLeft(), option.rect.topRight());
        }
        if (selected) {
            painter->setPen(QPen(Qt::black, 1));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }

private:
    QColor m_buttonFace;
};

} // namespace

THyouteiShukeiForm::THyouteiShukeiForm(const Platform &platform, const Inputs &inputs, QWidget *parent)
    : QDialog(parent), m_platform(platform), m_inputs(inputs),
      m_store(std::make_unique<GradeHyouteiStore>()) {
    setObjectName(QStringLiteral("HyouteiShukeiForm"));
    setWindowTitle(inputs.mainCaption + QStringLiteral(" - ") + QString::number(inputs.nendo) +
                   QStringLiteral("年度 ") + inputs.gakunen + QStringLiteral("年生 ") +
                   inputs.hyouteiKindName);
    setFont(ui::uiFont(9));

    m_store->load({inputs.dataFolder, inputs.nendo, inputs.gakunen.toInt(), inputs.hyouteiKind,
                   inputs.hyouteiKindName, inputs.schoolKind, inputs.classType});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    auto *top = new QHBoxLayout;
    m_copyButton = new QPushButton(QStringLiteral("コピー"));
    m_copyButton->setObjectName(QStringLiteral("SpeedButton3"));
    auto *menu = new QMenu(m_copyButton);
    menu->setObjectName(QStringLiteral("PopupMenu1"));
    menu->addAction(QStringLiteral("観点評価あり"), this, &THyouteiShukeiForm::N1Click)
        ->setObjectName(QStringLiteral("N1"));
    menu->addAction(QStringLiteral("観点評価なし"), this, &THyouteiShukeiForm::N2Click)
        ->setObjectName(QStringLiteral("N2"));
    m_copyButton->setMenu(menu);
    auto *transfer = new QPushButton(QStringLiteral("校務支援"));
    transfer->setObjectName(QStringLiteral("SpeedButton13"));
    transfer->setToolTip(QStringLiteral("クリップボードにコピーをします。"));
    connect(transfer, &QPushButton::clicked, this, &THyouteiShukeiForm::SpeedButton13Click);
    auto *print = new QPushButton(QStringLiteral("印刷"));
    print->setObjectName(QStringLiteral("SpeedButton1"));
    connect(print, &QPushButton::clicked, this, &THyouteiShukeiForm::SpeedButton1Click);
    auto *back = new QPushButton(QStringLiteral("もどる"));
    back->setObjectName(QStringLiteral("SpeedButton2"));
    back->setToolTip(QStringLiteral("前の画面にもどります。"));
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    for (QPushButton *b : {m_copyButton, transfer, print}) {
        b->setMinimumSize(96, 30);
        b->setAutoDefault(false);
        top->addWidget(b);
    }
    m_experimentLabel = new QLabel(QStringLiteral("一番右の記号は実験段階です。"));
    m_experimentLabel->setObjectName(QStringLiteral("Label1"));
    m_experimentLabel->hide();
    top->addWidget(m_experimentLabel);
    top->addStretch(1);
    back->setMinimumSize(96, 30);
    back->setAutoDefault(false);
    top->addWidget(back);
    layout->addLayout(top);

    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addTab(buildPage(0), QStringLiteral("必修教科"));
    m_pages->addTab(buildPage(1), QStringLiteral("選択教科(一覧・要録用)"));
    m_pages->addTab(buildPage(2), QStringLiteral("選択教科(通知表用)"));
    m_pages->setCurrentIndex(0);
    layout->addWidget(m_pages, 1);
    applySizes();
    resize(1100, 720);
}

THyouteiShukeiForm::~THyouteiShukeiForm() = default;

QWidget *THyouteiShukeiForm::buildPage(int page) {
    auto *w = new QWidget;
    auto *v = new QVBoxLayout(w);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    const QColor buttonFace = palette().color(QPalette::Button);
    FrozenTableView *grid = new FrozenTableView(kFixedColumns);
    grid->setObjectName(QString::fromLatin1(kObjectNames[page]));
    m_models[page] = new HyouteiShukeiModel(*m_store, page + 1, buttonFace, this);
    grid->setModel(m_models[page]);
    for (QTableView *view : {static_cast<QTableView *>(grid), grid->frozenView()}) {
        view->setItemDelegate(new ShukeiDelegate(buttonFace, view));
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->verticalHeader()->hide();
        view->horizontalHeader()->setHighlightSections(false);
    }
    connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, page] { gridCurrentChanged(page); });
    m_grids[page] = grid;
    v->addWidget(grid, 1);

    auto *tabs = new QTabBar;
    tabs->setObjectName(QString::fromLatin1(kTabNames[page]));
    tabs->setShape(QTabBar::RoundedSouth);
    tabs->setExpanding(false);
    for (int c = 1; c <= m_store->classCount(); ++c)
        tabs->addTab(u' ' + (m_inputs.classType ? QString::number(c) : QString(QChar(char16_t(64 + c)))) +
                     QStringLiteral("組 "));
    connect(tabs, &QTabBar::tabBarClicked, this, [this, page](int index) { classTabClick(page, index); });
    m_tabs[page] = tabs;
    v->addWidget(tabs);
    return w;
}

// Rows a font height + 2; columns from the widest text they hold.
void THyouteiShukeiForm::applySizes() {
    const QFont font = ui::fixedFont(10);
    const QFontMetrics metrics(font), headerMetrics(ui::uiFont(9));
    const int fh = QFontInfo(font).pixelSize();
    auto wide = [&](const QString &text) {
        return std::max(metrics.horizontalAdvance(text), headerMetrics.horizontalAdvance(text)) + 10;
    };
    const int classWidth = wide(QStringLiteral("学級"));
    const int nameWidth = std::max(wide(QStringLiteral("氏    名")), 8 * fh + 4);
    const int evaluationWidth = wide(QStringLiteral("保体"));
    const int percentWidth = wide(QStringLiteral("100"));
    const int electiveWidth = wide(QStringLiteral("★重複英語"));
    const int gradeWidth = wide(QStringLiteral("評定"));
    for (int page = 0; page < 3; ++page) {
        FrozenTableView *grid = m_grids[page];
        grid->setGridFont(font);
        grid->verticalHeader()->setDefaultSectionSize(fh + 6);
        grid->frozenView()->verticalHeader()->setDefaultSectionSize(fh + 6);
        grid->horizontalHeader()->setFont(ui::uiFont(9));
        grid->frozenView()->horizontalHeader()->setFont(ui::uiFont(9));
        for (int c = 0; c < GradeHyouteiStore::gridColumns(page + 1); ++c) {
            int width = c < 2 ? classWidth : nameWidth;
            if (c >= kFixedColumns) {
                const bool first = c % 2 == 1;
                if (page == 0)
                    width = c == 23 ? evaluationWidth : first ? evaluationWidth : percentWidth;
                else
                    width = first ? electiveWidth : gradeWidth;
            }
            grid->setColumnWidth(c, width);
        }
    }
}

void THyouteiShukeiForm::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    for (QTabBar *tabs : m_tabs)
        if (tabs->count() > 0)
            tabs->setCurrentIndex(0);
    for (const QString &message : m_store->messages())
        m_platform.prompter->message(QStringLiteral("TAVRO"), message, Prompter::Icon::Warning);
}

void THyouteiShukeiForm::classTabClick(int page, int index) {
    if (page < 0 || page > 2 || index < 0 || index >= m_store->classCount())
        return;
    FrozenTableView *grid = m_grids[page];
    const int column = std::max(grid->currentIndex().column(), kFixedColumns);
    grid->setCurrentIndex(m_models[page]->index(index * kSeatsPerClass, column));
    grid->verticalScrollBar()->setValue(index * kSeatsPerClass);
    m_tabs[page]->setCurrentIndex(index);
}

void THyouteiShukeiForm::gridCurrentChanged(int page) {
    const QModelIndex current = m_grids[page]->currentIndex();
    if (current.isValid())
        m_tabs[page]->setCurrentIndex(current.row() / kSeatsPerClass);
}

void THyouteiShukeiForm::copy(bool viewpoints) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_platform.clipboard->setText(m_store->copyText(viewpoints));
    QApplication::restoreOverrideCursor();
    m_platform.prompter->message(QStringLiteral("TAVRO"), QStringLiteral("転送が終わりました"));
}

void THyouteiShukeiForm::SpeedButton13Click() {
    const QString refused = exchange::schoolKindError(m_inputs.schoolKind);
    if (!refused.isEmpty()) {
        m_platform.prompter->message(QStringLiteral("TAVRO"), refused, Prompter::Icon::Warning);
        return;
    }
    TTransferShukeiForm form(*m_store, windowTitle(), m_platform, this);
    form.exec();
}

void THyouteiShukeiForm::SpeedButton1Click() {
    TPrintHyoutei2Form form(*m_store, windowTitle(), m_platform, m_printTarget, this);
    form.exec();
}

void THyouteiShukeiForm::N1Click() {
    copy(true);
}

void THyouteiShukeiForm::N2Click() {
    copy(false);
}

} // namespace tavro
