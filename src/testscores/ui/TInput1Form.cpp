#include "testscores/ui/TInput1Form.h"

#include "common/NumberText.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/SoundPlayer.h"
#include "reports/TestPrints.h"
#include "reports/ui/DialogPrintTarget.h"
#include "reports/ui/PrintPreview.h"
#include "testscores/ui/ScoreEntryModel.h"
#include "testscores/ui/TTestMantenForm.h"
#include "testscores/ui/TTestMantenGakuForm.h"
#include "widgets/ChartBuilders.h"
#include "widgets/GridDelegate.h"
#include "widgets/PreviewButton.h"
#include "widgets/SoundControls.h"
#include "widgets/UiFont.h"
#include "widgets/UndoActions.h"

#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace tavro {

using scoreentry::Cursor;
using scoreentry::Move;
using scoreentryui::ScoreEntryModel;

namespace {

const QString kCaption = QStringLiteral("TAVRO");

enum Page { GridPage, AveragePage, DistributionPage };

// The model's colours as they are (no focus or hover tint), and a line under every fifth row.
class EntryCellDelegate final : public GridDelegate {
public:
    using GridDelegate::GridDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyleOptionViewItem plain(option);
        plain.state &= ~(QStyle::State_HasFocus | QStyle::State_Selected | QStyle::State_MouseOver);
        GridDelegate::paint(painter, plain, index);
        if ((index.row() + 1) % 5 == 0) {
            painter->save();
            painter->setPen(QPen(QColor(64, 64, 64), 1));
            painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
            painter->restore();
        }
    }
};

QPushButton *barButton(const QString &text, const QString &name, bool checkable = false) {
    auto *b = new QPushButton(text);
    b->setObjectName(name);
    b->setCheckable(checkable);
    b->setAutoDefault(false);
    b->setMinimumWidth(72);
    return b;
}

double roundedMean(double value) {
    return std::round(value * 1000.0) / 1000.0;
}

} // namespace

TInput1Form::TInput1Form(ScoreEntryContext context, const Platform &platform, QWidget *parent)
    : QDialog(parent), m_session(std::move(context)), m_platform(platform),
      m_model(std::make_unique<ScoreEntryModel>(m_session)) {
    setObjectName(QStringLiteral("Input1Form"));
    setModal(true);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setFont(ui::fixedFont(10));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(buildTopBar());

    m_views = new QStackedWidget;
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("InputGrid"));
    m_grid->setModel(m_model.get());
    m_grid->setFont(ui::fixedFont(12));
    m_grid->setSelectionMode(QAbstractItemView::NoSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setTabKeyNavigation(false);
    m_grid->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QHeaderView *header = m_grid->horizontalHeader();
    header->setFont(ui::fixedFont(11));
    header->setSectionsClickable(false);
    const QFontMetrics metrics(m_grid->font());
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (c % ScoreEntryModel::kBlockColumns == 0) {
            header->setSectionResizeMode(c, QHeaderView::Stretch);
        } else {
            header->setSectionResizeMode(c, QHeaderView::Fixed);
            m_grid->setColumnWidth(c, metrics.horizontalAdvance(QStringLiteral("観①")) + 16);
        }
    }
    m_grid->setMinimumWidth(2 * (metrics.horizontalAdvance(QStringLiteral("60 氏名氏名氏名氏")) +
                                 6 * (metrics.horizontalAdvance(QStringLiteral("観①")) + 16)));
    m_grid->setItemDelegate(new EntryCellDelegate(m_grid));
    m_grid->installEventFilter(this);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QTableView::pressed, this, &TInput1Form::cellPressed);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_menu->exec(m_grid->viewport()->mapToGlobal(at)); });
    m_views->addWidget(m_grid);
    m_averageChart = charts::newChartView(QStringLiteral("HeikinChart"));
    m_distributionChart = charts::newChartView(QStringLiteral("BunpuChart"));
    m_views->addWidget(m_averageChart);
    m_views->addWidget(m_distributionChart);
    layout->addWidget(m_views, 1);
    layout->addWidget(buildBottomBar());

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("GridMenu"));
    auto *copy = m_menu->addAction(QStringLiteral("コピー(&C)"));
    auto *cut = m_menu->addAction(QStringLiteral("切り取り(&X)"));
    m_pasteAction = m_menu->addAction(QStringLiteral("貼り付け(&V)"));
    m_pasteAction->setObjectName(QStringLiteral("PasteAction"));
    auto *erase = m_menu->addAction(QStringLiteral("削除(&D)"));
    for (QAction *a : {copy, cut, erase})
        a->setEnabled(false);
    m_menu->addSeparator();
    const undoactions::Actions undo = undoactions::addToMenu(m_menu, [this](bool redo) { undoClick(redo); });
    m_undoAction = undo.undo;
    m_redoAction = undo.redo;
    connect(m_menu, &QMenu::aboutToShow, this, [this] {
        m_undoAction->setEnabled(m_loaded && m_session.canUndo());
        m_redoAction->setEnabled(m_loaded && m_session.canRedo());
    });
    m_menu->addSeparator();
    QAction *copyAll = m_menu->addAction(QStringLiteral("すべてをコピー(&A)"));
    copyAll->setObjectName(QStringLiteral("CopyAllAction"));
    connect(m_pasteAction, &QAction::triggered, this, &TInput1Form::pasteClick);
    connect(copyAll, &QAction::triggered, this, &TInput1Form::copyAllClick);
}

