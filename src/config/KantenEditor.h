#pragma once

#include "config/KantenFile.h"

#include <QString>
#include <QStringList>

namespace tavro {

// The working copy of "観点の定義": the section shown (kind and subject), its 18 names and whether
// any of them was changed since the section was loaded. A section is written only when it was
// changed, before another one is shown and when the window closes.
class KantenEditor {
public:
    enum class Kind { Compulsory, Elective };
    enum class Length { Short, Medium, Long }; // "S(2文字)", "M(10文字程度)", "L(長い表記)"

    // The first subject of the school kind, compulsory, loaded from the year's file.
    KantenEditor(const QString &dataFolder, int nendo, int schoolKind);

    const QStringList &subjects() const { return m_subjects; }
    Kind kind() const { return m_kind; }
    int subjectIndex() const { return m_subjectIndex; }
    // "選択" + subject for electives, else the subject; empty when the school kind has no subjects.
    QString section() const;

    const KantenNames &names() const { return m_names; }
    QString text(int viewpoint, Length length) const; // viewpoint 1..6
    // Sets one name. Text code page 932 cannot hold is refused with a message in `error`.
    bool setText(int viewpoint, Length length, const QString &text, QString *error = nullptr);
    // "デフォルトを埋め込む(3観点)".
    void fillDefaults();
    bool isModified() const { return m_modified; }

    // Shows another section: the one shown is saved first when modified. When that save fails
    // nothing changes, the edits stay and `error` says why.
    bool select(Kind kind, int subjectIndex, QString *error = nullptr);
    // Writes the 18 keys of the section shown when modified.
    bool saveIfModified(QString *error = nullptr);

    // "前年度の定義を取り込む"; on success the section shown is loaded again, unmodified.
    kanten::ImportResult importPreviousYear(QString *error = nullptr);

    static QString unencodableMessage(const QString &text);

private:
    void load();

    QString m_dataFolder;
    int m_nendo = 0;
    int m_schoolKind = 1;
    QStringList m_subjects;
    Kind m_kind = Kind::Compulsory;
    int m_subjectIndex = 0;
    KantenNames m_names;
    bool m_modified = false;
};

} // namespace tavro
