#pragma once

#include "config/TantoGrid.h"
#include "platform/Platform.h"

#include <QDialog>

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace tavro {

// "担当学級の設定": the teachers of the year as rows, the classes of the selected grade as columns,
// "○" where a teacher is assigned for the selected subject. The pop-up item "この学級を担当する"
// toggles the current cell. The teacher file is written when the window closes.
class TTantoForm : public QDialog {
    Q_OBJECT

public:
    TTantoForm(const Platform &platform, const QString &mainCaption, int nendo, const QString &dataFolder,
               int schoolKind, QWidget *parent = nullptr);
    ~TTantoForm() override;

    const TantoGrid &grid() const { return m_grid; }

    // Saves the teacher file; the window stays open when the save fails and the user keeps it.
    void done(int result) override;

private:
    void GakunenChange(int index);
    void KindClick(bool elective);
    void KyoukaClick(int row);
    void TantoGridContextPopup(const QPoint &pos);
    void TantoClick();
    void currentCellChanged();

    void fillSubjects();
    void refreshGrid();
    void refreshMarks();
    void updateAction();

    Platform m_platform;
    int m_nendo = 0;
    QString m_dataFolder;
    TantoGrid m_grid;

    QComboBox *m_gakunen = nullptr;
    QRadioButton *m_hissu = nullptr;
    QRadioButton *m_sentaku = nullptr;
    QListWidget *m_kyouka = nullptr;
    QLabel *m_subjectTitle = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_empty = nullptr;
    QPushButton *m_ok = nullptr;
    QMenu *m_popup = nullptr;
    QAction *m_tantoAction = nullptr;
};

} // namespace tavro
