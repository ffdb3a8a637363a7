#include "config/ui/NameEditForm.h"
#include "widgets/UiFont.h"

#include "platform/Clipboard.h"
#include "platform/Prompter.h"
#include "widgets/UndoActions.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>
#include <functional>

namespace tavro {

namespace {

QString u(const char *text) {
    return QString::fromUtf8(text);
}

QFont japaneseFont(qreal pointSize, bool proportional = true) {
    return proportional ? ui::uiFont(pointSize) : ui::fixedFont(pointSize);
}

QPushButton *commandButton(const QString &name, const QString &text, const QString &hint = QString()) {
    auto *b = new QPushButton(text);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setMinimumSize(112, 30);
    // Enter in the grid must never press a button of the dialog.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

// Grid row r (1..) is model row r - 1; row 0 is the horizontal header.
int gridRow(const QModelIndex &index) {
    return index.row() + 1;
}

const QColor kGroupLine(192, 192, 192);

} // namespace

// The grid's model, reading the editor's slots directly.
class RosterTableModel final : public QAbstractTableModel {
public:
    RosterTableModel(RosterEditor &editor, std::function<void(const QString &)> refuse, QObject *parent)
        : QAbstractTableModel(parent), m_editor(editor), m_refuse(std::move(refuse)) {}

    int rowCount(const QModelIndex &parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : m_editor.lastRow();
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : RosterEditor::kColumns;
    }

    QVariant data(const QModelIndex &index, int role) const override {
        if (!index.isValid())
            return QVariant();
        const bool fixed = index.column() < RosterEditor::kFirstDataColumn;
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return m_editor.cell(gridRow(index), index.column());
        case Qt::TextAlignmentRole:
            return fixed ? int(Qt::AlignCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::BackgroundRole:
            return fixed ? QVariant(QColor(0xe8, 0xe8, 0xe8)) : QVariant();
        case Qt::ForegroundRole:
            return fixed ? QVariant(QColor(Qt::black)) : QVariant();
        default:
            return QVariant();
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return RosterEditor::columnCaption(section);
        if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return QVariant();
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override {
        // The class and number columns are fixed: never current, selected or edited.
        if (!index.isValid() || !RosterEditor::isEditable(gridRow(index), index.column()))
            return Qt::ItemNeverHasChildren;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemNeverHasChildren;
    }

    bool setData(const QModelIndex &index, const QVariant &value, int role) override {
        if (!index.isValid() || role != Qt::EditRole)
            return false;
        QString error;
        if (!m_editor.setCell(gridRow(index), index.column(), value.toString(), &error)) {
            if (!error.isEmpty() && m_refuse)
                m_refuse(error);
            return false;
        }
        emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
        return true;
    }

    // Grid rows and columns of cells changed behind the model's back.
    void cellsChanged(const CellRange &range) {
        if (range.isValid())
            emit dataChanged(index(range.top - 1, range.left), index(range.bottom - 1, range.right));
    }
    void columnChanged(int first, int last) {
        if (rowCount() > 0)
            emit dataChanged(index(0, first), index(rowCount() - 1, last));
    }

private:
    RosterEditor &m_editor;
    std::function<void(const QString &)> m_refuse;
};

namespace {

// In-place editor that refuses characters code page 932 cannot hold as they are typed, and the
// grey line above every group of five rows.
class RosterDelegate final : public QStyledItemDelegate {
public:
    RosterDelegate(std::function<void(const QString &)> refuse, QObject *parent)
        : QStyledItemDelegate(parent), m_refuse(std::move(refuse)) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override {
        auto *edit = new QLineEdit(parent);
        edit->setFrame(false);
        QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, refuse = m_refuse](const QString &text) {
            const QString message = RosterEditor::refusedTextMessage(text);
            if (message.isEmpty()) {
                edit->setProperty(kLastGood, text);
                return;
            }
            const QString good = edit->property(kLastGood).toString();
            const qsizetype pos = edit->cursorPosition() - (text.size() - good.size());
            edit->setText(good);
            edit->setCursorPosition(int(qBound(qsizetype(0), pos, good.size())));
            refuse(message);
        });
        return edit;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override {
        QStyledItemDelegate::setEditorData(editor, index);
        if (auto *edit = qobject_cast<QLineEdit *>(editor))
            edit->setProperty(kLastGood, edit->text());
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        if (index.column() >= RosterEditor::kFirstDataColumn &&
            RosterEditor::startsGroupOfFive(gridRow(index))) {
            painter->save();
            painter->setPen(kGroupLine);
            painter->drawLine(option.rect.topLeft(), option.rect.topRight());
            painter->restore();
        }
    }

private:
    static constexpr const char *kLastGood = "lastGoodText";
    std::function<void(const QString &)> m_refuse;
};

// The grid: one line per wheel notch, the keyboard never stops on the fixed columns.
class RosterGridView final : public QTableView {
public:
    using QTableView::QTableView;

    // Commits and closes an open in-place editor.
    void finishEditing() {
        if (state() != EditingState)
            return;
        if (QWidget *editor = indexWidget(currentIndex())) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }

protected:
    void wheelEvent(QWheelEvent *event) override {
        const int delta = event->angleDelta().y();
        if (delta == 0 || (event->modifiers() & Qt::ControlModifier)) {
            QTableView::wheelEvent(event);
            return;
        }
        m_wheelRest += delta;
        const int notches = m_wheelRest / QWheelEvent::DefaultDeltasPerStep;
        m_wheelRest -= notches * QWheelEvent::DefaultDeltasPerStep;
        verticalScrollBar()->setValue(verticalScrollBar()->value() - notches);
        event->accept();
    }

    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        const QModelIndex next = QTableView::moveCursor(action, modifiers);
        if (next.isValid() && next.column() < RosterEditor::kFirstDataColumn)
            return currentIndex();
        return next;
    }

private:
    int m_wheelRest = 0;
};

RosterGridView *gridView(QTableView *view) {
    return static_cast<RosterGridView *>(view);
}

} // namespace

TNameEditForm::TNameEditForm(const Platform &platform, const QString &mainCaption, int nendo,
                             const QString &gakunen, const QString &dataFolder, bool classType,
                             QWidget *parent)
    : QDialog(parent), m_platform(platform),
      m_editor(RosterEditor::open(dataFolder, nendo, gakunen.toInt(), classType)) {
    setObjectName(u("NameEditForm"));
    setWindowTitle(mainCaption + u(" - ") + QString::number(nendo) + u("年度 ") + gakunen + u("年生 "));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setFont(japaneseFont(10));

    const auto refuse = [this](const QString &message) { this->refuse(message); };
    m_model = new RosterTableModel(m_editor, refuse, this);

    m_grid = new RosterGridView;
    m_grid->setObjectName(u("NameGrid"));
    m_grid->setFont(japaneseFont(10.5, false));
    m_grid->setModel(m_model);
    m_grid->setItemDelegate(new RosterDelegate(refuse, m_grid));
    m_grid->verticalHeader()->hide();
    m_grid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_grid->setTabKeyNavigation(true);
    m_grid->setWordWrap(false);
    m_grid->setCornerButtonEnabled(false);
    m_grid->setStyleSheet(u("QTableView { gridline-color: #d8d8d8; selection-background-color: #cfe0f7;"
                            " selection-color: black; }"));
    QHeaderView *header = m_grid->horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setDefaultAlignment(Qt::AlignCenter);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this, &TNameEditForm::gridContextMenu);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TNameEditForm::gridCurrentChanged);
    multiSelectClick(false);