TInput1Form::~TInput1Form() = default;

QWidget *TInput1Form::buildTopBar() {
    auto *bar = new QWidget;
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("Panel2"));
    m_summary->setFont(ui::fixedFont(12));
    m_summary->setFrameShape(QFrame::Panel);
    m_summary->setFrameShadow(QFrame::Sunken);
    m_summary->setAutoFillBackground(true);
    m_summary->setMargin(4);
    m_summary->setCursor(Qt::PointingHandCursor);
    m_summary->setToolTip(QStringLiteral("クリックすると満点を設定します"));
    m_summary->installEventFilter(this);
    row->addWidget(m_summary);

    m_mantenButton = barButton(QStringLiteral("満点"), QStringLiteral("MantenButton"));
    connect(m_mantenButton, &QPushButton::clicked, this, &TInput1Form::mantenClick);
    row->addWidget(m_mantenButton);
    m_averageButton = barButton(QStringLiteral("平均点"), QStringLiteral("HeikinButton"), true);
    connect(m_averageButton, &QPushButton::toggled, this, [this](bool on) {
        if (on)
            showAverageChart();
        else if (m_views->currentIndex() == AveragePage)
            showView(GridPage);
    });
    row->addWidget(m_averageButton);
    m_distributionButton = barButton(QStringLiteral("分布"), QStringLiteral("BunpuButton"), true);
    connect(m_distributionButton, &QPushButton::toggled, this, [this](bool on) {
        if (on)
            showDistributionChart();
        else if (m_views->currentIndex() == DistributionPage)
            showView(GridPage);
    });
    row->addWidget(m_distributionButton);
    auto *print = barButton(QStringLiteral("印刷"), QStringLiteral("PrintButton"));
    connect(print, &QPushButton::clicked, this, &TInput1Form::printClick);
    row->addWidget(print);
    QPushButton *preview = ui::previewButtonFor(print);
    connect(preview, &QPushButton::clicked, this, &TInput1Form::previewClick);
    row->addWidget(preview);
    row->addSpacing(16);

    m_sound = new SoundControls(m_platform.sound, this);
    m_sound->soundButton()->setMinimumWidth(60);
    row->addWidget(m_sound->soundButton());
    row->addWidget(m_sound->voiceButton());
    row->addStretch(1);
    auto *back = barButton(QStringLiteral("もどる"), QStringLiteral("ModoruButton"));
    back->setMinimumWidth(90);
    connect(back, &QPushButton::clicked, this, &TInput1Form::reject);
    row->addWidget(back);
    return bar;
}

