#include "app/Login.h"

#include "app/Password.h"
#include "common/DataPaths.h"
#include "config/TeacherFile.h"
#include "platform/Prompter.h"

namespace tavro {

namespace {

const QString kCaption = QStringLiteral("Tavro");

} // namespace

TeacherLogin::TeacherLogin(Prompter &prompter, LoginInputs inputs)
    : m_prompter(prompter), m_inputs(std::move(inputs)) {
    m_result.readOnly = m_inputs.readOnly;
}

void TeacherLogin::load() {
    paths::ensureYearFolder(m_inputs.dataFolder, m_inputs.nendo);
    const TeacherFile file = TeacherFile::load(m_inputs.dataFolder, m_inputs.nendo);
    m_teachers = file.teacherNames();
    m_assignments.clear();
    for (const QString &line : file.assignmentLines())
        m_assignments.append(line.mid(1));
}

QString TeacherLogin::heading() const {
    return QStringLiteral("　%1年度 %2年生 %3").arg(m_inputs.nendo).arg(m_inputs.gakunen, m_inputs.kyouka);
}

QString TeacherLogin::caption() const {
    return heading() + QStringLiteral(" - ") + m_inputs.mainCaption;
}

void TeacherLogin::message(const QString &text) {
    m_prompter.message(kCaption, text, Prompter::Icon::Warning);
}

bool TeacherLogin::checkName(const QString &name) {
    QString reason;
    if (checkTeacherName(name, &reason))
        return true;
    message(reason);
    return false;
}

bool TeacherLogin::search(const QString &teacher) {
    bool matched = false;
    m_result.chargeClasses =
        assignment::chargeClasses(m_assignments, m_inputs.kyouka, teacher, m_inputs.gakunen, &matched);
    return matched;
}

TeacherLogin::Outcome TeacherLogin::ok(int index, const QString &password) {
    if (!validTeacher(index))
        return Outcome::Stay;
    const QString teacher = m_teachers[index];
    if (!checkName(teacher))
        return Outcome::Stay;
    m_result.teacherName = teacher;
    const QString stored = storedTeacherPassword(m_inputs.dataFolder, teacher);
    if (stored.isEmpty()) {
        message(QStringLiteral("パスワードが設定されていません。\r\n"
                               "「パスワードの変更」でパスワードを設定してください。"));
        return Outcome::Stay;
    }
    if (scramble(password, QString::fromLatin1(kTeacherScrambleConstant)) != stored) {
        message(QStringLiteral("パスワードが違います。"));
        return Outcome::Stay;
    }
    if (search(teacher))
        return Outcome::Ok;
    message(QStringLiteral("入力や訂正をする権限がありません。\r\n持ち学級または教師名を確認してください。"));
    return Outcome::Stay;
}

TeacherLogin::Outcome TeacherLogin::view(int index) {
    if (m_teachers.isEmpty())
        return Outcome::Stay;
    if (!validTeacher(index))
        return Outcome::Cancel;
    const QString teacher = m_teachers[index];
    if (!checkName(teacher))
        return Outcome::Stay;
    m_result.teacherName = teacher;
    const bool matched = search(teacher);
    m_result.readOnly = true;
    if (matched)
        return Outcome::Ok;
    message(QStringLiteral("選択した教師は担当していません。"));
    return Outcome::Cancel;
}

bool TeacherLogin::changePassword(int index, const QString &oldPassword, const QString &newPassword,
                                  const QString &confirmation) {
    if (!validTeacher(index))
        return false;
    const QString teacher = m_teachers[index];
    if (!checkName(teacher))
        return false;
    QString reason;
    if (!checkPasswordText(newPassword, &reason)) {
        message(reason);
        return false;
    }
    const QString constant = QString::fromLatin1(kTeacherScrambleConstant);
    QString stored = storedTeacherPassword(m_inputs.dataFolder, teacher);
    if (stored.isEmpty())
        stored = scramble(QString(), constant);
    bool ok = true;
    if (scramble(oldPassword, constant) != stored) {
        message(QStringLiteral("パスワードが間違っています。"));
        ok = false;
    }
    if (scramble(newPassword, constant) != scramble(confirmation, constant)) {
        message(
            QStringLiteral("確認用パスワードが間違っています。\r\n\r\n"
                           "「確認用パスワード」は「新しいパスワード」と\r\n同じものを入力してください。"));
        ok = false;
    }
    if (!ok)
        return false;
    if (m_prompter.ask(kCaption,
                       teacher + QStringLiteral("先生のパスワードを変更します。\r\nよろしいですか?"),
                       Prompter::Buttons::OkCancel, Prompter::Answer::Ok,
                       Prompter::Icon::Question) != Prompter::Answer::Ok)
        return false;
    if (!storeTeacherPassword(m_inputs.dataFolder, teacher, newPassword, &reason)) {
        m_prompter.message(kCaption, reason, Prompter::Icon::Error);
        return false;
    }
    m_prompter.message(kCaption, teacher + QStringLiteral("先生の正常にパスワードが更新されました。"));
    return true;
}

} // namespace tavro
