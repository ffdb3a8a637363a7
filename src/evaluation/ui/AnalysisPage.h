#pragma once

#include "evaluation/Editing.h"
#include "evaluation/ui/EvaluationPage.h"

#include <array>

class QLineEdit;
class QListWidget;
class QRadioButton;
class QTabWidget;

namespace tavro::evaluationui {

// "個人分析": the student list in class or attainment order and its filters, the items of the student
// under the cursor, the results of the periods and of earlier years, and the comments.
class AnalysisPage final : public EvaluationPage {
public:
    explicit AnalysisPage(THyoutei1Form &form);

    QTableWidget *grid() const { return m_analysisGrid; }
    // PageControl3: the tabs under the items, kept with the user state.
    QTabWidget *tabs() const { return m_analysisTabs; }
    // The slot of the student under the cursor of the list, or -1.
    int currentSlot() const;
    bool byAttainment() const;

    // After the load: only the comments of the periods in use can be written.
    void opened();
    void refillStudentList(bool announce = false);
    // The student of list row `listRow` (none: an empty page).
    void showStudent(int listRow);
    void showCurrentStudent();

private:
    void showStudentLines(std::vector<editing::StudentLine> lines);
    void stepStudent(int delta);
    void filterClick(editing::Filter filter);
    void memoChange(int period);

    std::vector<editing::StudentLine> m_studentLines;
    QListWidget *m_studentList = nullptr;
    QRadioButton *m_byClass = nullptr;
    QRadioButton *m_byAttainment = nullptr;
    QLabel *m_studentLabel = nullptr;
    QTableWidget *m_analysisGrid = nullptr;
    QTabWidget *m_analysisTabs = nullptr;
    QTableWidget *m_periodGrid = nullptr;
    QTableWidget *m_kindGrid = nullptr;
    QTableWidget *m_historyGrid = nullptr;
    std::array<QLineEdit *, 5> m_comments{};
};

} // namespace tavro::evaluationui
