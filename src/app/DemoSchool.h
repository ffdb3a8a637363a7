#pragma once

#include <QString>
#include <QStringList>

namespace tavro {

// A complete fictional school for trying the program out and for tests.
struct DemoSchool {
    static constexpr const char *kAdminPassword = "admin";
    static constexpr const char *kTeacherPassword = "1234";

    // Regular: numbered classes, three-term periods, three viewpoints everywhere, both PE halves.
    // Real: shaped like a real school: lettered classes, five periods whose names differ only after
    // their third character ("1学期中間評定", "1学期期末評定"), 英語 with five viewpoints and 数学 with
    // six, the periodic tests of every subject with one PE half per student (odd numbers 保体B, even
    // ones 保体G) and one of 技家I / 技家H (技家H for every third number).
    enum class Shape { Regular, Real };

    // Writes the demo school of year `nendo` into `dataFolder`. Refuses (false, with a message) when
    // the folder already holds main or year settings, so nothing is overwritten. `written` gets the
    // files created.
    static bool write(const QString &dataFolder, int nendo, QString *error = nullptr,
                      QStringList *written = nullptr, Shape shape = Shape::Regular);

    // Teacher names of the demo, in teacher-file order.
    static QStringList teacherNames();
};

} // namespace tavro
