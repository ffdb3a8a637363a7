#include "config/ui/TantoForm.h"

#include "platform/Prompter.h"
#include "widgets/FormStyle.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedLayout>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tavro {

namespace {

QString u(const char *text) {
    return QString::fromUtf8(text);
}

const QString kMark = QStringLiteral("○");

} // namespace

TTantoForm::TTantoForm(const Platform &platform, const QString &mainCaption, int nendo,
                       const QString &dataFolder, int schoolKind, QWidget *parent)
    : QDialog(parent), m_platform(platform), m_nendo(nendo), m_dataFolder(dataFolder),
      m_grid(TantoGrid::open(dataFolder, nendo, schoolKind)) {
    setObjectName(u("TantoForm"));
    setWindowTitle(mainCaption + u(" - 担当学級の設定 (") + QString::number(nendo) + u("年度)"));
    setFont(formstyle::japaneseFont(10));

    // Left: grade, kind and subject.
    auto *gakunenLabel = new QLabel(u("学年"));
    m_gakunen = new QComboBox;
    m_gakunen->setObjectName(u("GakunenCombo"));
    for (int g = 1; g <= 6; ++g)
        m_gakunen->addItem(QString::number(g) + u("年生"));
    gakunenLabel->setBuddy(m_gakunen);

    auto *kindBox = new QGroupBox(u("種別"));
    kindBox->setObjectName(u("KindGroup"));
    m_hissu = new QRadioButton(u("必修"));
    m_hissu->setObjectName(u("HissuRadio"));
    m_sentaku = new QRadioButton(u("選択"));
    m_sentaku->setObjectName(u("SentakuRadio"));
    m_hissu->setChecked(true);
    auto *kinds = new QButtonGroup(this);
    kinds->addButton(m_hissu);
    kinds->addButton(m_sentaku);
    auto *kindRow = new QHBoxLayout(kindBox);
    kindRow->addWidget(m_hissu);
    kindRow->addWidget(m_sentaku);
    kindRow->addStretch(1);

    auto *kyoukaLabel = new QLabel(u("教科"));
    m_kyouka = new QListWidget;
    m_kyouka->setObjectName(u("KyoukaList"));
    m_kyouka->setMinimumWidth(150);
    m_kyouka->setStyleSheet(u("QListWidget::item { padding: 3px 6px; }"));
    kyoukaLabel->setBuddy(m_kyouka);

    auto *left = new QVBoxLayout;
    left->addWidget(gakunenLabel);
    left->addWidget(m_gakunen);
    left->addSpacing(6);
    left->addWidget(kindBox);
    left->addSpacing(6);
    left->addWidget(kyoukaLabel);
    left->addWidget(m_kyouka, 1);

    // Right: the grid, or a note when the grade has no classes.
    m_subjectTitle = new QLabel;
    m_subjectTitle->setObjectName(u("SubjectTitle"));
    QFont titleFont = formstyle::japaneseFont(12);
    titleFont.setBold(true);
    m_subjectTitle->setFont(titleFont);

    m_table = new QTableWidget;
    m_table->setObjectName(u("TantoGrid"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setWordWrap(false);
    m_table->setCornerButtonEnabled(false);
    // Selected cells and the headers in the button face colour.
    m_table->setStyleSheet(
        u("QTableWidget { gridline-color: #c8c8c8; selection-background-color: palette(button);"
          " selection-color: black; }"));
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->horizontalHeader()->setDefaultSectionSize(56);
    m_table->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_table->horizontalHeader()->setHighlightSections(true);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_table->verticalHeader()->setHighlightSections(true);
    // Row headers ten full-width characters wide.
    m_table->verticalHeader()->setFixedWidth(
        m_table->fontMetrics().horizontalAdvance(QString(10, QChar(0x3042))) + 12);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    // A left click on a header selects its whole row or column.
    m_table->horizontalHeader()->setSectionsClickable(true);
    m_table->verticalHeader()->setSectionsClickable(true);

    m_empty = new QLabel(u("この学年には学級がありません。\n「各種設定」で学級数を設定してください。"));
    m_empty->setObjectName(u("NoClassLabel"));
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setStyleSheet(formstyle::noteStyle());

    auto *gridHolder = new QWidget;
    auto *stack = new QStackedLayout(gridHolder);
    stack->addWidget(m_table);
    stack->addWidget(m_empty);
    connect(m_table, &QWidget::customContextMenuRequested, this, &TTantoForm::TantoGridContextPopup);

    auto *note = new QLabel(u("※担当する学級のセルを右クリックし、「この学級を担当する」を選んでください。"
                              "もう一度選ぶと解除されます。\n※学級は9学級まで対応しています。"));
    note->setObjectName(u("NoteLabel"));
    note->setStyleSheet(formstyle::noteStyle());

    m_ok = new QPushButton(u("OK"));
    m_ok->setObjectName(u("OKButton"));
    m_ok->setMinimumSize(100, 30);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *right = new QVBoxLayout;
    right->addWidget(m_subjectTitle);
    right->addWidget(gridHolder, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(note, 1);
    bottom->addWidget(m_ok, 0, Qt::AlignBottom);
    right->addLayout(bottom);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(14);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    m_popup = new QMenu(this);
    m_popup->setObjectName(u("TantoMenu"));
    m_tantoAction = new QAction(u("この学級を担当する"), this);
    m_tantoAction->setObjectName(u("TantoAction"));
    m_tantoAction->setCheckable(true);
    m_popup->addAction(m_tantoAction);
    connect(m_tantoAction, &QAction::triggered, this, &TTantoForm::TantoClick);

    connect(m_gakunen, &QComboBox::currentIndexChanged, this, &TTantoForm::GakunenChange);
    connect(m_sentaku, &QRadioButton::toggled, this, &TTantoForm::KindClick);
    connect(m_kyouka, &QListWidget::currentRowChanged, this, &TTantoForm::KyoukaClick);
    connect(m_table, &QTableWidget::currentCellChanged, this, &TTantoForm::currentCellChanged);

    fillSubjects();
    refreshGrid();
    resize(820, 600);
}

TTantoForm::~TTantoForm() = default;

void TTantoForm::done(int result) {
    QString error;
    if (!m_grid.save(m_dataFolder, m_nendo, &error)) {
        const auto answer = m_platform.prompter->ask(
            u("TAVRO"),
            u("担当学級の設定を保存できませんでした。\n") + error + u("\n\n保存せずに閉じますか?"),
            Prompter::Buttons::YesNo, Prompter::Answer::No, Prompter::Icon::Warning);
        if (answer != Prompter::Answer::Yes)
            return;
    }
    QDialog::done(result);
}

void TTantoForm::GakunenChange(int index) {
    m_grid.setGrade(index + 1);
    fillSubjects();
    refreshGrid();
}

void TTantoForm::KindClick(bool elective) {
    m_grid.setKind(elective ? TantoGrid::Kind::Elective : TantoGrid::Kind::Compulsory);
    fillSubjects();
    refreshMarks();
}

void TTantoForm::KyoukaClick(int row) {
    m_grid.setSubjectIndex(row);
    refreshMarks();
}

void TTantoForm::fillSubjects() {
    const QSignalBlocker blocker(m_kyouka);
    m_kyouka->clear();
    m_kyouka->addItems(m_grid.subjects());
    m_kyouka->setCurrentRow(m_grid.subjectIndex());
}

void TTantoForm::refreshGrid() {
    const int columns = m_grid.columnCount();
    m_table->clear();
    m_table->setRowCount(m_grid.rowCount());
    m_table->setColumnCount(columns);
    m_table->setVerticalHeaderLabels(m_grid.rowHeaders());
    QStringList captions;
    for (int c = 0; c < columns; ++c)
        captions.append(TantoGrid::columnCaption(c));
    m_table->setHorizontalHeaderLabels(captions);
    for (int r = 0; r < m_grid.rowCount(); ++r)
        for (int c = 0; c < columns; ++c) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            item->setFont(formstyle::japaneseFont(12));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            m_table->setItem(r, c, item);
        }
    auto *stack = static_cast<QStackedLayout *>(m_table->parentWidget()->layout());
    stack->setCurrentWidget(m_grid.gridVisible() ? static_cast<QWidget *>(m_table) : m_empty);
    refreshMarks();
}

void TTantoForm::refreshMarks() {
    const QString subject = m_grid.subject();
    if (subject.isEmpty())
        m_subjectTitle->setText(QString::number(m_grid.grade()) +
                                (m_grid.kind() == TantoGrid::Kind::Elective
                                     ? u("年生 - この学年には選択教科がありません。")
                                     : u("年生")));
    else
        m_subjectTitle->setText(QString::number(m_grid.grade()) + u("年生  ") + subject);
    for (int r = 0; r < m_table->rowCount(); ++r)
        for (int c = 0; c < m_table->columnCount(); ++c)
            if (QTableWidgetItem *item = m_table->item(r, c))
                item->setText(m_grid.isMarked(r, c) ? kMark : QString());
    updateAction();
}

void TTantoForm::currentCellChanged() {
    updateAction();
}

void TTantoForm::updateAction() {
    const int row = m_table->currentRow();
    const int column = m_table->currentColumn();
    m_tantoAction->setEnabled(m_grid.gridVisible() && m_grid.canToggle(row, column));
    m_tantoAction->setChecked(m_grid.isMarked(row, column));
}

void TTantoForm::TantoGridContextPopup(const QPoint &pos) {
    const QModelIndex index = m_table->indexAt(pos);
    if (!index.isValid())
        return;
    m_table->setCurrentCell(index.row(), index.column());
    QString reason;
    if (!m_grid.canToggle(index.row(), index.column(), &reason)) {
        m_platform.prompter->message(u("TAVRO"), reason);
        return;
    }
    updateAction();
    m_popup->exec(m_table->viewport()->mapToGlobal(pos));
}

void TTantoForm::TantoClick() {
    const int row = m_table->currentRow();
    const int column = m_table->currentColumn();
    if (!m_grid.canToggle(row, column))
        return;
    m_grid.toggle(row, column);
    refreshMarks();
}

} // namespace tavro
