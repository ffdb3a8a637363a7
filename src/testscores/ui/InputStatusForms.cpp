#include "testscores/ui/InputStatusForms.h"

#include "common/DataFile.h"
#include "platform/Prompter.h"
#include "widgets/UiFont.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace tavro {

namespace {

// Row 0 is the header, column 0 the row labels; both drawn as fixed cells.
class StatusModel final : public QAbstractTableModel {
public:
    StatusModel(const InputStatusTable &table, QColor fixed, QObject *parent)
        : QAbstractTableModel(parent), m_cells(table.cells()), m_fixed(fixed) {
        for (const QStringList &row : m_cells)
            m_columns = qMax(m_columns, int(row.size()));
    }
    int rowCount(const QModelIndex &parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : int(m_cells.size());
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : m_columns;
    }
    QVariant data(const QModelIndex &index, int role) const override {
        if (!index.isValid())
            return {};
        const bool fixed = index.row() == 0 || index.column() == 0;
        switch (role) {
        case Qt::DisplayRole:
            return m_cells[index.row()].value(index.column());
        case Qt::TextAlignmentRole:
            return int(fixed ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
        case Qt::BackgroundRole:
            return fixed ? QVariant(m_fixed) : QVariant();
        default:
            return {};
        }
    }

private:
    QList<QStringList> m_cells;
    QColor m_fixed;
    int m_columns = 0;
};

} // namespace

InputStatusForm::InputStatusForm(const Platform &platform, const QString &caption, InputStatusTable table,
                                 QWidget *parent)
    : QDialog(parent), m_platform(platform), m_table(std::move(table)) {
    setObjectName(QStringLiteral("InputStatusForm"));
    setWindowTitle(caption);
    setFont(ui::uiFont(9));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_topPanel = new QWidget;
    auto *top = new QHBoxLayout(m_topPanel);
    top->setContentsMargins(8, 6, 8, 6);
    auto *label = new QLabel(QStringLiteral("入力状況を表示しています。数字は人数です。"));
    label->setObjectName(QStringLiteral("Label1"));
    top->addWidget(label, 1);
    auto *back = new QPushButton(QStringLiteral("もどる"));
    back->setObjectName(QStringLiteral("BackButton"));
    back->setMinimumSize(88, 28);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    top->addWidget(back);
    layout->addWidget(m_topPanel);

    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("StatusGrid"));
    m_grid->setModel(new StatusModel(m_table, palette().color(QPalette::Button), this));
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setFont(ui::fixedFont(10));
    layout->addWidget(m_grid, 1);
    applySize();
}

QString InputStatusForm::captionOf(const InputStatusInputs &inputs) {
    return inputs.mainCaption + QStringLiteral(" - ") + QString::number(inputs.nendo) +
           QStringLiteral("年度 ") + inputs.gakunen + QStringLiteral("年生 ") + inputs.kindName;
}

// Client width: the first column + 11 × (column width + 1) + 5; height: 25 × (row height + 1) + the
// top panel + 4.
void InputStatusForm::applySize() {
    const int fh = QFontInfo(m_grid->font()).pixelSize();
    const int rowHeight = fh + 8;
    const int columnWidth = 4 * fh;
    const int firstWidth = 7 * fh;
    m_grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_grid->horizontalHeader()->setDefaultSectionSize(columnWidth);
    m_grid->setColumnWidth(0, firstWidth);
    const int width = firstWidth + 11 * (columnWidth + 1) + 5;
    const int height = 25 * (rowHeight + 1) + m_topPanel->sizeHint().height() + 4;
    resize(width, height);
}

void InputStatusForm::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (m_table.tooNew)
        m_platform.prompter->message(QStringLiteral("TAVRO"), tooNewVersionMessage(),
                                     Prompter::Icon::Warning);
    const QString unsafe = m_table.unsafeNamesMessage();
    if (!unsafe.isEmpty())
        m_platform.prompter->message(QStringLiteral("TAVRO"), unsafe, Prompter::Icon::Warning);
    const QString damaged = m_table.damagedMessage();
    if (!damaged.isEmpty())
        m_platform.prompter->message(QStringLiteral("TAVRO"), damaged, Prompter::Icon::Warning);
}

TView1Form::TView1Form(const Platform &platform, const InputStatusInputs &inputs, QWidget *parent)
    : InputStatusForm(platform, captionOf(inputs),
                      inputstatus::tests(inputs.dataFolder, inputs.nendo, inputs.gakunen.toInt(),
                                         inputs.testCode, inputs.classType),
                      parent) {
    setObjectName(QStringLiteral("View1Form"));
}

} // namespace tavro
