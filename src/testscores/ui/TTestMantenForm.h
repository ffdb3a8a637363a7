#pragma once

#include "config/KantenFile.h"

#include <QDialog>

#include <array>

class QLabel;
class QSpinBox;

namespace tavro {

// "満点設定" by viewpoint: six fields 0..100 for viewpoints 1..6, labelled with the subject's short
// viewpoint names.
class TTestMantenForm : public QDialog {
    Q_OBJECT

public:
    TTestMantenForm(const std::array<int, 6> &fullScores, const KantenNames &names,
                    QWidget *parent = nullptr);

    std::array<int, 6> values() const;

private:
    std::array<QSpinBox *, 6> m_edits{};
};

} // namespace tavro
