#pragma once

#include <QFont>
#include <QString>

// The Japanese faces of the windows: IPA fonts on Linux, the system UI faces on Windows.
namespace tavro::ui {

// Proportional UI face.
inline QFont uiFont(qreal pointSize, bool bold = false) {
    QFont f;
    f.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"), QStringLiteral("Meiryo UI"),
                   QStringLiteral("Yu Gothic UI"), QStringLiteral("MS UI Gothic")});
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

// Fixed-width face, for columns of numbers and names.
inline QFont fixedFont(qreal pointSize) {
    QFont f;
    f.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("MS Gothic"), QStringLiteral("IPAPGothic")});
    f.setPointSizeF(pointSize);
    return f;
}

} // namespace tavro::ui
