#pragma once

#include "config/Roster.h"
#include "evaluation/Results.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

// The evaluation results of one grade and period: the required subjects from the class result files,
// the electives from their result files, the best elective record per display subject and the
// composite letter. The aggregation window owns it and hands it to the windows it opens.
namespace tavro {

struct SentakuRecord;

class GradeHyouteiStore {
public:
    static constexpr int kFileSubjects = 10;
    static constexpr int kDisplaySubjects = 9;
    static constexpr int kMaxRecords = 36000;
    static constexpr int kRecordsPerStudent = 50;
    static constexpr int kMaxElectives = 51;

    struct Inputs {
        QString dataFolder; // ends with a separator
        int nendo = 0;
        int grade = 0;  // 1..6
        int period = 0; // HyouteiKind, 1..5
        QString periodName;
        int schoolKind = 1;
        bool classType = true; // true: numbered classes
    };

    struct Required {
        QString evaluation;
        float percentage = kNoPercentage;
        std::array<QString, kViewpoints> marks;
        std::array<float, kViewpoints> viewpointPercentages{kNoPercentage, kNoPercentage, kNoPercentage,
                                                            kNoPercentage, kNoPercentage, kNoPercentage};
        // Any of the evaluation, the percentage or a mark is set.
        bool holdsResult() const;
    };

    // A SentakuRecord as loaded, with the elective and the student it came from.
    struct Record {
        int subjectSlot = 0; // 1-based display subject; 0 none
        float percentage = kNoPercentage;
        QString evaluation;
        std::array<float, kViewpoints> viewpointPercentages{kNoPercentage, kNoPercentage, kNoPercentage,
                                                            kNoPercentage, kNoPercentage, kNoPercentage};
        std::array<QString, kViewpoints> marks;
        int elective = 0; // elective number from 1; 0 for the empty record
        int cls = 0;
        int number = 0;
    };

    struct Elective {
        int number = 0;      // from 1, in list order
        QString name;        // from "選択" on
        QString displayName; // the name from its fifth byte on
        int subjectSlot = 0; // first display subject in the name, 1-based; 0 none
        double dateTime = 0;
        bool loaded = false; // its result file was read
    };

    // One name column of the third grid.
    struct ElectiveCell {
        QString name;
        QString evaluation;
    };

    GradeHyouteiStore();

    // Resets and loads everything. Messages to show (too-new files, unsafe names, the limits) are
    // collected in `messages`, each once.
    void load(const Inputs &inputs);
    void reset();

    const Inputs &inputs() const { return m_inputs; }
    int classCount() const { return m_classCount; }
    int ichiranHoukou() const { return m_ichiranHoukou; }
    const QStringList &fileSubjects() const { return m_fileSubjects; }
    const QStringList &displaySubjects() const { return m_displaySubjects; }
    const QString &name(int slot) const { return m_names[std::size_t(slot)]; }

    // s: file subject from 0.
    const Required &required(int s, int slot) const { return m_required[std::size_t(s * kSlots + slot)]; }
    double requiredDateTime(int s, int cls) const {
        return m_dateTimes[std::size_t(s)][std::size_t(cls - 1)];
    }
    // The values the display subject `d` (from 0) takes: for PE the boys' entry when it holds any
    // result, else the girls'.
    const Required &displayRequired(int d, int slot) const;
    // " A".." M" when exactly nine file subjects hold an evaluation starting with 1..5; else empty.
    QString composite(int slot) const;

    const std::vector<Record> &records() const { return m_records; } // [0] is the empty record
    const std::vector<Elective> &electives() const { return m_electives; }
    // Record index of the best record of display subject `d` (from 0); 0 none.
    int best(int slot, int d) const { return m_best[std::size_t(slot * kDisplaySubjects + d)]; }
    const std::vector<int> &studentRecords(int slot) const { return m_studentRecords[std::size_t(slot)]; }
    // The name cell of display subject `d` in the second grid: the elective or "★重複".
    const QString &subjectElective(int slot, int d) const {
        return m_subjectElectives[std::size_t(slot * kDisplaySubjects + d)];
    }
    const std::vector<ElectiveCell> &electiveCells(int slot) const { return m_cells[std::size_t(slot)]; }

    const QStringList &messages() const { return m_messages; }
    bool limitExceeded() const { return m_limitExceeded; }

    // ---- The three grids (row 0 the header, rows 1.. the students; 60 rows a class) ----
    static int gridColumns(int grid); // 24, 21, 103
    int gridRows() const { return m_classCount * kSeatsPerClass + 1; }
    QString gridText(int grid, int row, int column) const;

    // ---- The copies ("観点評価あり" / "観点評価なし") ----
    QString copyText(bool viewpoints) const;

    QJsonObject toJson() const;

    static QString limitMessage();

private:
    void loadRequired();
    void loadElectives();
    bool loadElectiveResults(Elective &elective, const QString &name);
    void addMember(int slot, const Elective &elective);
    void addRecord(const Elective &elective, const QString &name, int cls, int number,
                   const SentakuRecord &record);
    int subjectSlotOf(const QString &name) const;
    void limitReached(const QString &what);

    Inputs m_inputs;
    int m_classCount = 0;
    int m_ichiranHoukou = 1;
    QStringList m_fileSubjects;
    QStringList m_displaySubjects;
    std::vector<QString> m_names;
    std::vector<Required> m_required;                                         // kFileSubjects × kSlots
    std::array<std::array<double, kMaxClasses>, kFileSubjects> m_dateTimes{}; // per subject and class
    std::vector<Record> m_records;
    std::vector<Elective> m_electives;
    std::vector<int> m_best;                        // kSlots × kDisplaySubjects
    std::vector<std::vector<int>> m_studentRecords; // kSlots
    std::vector<QString> m_subjectElectives;        // kSlots × kDisplaySubjects
    std::vector<std::vector<ElectiveCell>> m_cells; // kSlots
    QStringList m_messages;
    QStringList m_limits;
    bool m_limitExceeded = false;
};

} // namespace tavro
