#pragma once

#include "app/Login.h"
#include "platform/Platform.h"

#include <QDialog>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tavro {

// The teacher login: the teacher list, the password, OK, "閲覧" (view only), cancel, and the
// password change. It ends with Accepted (OK) or Rejected (Cancel); after Accepted, loginResult()
// holds TeacherName, ChargeClasses and ReadOnly. The selected teacher's index is kept per user
// ("Input" / "Teacher").
class TPassWordCheck1Form : public QDialog {
    Q_OBJECT

public:
    TPassWordCheck1Form(const Platform &platform, const LoginInputs &inputs, QWidget *parent = nullptr);
    ~TPassWordCheck1Form() override;

    LoginResult loginResult() const;

    void done(int r) override;

private:
    int selectedTeacher() const;
    void okClick();
    void etsuranClick();
    void henkouClick();

    Platform m_platform;
    std::unique_ptr<TeacherLogin> m_login;
    QListWidget *m_teacherList = nullptr;
    QLineEdit *m_password = nullptr;
    QLineEdit *m_newPassword = nullptr;
    QLineEdit *m_confirmPassword = nullptr;
};

} // namespace tavro
