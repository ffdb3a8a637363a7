#pragma once

#include "app/Permissions.h"
#include "platform/Platform.h"

#include <QDialog>
#include <array>

class QListWidget;
class QTabWidget;

namespace tavro {

// "入力許可": four pages of check lists (periodic tests, achievement tests, compulsory and elective
// evaluations). Closing it in any way stores the check marks into the year settings file and the
// active page per user ("Settings" / "Permission"); when the file cannot be saved it asks whether to
// close without saving, and otherwise stays open with the check marks.
class TPermissionForm1 : public QDialog {
    Q_OBJECT

public:
    TPermissionForm1(const Platform &platform, int nendo, const QString &dataFolder,
                     QWidget *parent = nullptr);

    void done(int r) override;

private:
    // False when the save failed and the window is to stay open.
    bool store();

    Platform m_platform;
    int m_nendo;
    QString m_dataFolder;
    InputPermissions m_permissions;
    QTabWidget *m_pages = nullptr;
    std::array<QListWidget *, 4> m_lists{};
    bool m_stored = false;
};

} // namespace tavro
