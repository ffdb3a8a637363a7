#pragma once

#include "app/WorkingContext.h"
#include "platform/Platform.h"

#include <QHash>
#include <QWidget>

class QLabel;
class QLineEdit;

namespace tavro {

class TMainForm;

// "管理用" of the main menu: the lock of the administrator password, the school's basic settings and
// the buttons of the settings windows, each described in the line below while the mouse is on it.
class MainAdminPage final : public QWidget {
public:
    explicit MainAdminPage(TMainForm &form);

    // The main settings of the context in the page: the school name, the class notation, the school
    // kind, and the lock while an administrator password is set.
    void showSettings();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void schoolNameEdited(const QString &text);
    void ninsyouClick();
    void storeClick();
    void permissionClick();
    void settingsClick();
    void tantoClick();
    void kantenClick();

    TMainForm &m_form;
    const Platform &m_platform;
    WorkingContext &m_context;
    QWidget *m_lockPanel = nullptr;
    QWidget *m_adminPanel = nullptr;
    QLineEdit *m_schoolNameEdit = nullptr;
    QLineEdit *m_lockPasswordEdit = nullptr;
    QLineEdit *m_adminPasswordEdit = nullptr;
    QLabel *m_description = nullptr;
    QHash<QObject *, QString> m_descriptions;
};

} // namespace tavro
