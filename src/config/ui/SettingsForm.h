#pragma once

#include "config/SettingsEditor.h"
#include "platform/Platform.h"

#include <QDialog>
#include <array>
#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace tavro {

class RadioGroup;

// "各種設定": the year settings, the teacher list and the elective names of one school year on twelve
// pages. Run it with exec(). Closing it in any way stores everything (the year settings file, the
// teacher file and the elective file of the year) and the active page per user ("Settings" /
// "PageControl1"); when a file cannot be written the user may go back to the window.
class TSettingsForm : public QDialog {
    Q_OBJECT

public:
    TSettingsForm(const Platform &platform, const QString &mainCaption, int nendo, const QString &dataFolder,
                  QWidget *parent = nullptr);
    ~TSettingsForm() override;

    const SettingsEditor &editor() const { return m_editor; }

    void done(int r) override;

private:
    QWidget *buildTeikiPage();
    QWidget *buildGakuPage();
    QWidget *buildHyouteiPage(bool elective);
    QWidget *buildPatternPage();
    QWidget *buildKansanPage();
    QWidget *buildTeacherPage();
    QWidget *buildClassCountPage();
    QWidget *buildSentakuPage();
    QWidget *buildYearEndPage();
    QWidget *buildOther1Page();
    QWidget *buildOther2Page();

    // Binding of a control to a value of the settings: read into the control on show, written back on
    // close.
    void bind(std::function<void()> load, std::function<void()> store);
    // Refuses text the check does not accept as it is typed, with the check's message.
    void guard(QLineEdit *edit, std::function<bool(const QString &, QString *)> check);
    void guard(QPlainTextEdit *edit);
    void refuse(const QString &message);

    SymbolPattern shownPattern() const;
    void showPattern(const SymbolPattern &pattern);
    void patternSelected(int index);

    void teacherSelected(int row);
    void refreshTeachers();
    void addTeacherClick();
    void replaceTeacherClick();
    void deleteTeacherClick();
    void moveTeacherClick(bool up);

    void storeControls();

    Platform m_platform;
    SettingsEditor m_editor;
    bool m_closing = false;
    std::vector<std::function<void()>> m_loaders;
    std::vector<std::function<void()>> m_storers;

    QTabWidget *m_pages = nullptr;
    std::array<QLineEdit *, 5> m_testNames{};
    std::array<QLineEdit *, 5> m_hyouteiNames{};
    std::array<QLineEdit *, 5> m_sentakuNames{};

    RadioGroup *m_patternSelect = nullptr;
    std::array<QLineEdit *, 10> m_kigou{};
    std::array<QSpinBox *, 9> m_cutPoint{};
    RadioGroup *m_totatuDisp = nullptr;

    QLabel *m_teacherCount = nullptr;
    QListWidget *m_teacherList = nullptr;
    QLineEdit *m_teacherName = nullptr;
    QSpinBox *m_teacherGrade = nullptr;
    QSpinBox *m_teacherClass = nullptr;
    QPushButton *m_replace = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_up = nullptr;
    QPushButton *m_down = nullptr;

    std::array<QPlainTextEdit *, 6> m_sentakuPages{};
};

} // namespace tavro