QWidget *TInput1Form::buildBottomBar() {
    auto *bar = new QWidget;
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    m_tabs = new QTabBar;
    m_tabs->setObjectName(QStringLiteral("TabSet1"));
    m_tabs->setShape(QTabBar::RoundedSouth);
    m_tabs->setExpanding(false);
    m_tabs->setFocusPolicy(Qt::NoFocus);
    m_tabs->setFont(ui::fixedFont(11));
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int tab) {
        if (m_syncingTabs || tab < 0)
            return;
        const Cursor &c = m_session.cursor();
        m_session.setCursor(tab, c.row, c.column);
        showHalf();
        m_grid->setFocus();
    });
    row->addWidget(m_tabs);
    row->addStretch(1);
    m_average = new QLabel;
    m_average->setObjectName(QStringLiteral("HeikinPanel"));
    m_average->setFont(ui::fixedFont(12));
    m_average->setFrameShape(QFrame::Panel);
    m_average->setFrameShadow(QFrame::Sunken);
    m_average->setMinimumWidth(
        QFontMetrics(m_average->font()).horizontalAdvance(QStringLiteral("平均 100.00 ")) + 12);
    row->addWidget(m_average);
    auto *hint = new QLabel(QStringLiteral("次の先頭[N]"));
    hint->setObjectName(QStringLiteral("HintPanel"));
    hint->setStyleSheet(QStringLiteral("QLabel { color: #1f3f7a; padding: 0 6px; }"));
    row->addWidget(hint);
    return bar;
}

bool TInput1Form::load() {
    m_loaded = false;
    if (!m_session.load(*m_platform.prompter))
        return false;
    m_loaded = true;
    m_syncingTabs = true;
    while (m_tabs->count() > 0)
        m_tabs->removeTab(0);
    for (int t = 0; t < m_session.tabCount(); ++t)
        m_tabs->addTab(m_session.tabText(t));
    m_syncingTabs = false;
    refreshSummary();
    showHalf();
    refreshAverage();
    m_sound->restore(m_platform.userStore, true);
    const bool readOnly = m_session.readOnly();
    m_mantenButton->setEnabled(!readOnly);
    m_pasteAction->setEnabled(!readOnly);
    m_summary->setCursor(readOnly ? Qt::ArrowCursor : Qt::PointingHandCursor);
    m_grid->setFocus();
    return true;
}

void TInput1Form::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!m_loaded && m_session.tabCount() == 0 && !load())
        QMetaObject::invokeMethod(this, &TInput1Form::reject, Qt::QueuedConnection);
}

void TInput1Form::reject() {
    if (m_loaded) {
        if (!m_session.closeQuery(*m_platform.prompter)) {
            showView(GridPage);
            showHalf();
            return;
        }
        m_sound->store(m_platform.userStore);
    }
    QDialog::reject();
}

// ---- Showing ----

void TInput1Form::showHalf() {
    setWindowTitle(m_session.caption());
    m_syncingTabs = true;
    m_tabs->setCurrentIndex(m_session.cursor().tab);
    m_syncingTabs = false;
    m_model->refreshAll();
    const Cursor &c = m_session.cursor();
    m_grid->setCurrentIndex(m_model->indexOf(c.row, c.column));
}

void TInput1Form::refreshCursor(const Cursor &before) {
    const Cursor &c = m_session.cursor();
    if (before.tab != c.tab) {
        showHalf();
        return;
    }
    m_model->refreshRow(before.row);
    if (c.row != before.row)
        m_model->refreshRow(c.row);
    m_grid->setCurrentIndex(m_model->indexOf(c.row, c.column));
}

void TInput1Form::refreshSummary() {
    m_summary->setText(m_session.fullScoreSummary());
    QPalette palette = m_summary->palette();
    palette.setColor(QPalette::Window,
                     m_session.fullScoreWarning() ? QColor(255, 0, 0) : QColor(255, 255, 255));
    m_summary->setPalette(palette);
}

