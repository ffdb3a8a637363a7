#include "evaluation/ui/ResultPage.h"

#include "evaluation/Calculation.h"
#include "evaluation/Checks.h"
#include "evaluation/Editing.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/ui/AnalysisPage.h"
#include "evaluation/ui/EvaluationModels.h"
#include "evaluation/ui/Hyoutei1Form.h"
#include "evaluation/ui/PastePage.h"
#include "exchange/ui/TransferForm.h"
#include "platform/Prompter.h"
#include "reports/ui/SubjectPrintWindow.h"
#include "widgets/FrozenTableView.h"

#include <QAction>
#include <QComboBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tavro::evaluationui {

namespace {

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

} // namespace

ResultPage::ResultPage(THyoutei1Form &form)
    : EvaluationPage(form), m_resultModel(std::make_unique<ResultModel>(m_session)) {
    auto *layout = new QVBoxLayout(this);
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
    connect(m_hyouteiSelect, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_form.selectPeriod(index); });
    top->addWidget(m_culcButton);
    top->addSpacing(12);
    top->addWidget(m_hyouteiSelect);
    top->addSpacing(12);
    m_koumuButton = new QPushButton(QStringLiteral("校務支援"));
    m_koumuButton->setObjectName(QStringLiteral("KoumuButton"));
    m_koumuButton->setToolTip(QStringLiteral("クリップボードにコピーをします。"));
    connect(m_koumuButton, &QPushButton::clicked, this, &ResultPage::koumuClick);
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
}

ResultPage::~ResultPage() = default;

void ResultPage::addPeriods() {
    for (const EvaluationSession::Period &p : m_session.periods()) {
        m_hyouteiSelect->addItem(views::periodListText(p.number, p.name));
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
}

void ResultPage::opened() {
    m_culcButton->setEnabled(!m_session.readOnly());
}

void ResultPage::applyFont(const QFont &font, const QTableView *names) {
    const QFontMetrics metrics(font);
    const int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    m_hyouteiGrid->setGridFont(font);
    m_hyouteiGrid->horizontalHeader()->setDefaultSectionSize(digit * 5);
    for (int c = 0; c < 3; ++c)
        m_hyouteiGrid->setColumnWidth(c, names->columnWidth(c));
    m_hyouteiGrid->setColumnWidth(13, digit * 11);
    for (int v = 1; v <= kViewpoints; ++v)
        m_hyouteiGrid->setColumnWidth(2 * v + 12, digit * 11);
}

bool ResultPage::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseButtonPress && watched == m_culcButton &&
        (static_cast<QMouseEvent *>(event)->modifiers() & Qt::ShiftModifier)) {
        showClearMenu();
        return true;
    }
    return EvaluationPage::eventFilter(watched, event);
}

void ResultPage::hyouteiCulc(int period) {
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
    m_form.pastePage().model().refreshAll();
    refreshNinzu();
    m_form.refreshStatus();
    // A failed save was reported by the calculation; the results stay pending.
    QString saved;
    if (report.outcome != calculation::Outcome::SaveFailed) {
        saved = QStringLiteral("評定を保存しました。(") + dateTimeText(report.dateTime) + QLatin1Char(')');
        m_form.setStatusText(4, saved);
    }
    m_form.noteHistoryCleared(saved);
}

void ResultPage::koumuClick() {
    // The transfer copies what is in memory, so it opens even when the save failed.
    m_form.autoSave();
    const int period = m_form.currentPeriod();
    TTransferForm form(m_session, m_session.periods().empty() ? 0 : period, m_platform, &m_form);
    form.exec();
}

void ResultPage::printClick(bool shift) {
    // The papers must match the files: nothing is printed unless the save succeeded.
    if (!m_form.autoSave())
        return;
    const int period = m_form.currentPeriod();
    if (m_session.settings().oldType && !shift) {
        TPrintHyoutei3Form form(m_session, period, m_platform, m_form.printTarget(), &m_form);
        form.exec();
    } else {
        TPrintHyoutei1Form form(m_session, period, m_platform, m_form.printTarget(), &m_form);
        form.exec();
    }
}

void ResultPage::refreshNinzu() {
    const checks::Distribution d =
        checks::distribution(m_session.results(), m_session.settings(), m_session.context().elective,
                             m_form.currentPeriod(), std::max(0, m_ninzuTabs->currentIndex()));
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

void ResultPage::showClearMenu() {
    if (m_culcButton->isEnabled())
        m_clearMenu->exec(m_culcButton->mapToGlobal(QPoint(0, m_culcButton->height())));
}

void ResultPage::hyouteiClearClick(int period) {
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
    m_form.pastePage().model().refreshAll();
    refreshNinzu();
    m_form.refreshStatus();
    if (m_form.analysisPage().byAttainment())
        m_form.analysisPage().refillStudentList();
    m_form.setStatusText(4, cleared ? status : QString());
    m_form.noteHistoryCleared(status);
    if (!error.isEmpty())
        m_platform.prompter->message(kCaption, error, Prompter::Icon::Warning);
}

} // namespace tavro::evaluationui
