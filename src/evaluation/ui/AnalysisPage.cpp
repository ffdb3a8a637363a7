#include "evaluation/ui/AnalysisPage.h"

#include "evaluation/EvaluationSession.h"
#include "evaluation/ui/EvaluationModels.h"
#include "evaluation/ui/Hyoutei1Form.h"
#include "evaluation/ui/PastePage.h"
#include "platform/Prompter.h"
#include "platform/SoundPlayer.h"
#include "widgets/UiFont.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tavro::evaluationui {

AnalysisPage::AnalysisPage(THyoutei1Form &form) : EvaluationPage(form) {
    auto *layout = new QHBoxLayout(this);

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
    connect(m_studentList, &QListWidget::currentRowChanged, this, &AnalysisPage::showStudent);
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
}

int AnalysisPage::currentSlot() const {
    const int row = m_studentList->currentRow();
    if (row < 0 || row >= int(m_studentLines.size()))
        return -1;
    return m_studentLines[std::size_t(row)].slot;
}

bool AnalysisPage::byAttainment() const {
    return m_byAttainment->isChecked();
}

void AnalysisPage::opened() {
    // Comments of the periods in use only.
    for (QLineEdit *edit : m_comments)
        edit->setReadOnly(true);
    for (const EvaluationSession::Period &p : m_session.periods())
        m_comments[std::size_t(p.number - 1)]->setReadOnly(m_session.readOnly());
}

void AnalysisPage::showCurrentStudent() {
    showStudent(m_studentList->currentRow());
}

void AnalysisPage::refillStudentList(bool announce) {
    const bool byAchievement = m_byAttainment->isChecked();
    std::vector<editing::StudentLine> lines =
        byAchievement ? editing::studentsByAchievement(m_session, m_form.currentPeriod())
                      : editing::studentsByClass(m_session);
    if (lines.empty() && byAchievement && announce)
        m_platform.prompter->message(QStringLiteral("Tavro"), editing::noMatchMessage());
    showStudentLines(std::move(lines));
}

void AnalysisPage::showStudentLines(std::vector<editing::StudentLine> lines) {
    m_studentLines = std::move(lines);
    const QSignalBlocker block(m_studentList);
    m_studentList->clear();
    for (const editing::StudentLine &line : m_studentLines)
        m_studentList->addItem(line.text);
    m_studentList->setCurrentRow(m_studentLines.empty() ? -1 : 0);
    showStudent(m_studentList->currentRow());
}

void AnalysisPage::filterClick(editing::Filter filter) {
    if (!isPeriod(m_form.currentPeriod()))
        return;
    std::vector<editing::StudentLine> lines =
        editing::filteredStudents(m_session, m_form.currentPeriod(), filter);
    if (lines.empty()) {
        m_platform.prompter->message(QStringLiteral("Tavro"), editing::noMatchMessage());
        refillStudentList();
        return;
    }
    showStudentLines(std::move(lines));
}

void AnalysisPage::memoChange(int period) {
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
    m_form.pastePage().model().refreshRow(m_session.rowOfSlot(slot));
}

void AnalysisPage::stepStudent(int delta) {
    const int row = m_studentList->currentRow() + delta;
    if (row >= 0 && row < m_studentList->count())
        m_studentList->setCurrentRow(row);
}

void AnalysisPage::showStudent(int listRow) {
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

} // namespace tavro::evaluationui
