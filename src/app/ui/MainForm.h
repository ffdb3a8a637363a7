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
class MainAdminPage;
class MainGradePage;

// The main menu: the school year, the task pages with their selections, and the administration page.
// It holds the working context for the whole run. "学年処理" and "管理用" are classes of their own.
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

    // For the pages ("学年処理", "管理用").
    const Platform &platform() const { return m_platform; }
    WorkingContext &workingContext() { return m_context; }
    // A radio group of `items` (the first checked), known by `name` to radioGroup() and the user state.
    RadioGroup *addGroup(const QString &name, const QString &title, const QStringList &items, int columns);
    // The menus of the year: test kinds, evaluation kinds, the electives.
    void reloadYear();
    // The pages and subjects of the school kind.
    void applySchoolKind();
    void showSchoolName();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildHeader(QWidget *panel);
    QWidget *buildPeriodicTestPage();
    QWidget *buildAchievementTestPage();
    QWidget *buildCompulsoryPage();
    QWidget *buildElectivePage();

    void startUp();
    void showMainSettings();
    void restoreUserState();
    void refillElectives();
    void centrePanel();

    void nendo1Click();
    void versionClick();
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
    QLabel *m_achievementPageHeading = nullptr;
    QListWidget *m_listBox1 = nullptr;
    MainGradePage *m_gradePage = nullptr;
    MainAdminPage *m_adminPage = nullptr;
    QHash<QString, RadioGroup *> m_groups;
    QPointer<TSplashWindow> m_splash;
};

} // namespace tavro
