#include "app/Password.h"

#include "common/Cp932.h"

namespace tavro {

QString scramble(const QString &text, const QString &constant) {
    const QByteArray bytes = cp932::encodeLossy(text);
    qint64 sum = 0;
    for (char c : bytes)
        sum += static_cast<unsigned char>(c);
    const qint64 h = sum * bytes.size() / 2;
    const QChar letter(QLatin1Char(static_cast<char>('A' + h % 25)));
    const QString digits = (QString::number(h) + constant).left(4);
    return letter + digits;
}

} // namespace tavro
