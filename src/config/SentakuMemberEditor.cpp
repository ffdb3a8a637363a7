#include "config/SentakuMemberEditor.h"

#include "common/Cp932.h"
#include "common/FileSave.h"
#include "config/Electives.h"

namespace tavro {

SentakuMemberEditor::SentakuMemberEditor(const QString &dataFolder, int nendo, int grade)
    : m_dataFolder(dataFolder), m_nendo(nendo), m_grade(grade) {}

bool SentakuMemberEditor::reload(int index, QString *error) {
    m_electives.clear();
    for (const QString &line : electives::readLines(m_dataFolder, m_nendo))
        if (electives::gradeOf(line) == m_grade)
            m_electives.append(electives::nameOf(line));
    m_index = m_electives.isEmpty() ? -1 : qBound(0, index, int(m_electives.size()) - 1);
    return load(error);
}

QString SentakuMemberEditor::elective() const {
    return m_index >= 0 ? m_electives.at(m_index) : QString();
}

bool SentakuMemberEditor::setText(const QString &text, QString *error) {
    if (!isEditable())
        return false;
    const QString message = unencodableMessage(text);
    if (!message.isEmpty()) {
        if (error)
            *error = message;
        return false;
    }
    if (text != m_text) {
        m_text = text;
        m_modified = true;
    }
    return true;
}

bool SentakuMemberEditor::select(int index, QString *error) {
    if (index < 0 || index >= m_electives.size())
        return false;
    if (!saveIfModified(error))
        return false;
    m_index = index;
    return load(error);
}

bool SentakuMemberEditor::saveIfModified(QString *error) {
    if (!m_modified || !isEditable())
        return true;
    if (!memberlist::write(m_dataFolder, m_nendo, m_grade, elective(), splitTextLines(m_text), error))
        return false;
    m_modified = false;
    return true;
}

QString SentakuMemberEditor::unencodableMessage(const QString &text) {
    const QString bad = cp932::firstUnencodable(text);
    if (bad.isEmpty())
        return QString();
    return QStringLiteral("「%1」はShift-JISで保存できない文字のため、入力できません。\n"
                          "半角の数字で入力してください。")
        .arg(bad);
}

bool SentakuMemberEditor::load(QString *error) {
    m_text.clear();
    m_modified = false;
    m_readable = false;
    if (m_index < 0)
        return true;
    QStringList lines;
    m_readable = memberlist::read(m_dataFolder, m_nendo, m_grade, elective(), lines, error);
    if (!lines.isEmpty())
        m_text = lines.join(u'\n') + u'\n';
    return m_readable;
}

} // namespace tavro
