#pragma once

#include "config/SentakuMemberEditor.h"
#include "platform/Platform.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tavro {

// "選択教科の生徒登録": the electives of one grade and the member list of the selected one as text,
// one student number per line. The text is saved when it was changed, before another elective is
// shown and when the window closes.
class TSentakuMember1Form : public QDialog {
    Q_OBJECT

public:
    TSentakuMember1Form(const Platform &platform, const QString &mainCaption, int nendo,
                        const QString &dataFolder, const QString &gakunen, QWidget *parent = nullptr);
    ~TSentakuMember1Form() override;

    const SentakuMemberEditor &editor() const { return m_editor; }

    // Saves the text when modified; the window stays open when the save fails and the user keeps it.
    void done(int result) override;

private:
    void SentakuListClick(int row);
    void MemberMemoChange();
    void showMember();
    void refuse(const QString &message);

    Platform m_platform;
    SentakuMemberEditor m_editor;
    bool m_loading = false;

    QListWidget *m_list = nullptr;
    QLabel *m_title = nullptr;
    QPlainTextEdit *m_memo = nullptr;
    QPushButton *m_ok = nullptr;
};

} // namespace tavro
