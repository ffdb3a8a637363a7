#include "common/ControlCharacters.h"

namespace tavro::chars {

QString codePointLabel(QChar c) {
    return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QChar(u'0')).toUpper();
}

QString firstControlCharacter(const QString &text) {
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return codePointLabel(c);
    return {};
}

} // namespace tavro::chars
