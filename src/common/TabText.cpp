#include "common/TabText.h"

#include "common/Cp932.h"
#include "common/FileSave.h"

namespace tavro {

QString TabText::cleanCell(const QString &text) {
    QString clean = text;
    for (QChar &ch : clean) {
        if (ch == u'\t' || ch == u'\r' || ch == u'\n')
            ch = u' ';
    }
    return clean;
}

TabText &TabText::cell(const QString &text) {
    if (m_style == Style::Separated && m_rowHasCells)
        m_text.append(u'\t');
    // A tab or line break inside a cell would shift the columns or rows of the table.
    m_text.append(cleanCell(text));
    if (m_style == Style::Terminated)
        m_text.append(u'\t');
    m_rowHasCells = true;
    return *this;
}

TabText &TabText::cell(long long number) {
    return cell(QString::number(number));
}

TabText &TabText::emptyCells(int count) {
    for (int i = 0; i < count; ++i)
        cell(QString());
    return *this;
}

TabText &TabText::endRow() {
    m_text.append(u"\r\n");
    m_rowHasCells = false;
    return *this;
}

QByteArray TabText::toCp932() const {
    return cp932::encodeLossy(m_text);
}

QList<QStringList> splitTabText(const QString &text) {
    QList<QStringList> rows;
    for (const QString &line : splitTextLines(text))
        rows.append(line.split(u'\t'));
    return rows;
}

} // namespace tavro
