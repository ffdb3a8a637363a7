#include "config/KantenEditor.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"

namespace tavro {

namespace {

QString *slot(KantenNames &names, int viewpoint, KantenEditor::Length length) {
    if (viewpoint < 1 || viewpoint > 6)
        return nullptr;
    switch (length) {
    case KantenEditor::Length::Short:
        return &names.shortName[size_t(viewpoint - 1)];
    case KantenEditor::Length::Medium:
        return &names.mediumName[size_t(viewpoint - 1)];
    case KantenEditor::Length::Long:
        return &names.longName[size_t(viewpoint - 1)];
    }
    return nullptr;
}

} // namespace

KantenEditor::KantenEditor(const QString &dataFolder, int nendo, int schoolKind)
    : m_dataFolder(dataFolder), m_nendo(nendo), m_schoolKind(schoolKind),
      m_subjects(kanten::subjects(schoolKind)) {
    load();
}

QString KantenEditor::section() const {
    if (m_subjectIndex < 0 || m_subjectIndex >= m_subjects.size())
        return QString();
    return kanten::section(m_subjects.at(m_subjectIndex), m_kind == Kind::Elective);
}

QString KantenEditor::text(int viewpoint, Length length) const {
    const QString *s = slot(const_cast<KantenNames &>(m_names), viewpoint, length);
    return s ? *s : QString();
}

bool KantenEditor::setText(int viewpoint, Length length, const QString &text, QString *error) {
    QString *s = slot(m_names, viewpoint, length);
    if (!s || section().isEmpty())
        return false;
    const QString message = unencodableMessage(text);
    if (!message.isEmpty()) {
        if (error)
            *error = message;
        return false;
    }
    if (*s != text) {
        *s = text;
        m_modified = true;
    }
    return true;
}

void KantenEditor::fillDefaults() {
    if (section().isEmpty())
        return;
    m_names.fillDefaults();
    m_modified = true;
}

bool KantenEditor::select(Kind kind, int subjectIndex, QString *error) {
    if (subjectIndex < 0 || subjectIndex >= m_subjects.size())
        return false;
    if (!saveIfModified(error))
        return false;
    m_kind = kind;
    m_subjectIndex = subjectIndex;
    paths::ensureYearFolder(m_dataFolder, m_nendo);
    load();
    return true;
}

bool KantenEditor::saveIfModified(QString *error) {
    if (!m_modified || section().isEmpty())
        return true;
    if (!kanten::save(m_dataFolder, m_nendo, section(), m_names, error))
        return false;
    m_modified = false;
    return true;
}

kanten::ImportResult KantenEditor::importPreviousYear(QString *error) {
    const kanten::ImportResult result =
        kanten::importPreviousYear(m_dataFolder, m_nendo, m_schoolKind, error);
    if (result == kanten::ImportResult::Imported)
        load();
    return result;
}

QString KantenEditor::unencodableMessage(const QString &text) {
    const QString bad = cp932::firstUnencodable(text);
    if (bad.isEmpty())
        return QString();
    return QStringLiteral("「%1」はShift-JISで保存できない文字のため、入力できません。\n"
                          "別の文字に置き換えてください。")
        .arg(bad);
}

void KantenEditor::load() {
    const QString name = section();
    m_names = name.isEmpty() ? KantenNames() : kanten::load(m_dataFolder, m_nendo, name);
    m_modified = false;
}

} // namespace tavro
