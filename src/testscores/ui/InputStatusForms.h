#pragma once

#include "platform/Platform.h"
#include "testscores/InputStatus.h"

#include <QDialog>

class QLabel;
class QTableView;

namespace tavro {

// Inputs handed over by the main window ("入力状況", "必修の入力状況", "選択の入力状況").
struct InputStatusInputs {
    QString mainCaption;
    bool option = false; // no-viewpoint flag (tests) or the view's option flag (evaluations)
    int nendo = 0;
    QString gakunen;
    QString testCode; // tests
    QString kindName; // the test or evaluation kind's name
    int kind = 0;     // evaluations: the key number of "HyouteiName"
    QString dataFolder;
    bool classType = true;
    int schoolKind = 1;
};

// "入力状況の表示": a grid of head counts with its label and "もどる", sized to the grid. The three
// views differ only in their table; the two of the evaluation files are in
// evaluation/ui/EvaluationInputStatusForms.
class InputStatusForm : public QDialog {
    Q_OBJECT

public:
    const InputStatusTable &table() const { return m_table; }
    QTableView *grid() const { return m_grid; }

protected:
    InputStatusForm(const Platform &platform, const QString &caption, InputStatusTable table,
                    QWidget *parent);
    // "<main caption> - <year>年度 <grade>年生 <kind>".
    static QString captionOf(const InputStatusInputs &inputs);
    void showEvent(QShowEvent *event) override;

private:
    void applySize();

    Platform m_platform;
    InputStatusTable m_table;
    QWidget *m_topPanel = nullptr;
    QTableView *m_grid = nullptr;
    bool m_shown = false;
};

// Tests: class halves × the eleven subjects.
class TView1Form : public InputStatusForm {
    Q_OBJECT
public:
    TView1Form(const Platform &platform, const InputStatusInputs &inputs, QWidget *parent = nullptr);
};

} // namespace tavro