void TInput1Form::refreshAverage() {
    m_average->setText(m_session.averageText());
    if (m_views->currentIndex() == AveragePage)
        showAverageChart();
    else if (m_views->currentIndex() == DistributionPage)
        showDistributionChart();
}

void TInput1Form::showView(int page) {
    m_views->setCurrentIndex(page);
    const QSignalBlocker a(m_averageButton);
    const QSignalBlocker d(m_distributionButton);
    m_averageButton->setChecked(page == AveragePage);
    m_distributionButton->setChecked(page == DistributionPage);
    if (page == GridPage)
        m_grid->setFocus();
}

void TInput1Form::showAverageChart() {
    QStringList categories;
    std::vector<charts::BarSet> sets{{QStringLiteral("M（1～30番）"), QColor(192, 192, 255), {}},
                                     {QStringLiteral("F（31～60番）"), QColor(255, 192, 192), {}},
                                     {QStringLiteral("学級全体"), QColor(192, 255, 192), {}}};
    // Horizontal bars stack from the bottom: the last class first puts class 1 on top.
    for (int i = int(m_session.classes().size()) - 1; i >= 0; --i) {
        categories << m_session.classMark(m_session.classes()[std::size_t(i)]) + QStringLiteral("組");
        sets[0].values.push_back(roundedMean(m_session.classMean(i, 0)));
        sets[1].values.push_back(roundedMean(m_session.classMean(i, 1)));
        sets[2].values.push_back(roundedMean(m_session.classMean(i, -1)));
    }
    const std::optional<double> mean = m_session.gradeAverage();
    const QString title = QStringLiteral("学級別平均点グラフ - 全体") +
                          (mean ? numbertext::fixed(*mean, 2, 3) : QStringLiteral("0")) +
                          QStringLiteral("点");
    charts::showGroupedBars(m_averageChart, title, categories, sets, QStringLiteral("点"), true);
    showView(AveragePage);
}

void TInput1Form::showDistributionChart() {
    const std::vector<int> counts = m_session.distribution();
    charts::showHistogram(m_distributionChart, QStringLiteral("分布図"), counts,
                          ScoreEntrySession::distributionRange(counts), QColor(128, 255, 0),
                          QStringLiteral("得点"), QStringLiteral("人数"));
    showView(DistributionPage);
}

// ---- Keys and mouse ----

bool TInput1Form::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_grid && event->type() == QEvent::KeyPress)
        return gridKey(static_cast<QKeyEvent *>(event));
    if (watched == m_summary && event->type() == QEvent::MouseButtonRelease) {
        if (m_mantenButton->isEnabled())
            mantenClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool TInput1Form::gridKey(QKeyEvent *event) {
    if (!m_loaded || m_views->currentIndex() != GridPage)
        return false;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (ctrl && (event->key() == Qt::Key_Z || event->key() == Qt::Key_Y)) {
        undoClick(event->key() == Qt::Key_Y || (event->modifiers() & Qt::ShiftModifier));
        return true;
    }
    const Cursor before = m_session.cursor();
    ScoreEntrySession::KeyOutcome out;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        out = m_session.navigate(Move::Enter, false);
        break;
    case Qt::Key_Down:
        out = m_session.navigate(Move::Down, ctrl);
        break;
    case Qt::Key_Up:
        out = m_session.navigate(Move::Up, ctrl);
        break;
    case Qt::Key_Right:
        out = m_session.navigate(Move::Right, ctrl);
        break;
    case Qt::Key_Left:
        out = m_session.navigate(Move::Left, ctrl);
        break;
    case Qt::Key_Home:
        out = m_session.navigate(Move::Home, ctrl);
        break;
    case Qt::Key_End:
        out = m_session.navigate(Move::End, ctrl);
        break;
    case Qt::Key_PageUp:
        out = m_session.navigate(Move::PageUp, ctrl);
        break;
    case Qt::Key_PageDown:
        out = m_session.navigate(Move::PageDown, ctrl);
        break;
    case Qt::Key_Delete:
        out = m_session.deleteKey();
        break;
    case Qt::Key_Backspace:
        out = m_session.backspace();
        break;
    default: {
        if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        const QString text = event->text();
        if (text.size() != 1 || !text.at(0).isPrint())
            return false;
        out = m_session.character(text.at(0));
        break;
    }
    }
    if (!out.handled)
        return false;
    if (out.beep && m_platform.sound)
        m_platform.sound->beep();
    if (out.changed) {
        m_model->refreshRow(before.row);
        refreshAverage();
    }
    refreshCursor(before);
    m_sound->speak(out.digit);
    if (out.chime)
        m_sound->chime();
    if (out.noFullScore)
        m_platform.prompter->message(kCaption, noFullScoreMessage(), Prompter::Icon::Warning);
    return true;
}

