#pragma once

#include "common/DataFile.h"

#include <QString>

#include <vector>

namespace tavro {

// The kinds of the binary data files of a year.
enum class DataKind { Unknown, Worksheet, ClassResult, ElectiveResult, TestScores, FullScores };

// One data file of the year as its reader sees it.
struct CheckedFile {
    QString path;
    DataKind kind = DataKind::Unknown;
    ReadReport report; // unreadable, truncated, too new or out-of-range entries
};

// Reads every test file (Test/*.dat, *.def), class result (Hyoutei/*.dat), elective result (Sentaku/*.dat)
// and worksheet ("<teacher>/<year>*.dat") of the year in `dataFolder` with the program's readers.
std::vector<CheckedFile> checkDataFolder(const QString &dataFolder, int nendo);

} // namespace tavro
