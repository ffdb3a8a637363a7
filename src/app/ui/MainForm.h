#pragma once

#include "app/NextSequence.h"
#include "app/WorkingContext.h"
#include "platform/Platform.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace tavro {

class Clock;
class GradientBanner;
class Prompter;
class RadioGroup;
class WorkstationInfo;
class TSplashWindow;
struct InputStatusInputs;

// The main menu: the school year, the task pages with their selections, and the administration page.
// It holds the working context for the whole run.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // `context` carries DataFolder and ThisNendo, with Nendo = ThisNendo. The start-up runs here, so the
    // window is ready without being shown.
    TMainForm(const Platform &platform, WorkingContext context, QWidget *parent = nullptr);
    ~TMainForm() override;

    const WorkingContext &context() const { return m_context; }

    // The radio groups by their names ("gakunen1", "kyouka1", "test1", ..., "Test5", "HyouteiGroup").
    RadioGroup *radioGroup(const QString &name) const;
    // Selected item of a named group; -1 for none or an unknown name.
    int selectedIndex(const QString &groupName) const;
    void setSelectedIndex(const QString &groupName, int index);

    // Writes the selections and the active pages to the UserStore (done on every close).
    void storeUserState();

    // The window that "次へ" of a data page opens. Setting it enables the page's "次へ"; until then
    // the button stays disabled. The opener gets the context with TeacherName, ChargeClasses and
    // ReadOnly of the login and must return when its modal window has closed; the lock is released
    // afterwards.
    void setDataWindowOpener(DataPage page, WindowOpener opener);
    // "次へ" of a data page: the class check, ReadOnly, the login dialog, the lock and the window.
    // Without an opener for the page it does nothing.
    NextResult nextClick(DataPage page);
    // The selections of a data page as "次へ" reads them.
    DataPageChoice dataPageChoice(DataPage page) const;

    // Size of the fixed main panel, centred in the client area.
    static QSize panelSize();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildHeader(QWidget *panel);
    QWidget *buildPeriodicTestPage();
    QWidget *buildAchievementTestPage();
    QWidget *buildCompulsoryPage();
    QWidget *buildElectivePage();
    QWidget *buildGradePage();
    QWidget *buildAdminPage();
    RadioGroup *addGroup(const QString &name, const QString &title, const QStringList &items, int columns);

    void startUp();
    void showMainSettings();
    void reloadYear();
    void applySchoolKind();
    void restoreUserState();
    void refillElectives();
    void centrePanel();

    void nendo1Click();
    void versionClick();
    void schoolNameEdited(const QString &text);
    void ninsyouClick();
    void storeClick();
    void permissionClick();
    void meiboClick();
    void sentakuMemberClick();
    bool gradeTestInputs(bool periodic, InputStatusInputs &inputs);
    void testStatusClick(bool periodic);
    void testListClick(bool periodic);
    // The evaluation period chosen in the radio group `group` (its number and caption) and the grade
    // of "gakunen5"; nothing when no period is chosen or the grade has no classes (after its message).
    struct PeriodChoice {
        int number = 0;
        QString name;
        int grade = 0;
    };
    std::optional<PeriodChoice> periodChoice(const QString &group);
    void conferenceClick(bool excel);
    void hyouteiListClick();
    void hyouteiStatusClick(bool elective);
    void settingsClick();
    void tantoClick();
    void kantenClick();
    std::optional<LoginResult> runLoginDialog(const LoginInputs &inputs);

    Platform m_platform;
    WorkingContext m_context;
    std::unique_ptr<Prompter> m_fallbackPrompter;
    std::unique_ptr<Clock> m_fallbackClock;
    std::unique_ptr<WorkstationInfo> m_fallbackWorkstation;
    std::array<QPushButton *, 4> m_nextButtons{};
    std::array<WindowOpener, 4> m_openers;

    QWidget *m_client = nullptr;
    QFrame *m_panel = nullptr;
    GradientBanner *m_banner = nullptr;
    QLabel *m_schoolNameLabel = nullptr;
    QSpinBox *m_nendo1 = nullptr;
    QTabWidget *m_pageControl1 = nullptr;
    QTabWidget *m_pageControl2 = nullptr;
    QLabel *m_gakuTestHeading = nullptr;
    QLabel *m_achievementPageHeading = nullptr;
    QListWidget *m_listBox1 = nullptr;
    QWidget *m_lockPanel = nullptr;
    QWidget *m_adminPanel = nullptr;
    QLineEdit *m_schoolNameEdit = nullptr;
    QLineEdit *m_lockPasswordEdit = nullptr;
    QLineEdit *m_adminPasswordEdit = nullptr;
    QLabel *m_description = nullptr;
    QHash<QObject *, QString> m_descriptions;
    QHash<QString, RadioGroup *> m_groups;
    QHash<QString, QPushButton *> m_gradeButtons; // "group/caption" of the grade page's buttons
    QList<int> m_hyouteiNumbers;                  // key number of each HyouteiGroup item
    QPointer<TSplashWindow> m_splash;
};

} // namespace tavro
