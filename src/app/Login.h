#pragma once

#include <QString>
#include <QStringList>

namespace tavro {

class Prompter;

// What the opener hands to the teacher login.
struct LoginInputs {
    QString mainCaption;
    int nendo = 0;
    QString gakunen;
    QString kyouka;
    QString dataFolder;
    bool readOnly = false;
};

// What a successful login hands back.
struct LoginResult {
    QString teacherName;
    QString chargeClasses;
    bool readOnly = false;
};

// The teacher login without its window: the teacher list, the password check with the assignment
// search, the view-only login and the password change, with their messages.
class TeacherLogin {
public:
    enum class Outcome {
        Stay,   // the dialog stays open for another try
        Ok,     // the dialog ends with OK
        Cancel, // the dialog ends with Cancel
    };

    TeacherLogin(Prompter &prompter, LoginInputs inputs);

    // On show: creates the year folder when missing and reads the teacher file of the year.
    void load();

    // "　2024年度 1年生 国語 - <MainCaption>"; the heading is the same text without the suffix.
    QString caption() const;
    QString heading() const;
    const QStringList &teachers() const { return m_teachers; }
    const QStringList &assignments() const { return m_assignments; }
    // Only "閲覧" is offered when the login starts read-only.
    bool viewOnly() const { return m_inputs.readOnly; }

    // "OK" with the teacher at `index` (-1: none selected) and the typed password.
    Outcome ok(int index, const QString &password);
    // "閲覧": a view-only login. With no teacher selected it ends with Cancel; with an empty teacher
    // list it does nothing.
    Outcome view(int index);
    // "変更": both checks run; returns true when the new password was stored.
    bool changePassword(int index, const QString &oldPassword, const QString &newPassword,
                        const QString &confirmation);

    LoginResult result() const { return m_result; }

private:
    bool validTeacher(int index) const { return index >= 0 && index < m_teachers.size(); }
    bool checkName(const QString &name);
    bool search(const QString &teacher);
    void message(const QString &text);

    Prompter &m_prompter;
    LoginInputs m_inputs;
    QStringList m_teachers;
    QStringList m_assignments;
    LoginResult m_result;
};

} // namespace tavro