    m_tabs = new QTabBar;
    m_tabs->setObjectName(u("ClassTabs"));
    m_tabs->setShape(QTabBar::RoundedSouth);
    m_tabs->setExpanding(false);
    m_tabs->setUsesScrollButtons(true);
    m_tabs->setDrawBase(false);
    m_tabs->setFocusPolicy(Qt::NoFocus);
    for (int t = 0; t < m_editor.tabCount(); ++t)
        m_tabs->addTab(m_editor.tabCaption(t));
    connect(m_tabs, &QTabBar::tabBarClicked, this, &TNameEditForm::tabClick);
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (!m_syncingTabs)
            tabClick(index);
    });

    m_statusBar = new QStatusBar;
    m_statusBar->setObjectName(u("StatusBar"));
    m_statusBar->setSizeGripEnabled(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_grid, 1);
    auto *tabsRow = new QHBoxLayout;
    tabsRow->setContentsMargins(4, 0, 4, 0);
    tabsRow->addWidget(m_tabs);
    tabsRow->addStretch(1);
    layout->addLayout(tabsRow);
    layout->addWidget(buildBottomPanel());
    layout->addWidget(m_statusBar);

    buildMenu();
    applySizes();
    if (m_editor.lastRow() > 0)
        goToRow(1);
    else
        m_statusBar->showMessage(
            u("この学年の学級数が0です。「各種設定」で学級数を設定すると、名簿を入力できます。"));
    // Maximised, and sized to the screen for when no window manager maximises it.
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    resize(screen ? screen->availableGeometry().size() : QSize(1024, 720));
    setWindowState(Qt::WindowMaximized);
}

