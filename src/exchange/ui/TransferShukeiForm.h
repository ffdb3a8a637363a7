#pragma once

#include "platform/Platform.h"

#include <QDialog>

#include <vector>

class QListWidget;

namespace tavro {

class GradeHyouteiStore;

// The grade transfer window (校務支援 of the evaluation aggregation): the viewpoint marks and the
// evaluation of one subject for the checked students of the whole grade.
class TTransferShukeiForm final : public QDialog {
    Q_OBJECT

public:
    TTransferShukeiForm(const GradeHyouteiStore &store, const QString &caption, const Platform &platform,
                        QWidget *parent = nullptr);

    void button1Click();

private:
    std::vector<int> checkedSlots() const;

    const GradeHyouteiStore &m_store;
    Platform m_platform;
    QListWidget *m_subjects = nullptr;
    QListWidget *m_students = nullptr;
};

} // namespace tavro
