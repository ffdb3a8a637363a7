#pragma once

#include "app/WorkingContext.h"
#include "platform/Platform.h"

#include <QHash>
#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;
class QTabWidget;

namespace tavro {

class TMainForm;
struct InputStatusInputs;

// "学年処理" of the main menu: the grade, and PageControl2 with the grade's test and evaluation views,
// the conference papers and the roster windows.
class MainGradePage final : public QWidget {
public:
    explicit MainGradePage(TMainForm &form);

    QTabWidget *pageControl() const { return m_pageControl2; }
    // After a year's menus: the achievement tests' name and the key number of each HyouteiGroup item.
    void setYear(const QString &gakuTestLabel, const QList<int> &hyouteiNumbers);

private:
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
    int selectedIndex(const QString &groupName) const;
    bool gradeAvailable(int grade) const;

    TMainForm &m_form;
    const Platform &m_platform;
    WorkingContext &m_context;
    QTabWidget *m_pageControl2 = nullptr;
    QLabel *m_gakuTestHeading = nullptr;
    QHash<QString, QPushButton *> m_gradeButtons; // "group/caption" of the page's buttons
    QList<int> m_hyouteiNumbers;                  // key number of each HyouteiGroup item
};

} // namespace tavro
