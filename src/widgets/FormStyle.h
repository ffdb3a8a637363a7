#pragma once

#include "widgets/UiFont.h"

#include <QFont>
#include <QString>

namespace tavro::formstyle {

// The Japanese UI face of the configuration windows.
inline QFont japaneseFont(qreal pointSize) {
    return ui::uiFont(pointSize);
}

// Notes under the controls.
inline QString noteStyle() {
    return QStringLiteral("QLabel { color: #1f3f7a; }");
}

} // namespace tavro::formstyle
