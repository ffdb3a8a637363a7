#pragma once

#include "platform/Platform.h"

#include <QDialog>

class QButtonGroup;
class QListWidget;
class QPushButton;

namespace tavro {

class EvaluationSession;

// The class transfer window (校務支援): the marks of the checked students of one class, or the
// achievements of every class in charge, for the period selected in the evaluation window.
class TTransferForm final : public QDialog {
    Q_OBJECT

public:
    TTransferForm(const EvaluationSession &session, int period, const Platform &platform,
                  QWidget *parent = nullptr);

    void listBox1Click();
    void button1Click();
    void button2Click();

private:
    int selectedClass() const;
    std::vector<int> checkedNumbers() const;

    const EvaluationSession &m_session;
    int m_period;
    Platform m_platform;
    QListWidget *m_classes = nullptr;
    QListWidget *m_first = nullptr;  // numbers 1..30
    QListWidget *m_second = nullptr; // numbers 31..60
    QButtonGroup *m_full = nullptr;
    std::vector<int> m_classNumbers;
};

} // namespace tavro
