#pragma once

#include <QString>
#include <QStringList>

namespace tavro {

// A complete fictional school for trying the program out and for tests.
struct DemoSchool {
    static constexpr const char *kAdminPassword = "admin";
    static constexpr const char *kTeacherPassword = "1234";

    // Writes the demo school of year `nendo` into `dataFolder`. Refuses (false, with a message) when
    // the folder already holds main or year settings, so nothing is overwritten. `written` gets the
    // files created.
    static bool write(const QString &dataFolder, int nendo, QString *error = nullptr,
                      QStringList *written = nullptr);

    // Teacher names of the demo, in teacher-file order.
    static QStringList teacherNames();
};

} // namespace tavro
