#pragma once

#include <QString>
#include <QStringList>

namespace tavro {

// The working copy of "選択教科の生徒登録": the electives of one grade and the member list of the
// selected one as text. The text is written to the elective's member list, as typed, only when it
// was changed: before another elective is shown and when the window closes.
class SentakuMemberEditor {
public:
    SentakuMemberEditor(const QString &dataFolder, int nendo, int grade);

    // Reads the elective file again and selects `index` clamped to the list (the first when the list
    // was empty). `error` gets the message when the member list cannot be read.
    bool reload(int index, QString *error = nullptr);

    int grade() const { return m_grade; }
    // The electives of the grade, from "選択" on.
    const QStringList &electives() const { return m_electives; }
    int index() const { return m_index; }
    QString elective() const;

    const QString &text() const { return m_text; }
    // Replaces the text; text code page 932 cannot hold is refused with a message in `error`.
    bool setText(const QString &text, QString *error = nullptr);
    bool isModified() const { return m_modified; }
    // Whether the text can be edited: an elective is selected and its list could be read.
    bool isEditable() const { return m_index >= 0 && m_readable; }

    // Shows another elective: the text shown is saved first when modified. When that save fails
    // nothing changes, the edits stay and `error` says why. A failed read of the new list gives an
    // empty, read-only text and `error`.
    bool select(int index, QString *error = nullptr);
    bool saveIfModified(QString *error = nullptr);

    static QString unencodableMessage(const QString &text);

private:
    bool load(QString *error);

    QString m_dataFolder;
    int m_nendo = 0;
    int m_grade = 0;
    QStringList m_electives;
    int m_index = -1;
    QString m_text;
    bool m_modified = false;
    bool m_readable = false;
};

} // namespace tavro
