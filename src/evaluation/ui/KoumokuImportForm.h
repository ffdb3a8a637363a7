#pragma once

#include "evaluation/ItemImport.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QListWidget;

namespace tavro {

class EvaluationSession;
class Prompter;

// "項目設定の取り込み": copies chosen item definitions of a colleague teaching the same subject into
// the open worksheet. The colleague list is filled when the dialog is first shown.
class TKoumokuImportForm : public QDialog {
    Q_OBJECT

public:
    TKoumokuImportForm(EvaluationSession &session, Prompter &prompter, QWidget *parent = nullptr);

    // The outcome of the last OK.
    const itemimport::ImportOutcome &outcome() const { return m_outcome; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void formShow();
    void comboBox1Click();
    void setAllChecked(bool checked);
    void bitBtn1Click();

    EvaluationSession &m_session;
    Prompter &m_prompter;
    itemimport::ColleagueItems m_items;
    itemimport::ImportOutcome m_outcome;
    bool m_shown = false;

    QComboBox *m_comboBox1 = nullptr;
    QListWidget *m_checkListBox1 = nullptr;
    QCheckBox *m_checkBox1 = nullptr;
    QCheckBox *m_checkBox2 = nullptr;
};

} // namespace tavro
