#include "evaluation/ui/ScorePage.h"

#include "evaluation/Editing.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/ui/EvaluationModels.h"
#include "evaluation/ui/Hyoutei1Form.h"
#include "evaluation/ui/HyouteiPropForm.h"
#include "evaluation/ui/ItemRatioPage.h"
#include "evaluation/ui/KoumokuImportForm.h"
#include "platform/SoundPlayer.h"
#include "widgets/FrozenTableView.h"

#include <QAction>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tavro::evaluationui {

using gridkeys::Key;
using gridkeys::KeyPress;

ScorePage::ScorePage(THyoutei1Form &form)
    : EvaluationPage(form), m_scoreModel(std::make_unique<ScoreModel>(m_session)) {
    auto *layout = new QVBoxLayout(this);

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
    connect(m_koumokuButton, &QPushButton::clicked, this, &ScorePage::koumokuClick);
    m_importButton = new QPushButton(QStringLiteral("取込"));
    m_importButton->setObjectName(QStringLiteral("KoumokuImportButton"));
    m_importButton->setToolTip(QStringLiteral("他の教師の項目を取り込みます"));
    connect(m_importButton, &QPushButton::clicked, this, &ScorePage::koumokuImportClick);
    m_mikomiButton = new QPushButton(QStringLiteral("自動見込み"));
    m_mikomiButton->setObjectName(QStringLiteral("MikomiCulc"));
    m_mikomiButton->setToolTip(QStringLiteral("見込み点の算出をします。"));
    connect(m_mikomiButton, &QPushButton::clicked, this, &ScorePage::mikomiClick);
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

    m_tokuten = new FrozenTableView(ScoreModel::kFixed);
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
    connect(m_classTabs, &QTabBar::currentChanged, this, &ScorePage::classTabClicked);
    layout->addWidget(m_classTabs);
}

ScorePage::~ScorePage() = default;

void ScorePage::addClassTabs() {
    if (!m_session.context().elective)
        for (int cls : m_session.classes()) {
            const QString label =
                m_session.context().classType ? QString::number(cls) : QString(QChar(64 + cls));
            m_classTabs->addTab(QStringLiteral(" ") + label + QStringLiteral("組M"));
            m_classTabs->addTab(QStringLiteral(" ") + label + QStringLiteral("組F"));
        }
    m_classTabs->setVisible(m_classTabs->count() > 0);
}

void ScorePage::opened() {
    // The cursor on the highest-numbered item with a kind.
    int lastItem = 1;
    for (int item = kMaxItems; item >= 1; --item)
        if (m_session.worksheet().item(item).kind != itemkind::kNone) {
            lastItem = item;
            break;
        }
    if (!m_session.rows().empty())
        m_tokuten->setCurrentIndex(m_scoreModel->index(0, ScoreModel::kFixed + lastItem - 1));
    showItemPanels(lastItem);

    const bool readOnly = m_session.readOnly();
    m_koumokuButton->setEnabled(!readOnly);
    m_importButton->setEnabled(!readOnly);
    m_mikomiButton->setEnabled(!readOnly);
    m_hogoButton->setEnabled(!readOnly);
}

void ScorePage::applyFont(const QFont &font) {
    const QFontMetrics metrics(font);
    const int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    m_tokuten->setGridFont(font);
    const int name = metrics.horizontalAdvance(QStringLiteral("氏名氏名氏名氏名")) + digit * 2;
    // Default sizes first: setting one resizes every section.
    m_tokuten->horizontalHeader()->setDefaultSectionSize(digit * 6);
    m_tokuten->setColumnWidth(0, digit * 5);
    m_tokuten->setColumnWidth(1, digit * 5);
    m_tokuten->setColumnWidth(2, name);
}

// ---- Keys ----

bool ScorePage::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress && watched == m_tokuten)
        return tokutenKey(static_cast<QKeyEvent *>(event));
    if (event->type() == QEvent::MouseButtonRelease && (watched == m_kindPanel || watched == m_namePanel)) {
        if (m_koumokuButton->isEnabled())
            koumokuClick();
        return true;
    }
    return EvaluationPage::eventFilter(watched, event);
}

