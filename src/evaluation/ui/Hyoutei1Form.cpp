#include "evaluation/ui/Hyoutei1Form.h"

#include "evaluation/GridKeys.h"
#include "evaluation/WorksheetViews.h"
#include "evaluation/ui/AnalysisPage.h"
#include "evaluation/ui/EvaluationModels.h"
#include "evaluation/ui/ItemRatioPage.h"
#include "evaluation/ui/PastePage.h"
#include "evaluation/ui/ResultPage.h"
#include "evaluation/ui/ScorePage.h"
#include "evaluation/ui/ViewpointRatioPage.h"
#include "exchange/ResultCopies.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/SoundPlayer.h"
#include "platform/UserStore.h"
#include "widgets/FrozenTableView.h"
#include "widgets/UiFont.h"
#include "widgets/UndoActions.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tavro {

using evaluationui::dateTimeText;
using evaluationui::kCaption;

namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kHyoutei = QStringLiteral("Hyoutei");

} // namespace

THyoutei1Form::THyoutei1Form(EvaluationContext context, const Platform &platform, QWidget *parent)
    : QDialog(parent), m_session(std::move(context)), m_platform(platform) {
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
    m_scorePage = new evaluationui::ScorePage(*this);
    m_viewpointPage = new evaluationui::ViewpointRatioPage(*this);
    m_itemRatioPage = new evaluationui::ItemRatioPage(*this);
    m_resultPage = new evaluationui::ResultPage(*this);
    m_analysisPage = new evaluationui::AnalysisPage(*this);
    m_pages->addTab(m_scorePage, QStringLiteral("得点入力"));
    m_pages->addTab(m_viewpointPage, QStringLiteral("観点割合"));
    m_pages->addTab(m_itemRatioPage, QStringLiteral("満点・項目割合"));
    m_pages->addTab(m_resultPage, QStringLiteral("評定算出"));
    m_pages->addTab(m_analysisPage, QStringLiteral("個人分析"));
    m_pastePage = new evaluationui::PastePage(*this);
    layout->addWidget(m_pages, 1);
    m_tokuten = m_scorePage->grid();
    m_kantenGrid = m_viewpointPage->grid();
    m_wariai = m_itemRatioPage->grid();
    m_hyouteiGrid = m_resultPage->grid();
    m_analysisGrid = m_analysisPage->grid();
    m_importGrid = m_pastePage->grid();

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
        if (page == m_viewpointPage)
            m_viewpointPage->refreshViewpointCharts();
        else if (page == m_itemRatioPage)
            m_itemRatioPage->refreshSharePie();
        else if (page == m_analysisPage)
            m_analysisPage->showCurrentStudent();
        else if (page == m_pastePage)
            m_pastePage->showChosenPeriod();
    });
}

THyoutei1Form::~THyoutei1Form() {
    // The paste page is no child of the window unless it became a tab.
    if (!m_pastePage->parent())
        delete m_pastePage;
}

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
    m_itemRatioPage->addPeriods();
    m_resultPage->addPeriods();
    m_pastePage->addPeriods();

    // Rows appear with the load; later changes only repaint.
    for (evaluationui::SessionModel *model : std::initializer_list<evaluationui::SessionModel *>{
             &m_scorePage->model(), &m_resultPage->model(), &m_viewpointPage->model(),
             &m_itemRatioPage->model(), &m_pastePage->model()})
        model->reloadRows();

    m_scorePage->addClassTabs();

    restoreUserState();

    m_scorePage->opened();
    m_itemRatioPage->opened();
    m_resultPage->opened();
    m_analysisPage->opened();
    const YearSettings &settings = m_session.settings();
    if (!m_session.readOnly() && (settings.toutatuPaste || settings.commentPaste))
        m_pages->addTab(m_pastePage, QStringLiteral("データ貼り付け"));

    m_analysisPage->refillStudentList();
    m_resultPage->refreshNinzu();
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
    QComboBox *select = m_resultPage->periodSelect();
    select->setCurrentIndex(selected >= 0 && selected < select->count() ? selected : 0);
    selectPeriod(select->currentIndex());
    if (store) {
        m_pages->setCurrentIndex(store->readInt(kHyoutei, QStringLiteral("PageControl1"), 0) % 4);
        m_viewpointPage->chartTabs()->setCurrentIndex(
            store->readInt(kHyoutei, QStringLiteral("PageControl2"), 0));
        m_analysisPage->tabs()->setCurrentIndex(store->readInt(kHyoutei, QStringLiteral("PageControl3"), 0));
        m_resultPage->ninzuTabs()->setCurrentIndex(
            store->readInt(kHyoutei, QStringLiteral("PageControl4"), 0));
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
    store->writeInt(kHyoutei, selectKey, std::max(0, m_resultPage->periodSelect()->currentIndex()));
    store->writeInt(kHyoutei, QStringLiteral("PageControl1"), m_pages->currentIndex());
    store->writeInt(kHyoutei, QStringLiteral("PageControl2"), m_viewpointPage->chartTabs()->currentIndex());
    store->writeInt(kHyoutei, QStringLiteral("PageControl3"), m_analysisPage->tabs()->currentIndex());
    store->writeInt(kHyoutei, QStringLiteral("PageControl4"), m_resultPage->ninzuTabs()->currentIndex());
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
    m_scorePage->applyFont(font);
    m_viewpointPage->applyFont(font);
    m_itemRatioPage->applyFont(font);
    m_resultPage->applyFont(font, m_tokuten);
    m_pastePage->applyFont(font, m_tokuten);
}

