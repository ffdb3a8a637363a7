#pragma once

#include <QDialog>

namespace tavro {

class RadioGroup;

// "満点設定" of a test entered as a total: 100, 60 or 50 points.
class TTestMantenGakuForm : public QDialog {
    Q_OBJECT

public:
    // Preselects `total` when it is one of the three, else 100.
    explicit TTestMantenGakuForm(int total, QWidget *parent = nullptr);

    int total() const;

private:
    RadioGroup *m_choice = nullptr;
};

} // namespace tavro
