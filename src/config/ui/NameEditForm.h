#pragma once

#include "config/RosterEditor.h"
#include "platform/Platform.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;
class QTabBar;
class QTableView;

namespace tavro {

class RosterTableModel;

// "名簿管理": the roster of one grade as a grid, with tabs per class half, clipboard copy and paste,
// the reading conversion and the automatic history. Opens maximised; run it with exec(). Closing it
// by the close box or "もどる" asks whether to save.
class TNameEditForm : public QDialog {
    Q_OBJECT

public:
    TNameEditForm(const Platform &platform, const QString &mainCaption, int nendo, const QString &gakunen,
                  const QString &dataFolder, bool classType, QWidget *parent = nullptr);
    ~TNameEditForm() override;

    const RosterEditor &editor() const { return m_editor; }

    // The close question; the window closes only when it allows.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *buildBottomPanel();
    void buildMenu();
    void applySizes();

    // The selected range in grid coordinates (the current cell when nothing is selected).
    CellRange selectedRange() const;
    int currentRow() const;
    int currentColumn() const;
    void goToRow(int row);

    void tabClick(int index);
    void gridCurrentChanged();
    void multiSelectClick(bool on);
    void gridContextMenu(const QPoint &pos);
    void copyClick();
    void cutClick();
    void pasteClick();
    void deleteClick();
    // 元に戻す / やり直し (Ctrl+Z; Ctrl+Y or Ctrl+Shift+Z).
    void undoClick(bool redo);
    void furiganaClick();
    void historyClick();
    void refuse(const QString &message);

    Platform m_platform;
    RosterEditor m_editor;
    bool m_loadErrorShown = false;
    bool m_syncingTabs = false;

    RosterTableModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QTabBar *m_tabs = nullptr;
    QCheckBox *m_multiSelect = nullptr;
    QPushButton *m_furigana = nullptr;
    QPushButton *m_history = nullptr;
    QPushButton *m_back = nullptr;
    QLabel *m_note = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QMenu *m_popup = nullptr;
};

} // namespace tavro
