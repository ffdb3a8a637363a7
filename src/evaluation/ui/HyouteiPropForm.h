#pragma once

#include "evaluation/ItemSettings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace tavro {

class EvaluationSession;
class Prompter;

// "項目設定": the definition of one item of the evaluation worksheet. OK stores it through the item
// settings of the core (with the test import); a refused text keeps the dialog open.
class THyouteiPropForm : public QDialog {
    Q_OBJECT

public:
    THyouteiPropForm(EvaluationSession &session, int item, Prompter &prompter, QWidget *parent = nullptr);

    int item() const { return m_item; }
    // The outcome of the last OK.
    const itemsettings::ApplyOutcome &outcome() const { return m_outcome; }

private:
    void kindChanged(int kind);
    void okClick();

    EvaluationSession &m_session;
    int m_item;
    Prompter &m_prompter;
    itemsettings::TestLists m_lists;
    itemsettings::ApplyOutcome m_outcome;

    QComboBox *m_kind = nullptr;
    QLabel *m_help1 = nullptr;
    QLabel *m_help2 = nullptr;
    QWidget *m_nameRow = nullptr;
    QLineEdit *m_name = nullptr;
    QCheckBox *m_symbolInput = nullptr;
    QCheckBox *m_protection = nullptr;
    QWidget *m_fullScoreRow = nullptr;
    QSpinBox *m_fullScore = nullptr;
    QWidget *m_formulaRow = nullptr;
    QLineEdit *m_formula = nullptr;
    QWidget *m_periodicRow = nullptr;
    QComboBox *m_periodic = nullptr;
    QWidget *m_achievementRow = nullptr;
    QComboBox *m_achievement = nullptr;
};

} // namespace tavro