bool ScorePage::tokutenKey(QKeyEvent *event) {
    const QModelIndex current = m_tokuten->currentIndex();
    const std::optional<KeyPress> key = keyPressOf(event);
    if (!current.isValid() || !key)
        return false;
    const int row = current.row();
    if (key->key == Key::Enter || key->key == Key::Space) {
        const gridkeys::RowMove move = gridkeys::nextRow(m_session.rowNames(), row);
        m_tokuten->setCurrentIndex(m_scoreModel->index(move.row, current.column()));
        if (move.chime && m_form.soundOn() && m_platform.sound)
            m_platform.sound->play(gridkeys::kChimeSound);
        return true;
    }
    if (current.column() < ScoreModel::kFixed)
        return false;
    const int item = current.column() - ScoreModel::kFixed + 1;
    const gridkeys::KeyResult result = m_session.scoreKey(row, item, *key);
    if (!result.handled)
        return false;
    if (result.beep && m_platform.sound)
        m_platform.sound->beep();
    if (result.changed) {
        m_scoreModel->refreshScore(row, item);
        m_form.refreshStatus();
        scoreCellChanged(current);
    }
    m_form.speak(result.digit);
    return true;
}

// ---- Score page ----

void ScorePage::scoreCellChanged(const QModelIndex &current) {
    if (!current.isValid())
        return;
    const int slot = m_session.rows()[std::size_t(current.row())];
    const int cls = classOfSlot(slot);
    QString text = m_session.classLabel(cls) + QString::number(numberOfSlot(slot)) + QStringLiteral("番 ") +
                   m_session.nameOf(slot) + QLatin1Char('(') + m_session.readingOf(slot) + QLatin1Char(')');
    if (current.column() >= ScoreModel::kFixed) {
        const int item = current.column() - ScoreModel::kFixed + 1;
        showItemPanels(item);
        const int code = m_session.worksheet().score(item, slot);
        const int full = m_session.worksheet().item(item).fullScore;
        const int value = code >= 0 ? code : score::isEstimate(code) ? score::estimateValue(code) : -1;
        if (value >= 0 && full >= 1)
            text += QStringLiteral("[到達度]") + views::fixed2(value * 100.0 / full);
    }
    m_form.setStatusText(4, text);

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

void ScorePage::classTabClicked(int index) {
    if (m_syncingTabs || index < 0 || m_session.rows().empty())
        return;
    const int row = std::min(30 * index, int(m_session.rows().size()) - 1);
    const int column = std::max(m_tokuten->currentIndex().column(), ScoreModel::kFixed);
    m_tokuten->scrollTo(m_scoreModel->index(row, column), QAbstractItemView::PositionAtTop);
    m_syncingTabs = true;
    m_tokuten->setCurrentIndex(m_scoreModel->index(row, column));
    m_syncingTabs = false;
    m_tokuten->setFocus();
}

void ScorePage::showItemPanels(int item) {
    const WorksheetItem &it = m_session.worksheet().item(item);
    m_kindPanel->setText(views::kindShortName(it.kind));
    const QColor colour = kindColor(it.kind);
    // A new style sheet repolishes the panel and lays out the page again: set only a changed one.
    const QString sheet =
        colour.isValid() ? QStringLiteral("QLabel { background: %1; }").arg(colour.name()) : QString();
    if (m_kindPanel->styleSheet() != sheet)
        m_kindPanel->setStyleSheet(sheet);
    m_namePanel->setText(it.name);
}

void ScorePage::koumokuClick() {
    if (m_session.readOnly())
        return;
    const int column = m_tokuten->currentIndex().column();
    if (column < ScoreModel::kFixed)
        return;
    const int item = column - ScoreModel::kFixed + 1;
    THyouteiPropForm dialog(m_session, item, *m_platform.prompter, &m_form);
    dialog.move(m_kindPanel->mapToGlobal(QPoint(0, m_kindPanel->height() + 2)));
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_scoreModel->refreshAll();
    m_form.itemRatioPage().model().refreshAll();
    showItemPanels(item);
    m_form.refreshStatus();
    m_tokuten->setFocus();
}

void ScorePage::koumokuImportClick() {
    if (m_session.readOnly())
        return;
    TKoumokuImportForm dialog(m_session, *m_platform.prompter, &m_form);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_scoreModel->refreshAll();
    m_form.itemRatioPage().model().refreshAll();
    const int column = m_tokuten->currentIndex().column();
    if (column >= ScoreModel::kFixed)
        showItemPanels(column - ScoreModel::kFixed + 1);
    m_form.refreshStatus();
    m_tokuten->setFocus();
}

void ScorePage::mikomiClick() {
    if (m_session.readOnly())
        return;
    if (!m_session.autoEstimate().empty())
        m_scoreModel->refreshAll();
    m_form.refreshStatus();
}

void ScorePage::protectClick(bool on) {
    const int column = m_tokuten->currentIndex().column();
    if (m_session.readOnly() || column < ScoreModel::kFixed)
        return;
    editing::protectUpTo(m_session, column - 2, on);
    m_scoreModel->refreshAll();
    m_form.refreshStatus();
}

} // namespace tavro::evaluationui
