#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace tavro {

// The working context held by the main window and copied into the windows it opens.
struct WorkingContext {
    QString dataFolder; // ends with a separator
    int nendo = 0;
    int thisNendo = 0;
    QString schoolName;
    QString password;      // scrambled administrator password; empty: none set
    bool classType = true; // true: numbered classes ("1組"), false: lettered ("A組")
    int schoolKind = 1;    // 0 elementary, 1 junior high
    QString mainCaption;

    QString gakunen; // "1".."6"
    QString kyouka;
    QString testCode; // "A".. or "1".."9"
    QString testName;
    QString teacherName;
    QString chargeClasses;
    bool readOnly = false;

    std::array<int, 6> classCount{};
    bool gTestKanten = false;
    bool tTestKanten = true;
    bool totatuEmphasis = false;
    bool danjoBetu = false;
    std::array<bool, 5> teikiTest{};
    std::array<bool, 9> gakuTest{};
    QStringList sentakuList;

    QString yearFolder() const;
};

} // namespace tavro
