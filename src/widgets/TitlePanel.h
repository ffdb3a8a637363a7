#pragma once

#include "widgets/UiFont.h"

#include <QLabel>
#include <QString>

namespace tavro::ui {

// The sunken bold panel at the top of a window that says what the window works on.
inline QLabel *titlePanel(const QString &text, const QString &objectName) {
    auto *label = new QLabel(text);
    label->setObjectName(objectName);
    label->setFont(uiFont(12, true));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMargin(6);
    return label;
}

} // namespace tavro::ui