TNameEditForm::~TNameEditForm() = default;

QWidget *TNameEditForm::buildBottomPanel() {
    auto *panel = new QWidget;
    panel->setObjectName(u("BottomPanel"));
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(10, 8, 10, 8);
    row->setSpacing(10);

    m_multiSelect = new QCheckBox(u("複数セル選択モード"));
    m_multiSelect->setObjectName(u("MultiSelectCheck"));
    m_multiSelect->setToolTip(u("クリップボードからの貼り付けを有効にします。"));
    connect(m_multiSelect, &QCheckBox::toggled, this, &TNameEditForm::multiSelectClick);

    m_furigana =
        commandButton(u("FuriganaButton"), u("ふりがな変換"), u("ふりがなをすべてひらがなに変換します。"));
    connect(m_furigana, &QPushButton::clicked, this, &TNameEditForm::furiganaClick);
    m_history = commandButton(u("HistoryButton"), u("履歴自動作成"),
                              u("過去の氏名ファイルを分析し、履歴を作成します。"));
    connect(m_history, &QPushButton::clicked, this, &TNameEditForm::historyClick);
    m_back = commandButton(u("BackButton"), u("もどる"));
    connect(m_back, &QPushButton::clicked, this, &TNameEditForm::reject);

    m_note = new QLabel(u("転出は全角の「＊」。貼り付けなどは、右クリック。"));
    m_note->setObjectName(u("NoteLabel"));
    m_note->setStyleSheet(u("QLabel { color: #1f3f7a; }"));

    row->addWidget(m_multiSelect);
    row->addSpacing(12);
    row->addWidget(m_furigana);
    row->addWidget(m_history);
    row->addSpacing(16);
    row->addWidget(m_note);
    row->addStretch(1);
    row->addWidget(m_back);
    return panel;
}

void TNameEditForm::buildMenu() {
    m_popup = new QMenu(this);
    m_popup->setObjectName(u("GridMenu"));
    const auto add = [this](const char *name, const QString &text, const QKeySequence &key, auto handler) {
        auto *action = new QAction(text, this);
        action->setObjectName(u(name));
        if (!key.isEmpty()) {
            action->setShortcut(key);
            action->setShortcutContext(Qt::WidgetShortcut);
            action->setShortcutVisibleInContextMenu(true);
        }
        connect(action, &QAction::triggered, this, handler);
        m_grid->addAction(action);
        m_popup->addAction(action);
    };
    add("CopyAction", u("コピー(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C), &TNameEditForm::copyClick);
    add("CutAction", u("切り取り(&X)"), QKeySequence(Qt::CTRL | Qt::Key_X), &TNameEditForm::cutClick);
    add("PasteAction", u("貼り付け(&P)"), QKeySequence(Qt::CTRL | Qt::Key_V), &TNameEditForm::pasteClick);
    m_popup->addSeparator();
    add("DeleteAction", u("削除(&D)"), QKeySequence(), &TNameEditForm::deleteClick);
    m_popup->addSeparator();
    const auto undo = [this](bool redo) { undoClick(redo); };
    const undoactions::Actions actions = undoactions::addToMenu(m_popup, undo);
    undoactions::installShortcuts(m_grid, undo);
    connect(m_popup, &QMenu::aboutToShow, this, [this, actions] {
        actions.undo->setEnabled(m_editor.canUndo());
        actions.redo->setEnabled(m_editor.canRedo());
    });
}

void TNameEditForm::applySizes() {
    const QFont font = m_grid->font();
    const int unit = int(std::lround(font.pointSizeF() * m_grid->logicalDpiY() / 72.0));
    QHeaderView *rows = m_grid->verticalHeader();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(RosterEditor::rowHeight(unit));
    rows->setSectionResizeMode(QHeaderView::Fixed);
    for (int c = 0; c < RosterEditor::kColumns; ++c)
        m_grid->setColumnWidth(c, RosterEditor::columnWidth(c, unit));
    m_grid->horizontalHeader()->setFixedHeight(RosterEditor::rowHeight(unit) + 6);
}

void TNameEditForm::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!m_editor.loadError().isEmpty() && !m_loadErrorShown) {
        m_loadErrorShown = true;
        QTimer::singleShot(0, this, [this] {
            m_platform.prompter->message(u("TAVRO"), m_editor.loadError(), Prompter::Icon::Error);
        });
    }
}