void THyoutei1Form::setSoundOn(bool on) {
    m_soundOn = on;
    m_soundButton->setText(on ? QStringLiteral("オン") : QStringLiteral("オフ"));
}

void THyoutei1Form::speak(int digit) {
    if (m_soundOn && digit >= 0 && m_platform.sound)
        m_platform.sound->play(gridkeys::digitSoundName(digit, m_girlsVoice));
}

// ---- Period and status ----

void THyoutei1Form::selectPeriod(int index) {
    const auto &periods = m_session.periods();
    if (index < 0 || index >= int(periods.size()))
        return;
    m_period = periods[std::size_t(index)].number;
    m_resultPage->model().setPeriod(m_period);
    m_resultPage->refreshNinzu();
    refreshStatus();
    if (m_analysisPage->byAttainment())
        m_analysisPage->refillStudentList();
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

void THyoutei1Form::setStatusText(int panel, const QString &text) {
    m_status[std::size_t(panel)]->setText(text);
}

void THyoutei1Form::showPage(int index) {
    m_pages->setCurrentIndex(index);
}

void THyoutei1Form::pasteInto(QTableView *grid) {
    copyPastePopup(grid);
    if (m_pasteAction->isEnabled())
        pasteClick();
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
            m_scorePage->model().refreshRow(changed);
        m_scorePage->scoreCellChanged(m_tokuten->currentIndex());
    } else if (grid == m_kantenGrid || grid == m_wariai) {
        outcome = grid == m_kantenGrid ? editing::pasteViewpointRatios(m_session, text, row, column)
                                       : editing::pasteItemRatios(m_session, text, row, column);
        if (outcome.stored > 0)
            afterRatioEdit();
    } else if (grid == m_importGrid) {
        outcome = editing::pastePercentages(m_session, text, row, column, m_pastePage->pastePeriod(),
                                            *m_platform.prompter, *m_platform.clock);
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
        if (editing::deletePercentages(m_session, m_pastePage->pastePeriod(), top, cells.left(), bottom,
                                       cells.right(), *m_platform.prompter, *m_platform.clock))
            afterPercentageEdit();
    }
    refreshStatus();
}

void THyoutei1Form::afterRatioEdit() {
    m_viewpointPage->model().refreshAll();
    m_itemRatioPage->model().refreshAll();
    m_viewpointPage->refreshViewpointCharts();
    m_itemRatioPage->refreshSharePie();
}

void THyoutei1Form::afterPercentageEdit() {
    m_pastePage->model().refreshAll();
    m_resultPage->model().refreshAll();
    m_resultPage->refreshNinzu();
    if (m_analysisPage->byAttainment())
        m_analysisPage->refillStudentList();
    noteHistoryCleared();
}

void THyoutei1Form::copyAllClick() {
    QString text;
    if (m_menuGrid == m_hyouteiGrid) {
        text = exchange::resultsAllText(m_session, m_period);
    } else if (m_menuGrid == m_analysisGrid) {
        const int slot = m_analysisPage->currentSlot();
        if (slot < 0)
            return;
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

} // namespace tavro