void TInput1Form::cellPressed(const QModelIndex &index) {
    if (!m_loaded || !index.isValid())
        return;
    const Cursor before = m_session.cursor();
    int row = 0, field = 0;
    ScoreEntryModel::cellOf(index, row, field);
    m_session.setCursor(before.tab, row, field < 0 ? before.column : field);
    refreshCursor(before);
}

// ---- Commands ----

void TInput1Form::mantenClick() {
    if (!m_loaded || m_session.readOnly())
        return;
    const TestScoreRecord &full = m_session.fullScores();
    QString error;
    bool ok = true;
    if (m_session.byViewpoint()) {
        TTestMantenForm dialog({full[1], full[2], full[3], full[4], full[5], full[6]}, m_session.kanten(),
                               this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        ok = m_session.setViewpointFullScores(dialog.values(), &error);
    } else {
        TTestMantenGakuForm dialog(full[0], this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        ok = m_session.setTotalFullScore(dialog.total(), &error);
    }
    refreshSummary();
    m_model->refreshAll();
    if (!ok)
        m_platform.prompter->message(kCaption, error, Prompter::Icon::Warning);
    m_grid->setFocus();
}

void TInput1Form::pasteClick() {
    if (!m_loaded || m_session.readOnly() || !m_platform.clipboard)
        return;
    const ScoreEntrySession::PasteOutcome out = m_session.paste(m_platform.clipboard->text());
    if (out.refused) {
        if (!out.message.isEmpty())
            m_platform.prompter->message(kCaption, out.message, Prompter::Icon::Warning);
        return;
    }
    m_model->refreshAll();
    refreshAverage();
}

void TInput1Form::undoClick(bool redo) {
    if (!m_loaded || m_session.readOnly())
        return;
    QString error;
    const bool done = redo ? m_session.redo(&error) : m_session.undo(&error);
    if (!done && error.isEmpty()) {
        if (m_platform.sound)
            m_platform.sound->beep();
        return;
    }
    showHalf();
    refreshSummary();
    refreshAverage();
    if (!error.isEmpty())
        m_platform.prompter->message(kCaption, error, Prompter::Icon::Warning);
    m_grid->setFocus();
}

void TInput1Form::copyAllClick() {
    if (!m_loaded || !m_platform.clipboard)
        return;
    m_platform.clipboard->setText(m_session.copyAllText());
    m_platform.prompter->message(kCaption, copyFinishedMessage());
}

void TInput1Form::printClick() {
    DialogPrintTarget dialog(this);
    reportPrint(printOn(m_printTarget ? *m_printTarget : dialog));
}

void TInput1Form::previewClick() {
    reportPrint(showPrintPreview(this, [this](PrintTarget &target) { return printOn(target); }));
}

reports::PrintOutcome TInput1Form::printOn(PrintTarget &target) {
    return reports::printScoreList(reports::ScoreListData::fromSession(m_session), target,
                                   m_platform.clock->now());
}

void TInput1Form::reportPrint(const reports::PrintOutcome &out) {
    if (!out.printed && !out.cancelled && !out.error.isEmpty())
        m_platform.prompter->message(QStringLiteral("TAVRO"), out.error, Prompter::Icon::Warning);
}

} // namespace tavro