void TNameEditForm::keyPressEvent(QKeyEvent *event) {
    // Esc alone does not close the roster: only the close box and "もどる" do, after the question.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TNameEditForm::reject() {
    gridView(m_grid)->finishEditing();
    if (m_editor.closeQuery(*m_platform.prompter))
        QDialog::reject();
}

void TNameEditForm::refuse(const QString &message) {
    // Shown after the key that caused it has been handled, so the editor is not torn down under it.
    QTimer::singleShot(0, this, [this, message] {
        m_platform.prompter->message(u("TAVRO"), message, Prompter::Icon::Warning);
    });
}

int TNameEditForm::currentRow() const {
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? gridRow(current) : 1;
}

int TNameEditForm::currentColumn() const {
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? qMax(current.column(), int(RosterEditor::kFirstDataColumn))
                             : RosterEditor::kFirstDataColumn;
}

CellRange TNameEditForm::selectedRange() const {
    const QItemSelection selection = m_grid->selectionModel()->selection();
    if (selection.isEmpty()) {
        const int r = currentRow();
        const int c = currentColumn();
        return {r, c, r, c};
    }
    CellRange range{INT_MAX, INT_MAX, -1, -1};
    for (const QItemSelectionRange &part : selection) {
        range.top = qMin(range.top, part.top() + 1);
        range.bottom = qMax(range.bottom, part.bottom() + 1);
        range.left = qMin(range.left, part.left());
        range.right = qMax(range.right, part.right());
    }
    range.left = qMax(range.left, int(RosterEditor::kFirstDataColumn));
    return range;
}

void TNameEditForm::goToRow(int row) {
    if (row < 1 || row > m_editor.lastRow())
        return;
    gridView(m_grid)->finishEditing();
    const QModelIndex index = m_model->index(row - 1, currentColumn());
    m_grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_grid->scrollTo(index, QAbstractItemView::PositionAtTop);
}

void TNameEditForm::tabClick(int index) {
    if (index < 0)
        return;
    goToRow(RosterEditor::firstRowOfTab(index));
    m_grid->setFocus();
}

void TNameEditForm::gridCurrentChanged() {
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return;
    m_syncingTabs = true;
    m_tabs->setCurrentIndex(RosterEditor::tabForRow(gridRow(current)));
    m_syncingTabs = false;
}

void TNameEditForm::multiSelectClick(bool on) {
    gridView(m_grid)->finishEditing();
    if (on) {
        m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    } else {
        m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                                QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
        m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
        const QModelIndex current = m_grid->currentIndex();
        if (current.isValid())
            m_grid->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
    }
}

void TNameEditForm::gridContextMenu(const QPoint &pos) {
    gridView(m_grid)->finishEditing();
    m_popup->popup(m_grid->viewport()->mapToGlobal(pos));
}

void TNameEditForm::copyClick() {
    m_platform.clipboard->setText(m_editor.copyText(selectedRange()));
}

void TNameEditForm::cutClick() {
    const CellRange range = selectedRange();
    m_platform.clipboard->setText(m_editor.copyText(range));
    m_editor.clear(range);
    m_model->cellsChanged(range);
}

void TNameEditForm::pasteClick() {
    gridView(m_grid)->finishEditing();
    CellRange changed;
    QString error;
    if (!m_editor.paste(m_platform.clipboard->text(), currentRow(), currentColumn(), &changed, &error)) {
        m_platform.prompter->message(u("TAVRO"), error, Prompter::Icon::Warning);
        return;
    }
    m_model->cellsChanged(changed);
}

void TNameEditForm::deleteClick() {
    const CellRange range = selectedRange();
    m_editor.clear(range);
    m_model->cellsChanged(range);
}

void TNameEditForm::undoClick(bool redo) {
    gridView(m_grid)->finishEditing();
    CellRange changed;
    if (redo ? m_editor.redo(&changed) : m_editor.undo(&changed))
        m_model->cellsChanged(changed);
}

void TNameEditForm::furiganaClick() {
    gridView(m_grid)->finishEditing();
    m_editor.convertFurigana();
    m_model->columnChanged(RosterEditor::kFuriganaColumn, RosterEditor::kFuriganaColumn);
}

void TNameEditForm::historyClick() {
    gridView(m_grid)->finishEditing();
    const bool ran = m_editor.buildHistory(*m_platform.prompter, [this](const QString &text) {
        if (text == m_statusBar->currentMessage())
            return;
        m_statusBar->showMessage(text);
        m_statusBar->repaint();
    });
    m_statusBar->clearMessage();
    if (ran)
        m_model->columnChanged(RosterEditor::kFuriganaColumn + 1, RosterEditor::kColumns - 1);
}

} // namespace tavro
