#pragma once

#include <QFont>
#include <QString>

namespace tavro::formstyle {

// The Japanese UI face of the configuration windows.
inline QFont japaneseFont(qreal pointSize) {
    QFont f;
    f.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"), QStringLiteral("Meiryo UI"),
                   QStringLiteral("Yu Gothic UI"), QStringLiteral("MS UI Gothic")});
    f.setPointSizeF(pointSize);
    return f;
}

// Notes under the controls.
inline QString noteStyle() {
    return QStringLiteral("QLabel { color: #1f3f7a; }");
}

} // namespace tavro::formstyle
