#pragma once

#include <QString>

// Paths in the data folder. Folders are held with '/' separators (Qt's form) and the data folder
// always ends with a separator.
namespace tavro::paths {

// Appends a separator unless the path already ends with one ('/' or, on Windows, '\').
QString withTrailingSeparator(const QString &folder);

// `DataFolder` + decimal year, no trailing separator.
QString yearFolder(const QString &dataFolder, int nendo);
// `YearFolder` + "/" + stem + decimal year + extension ("Tavro", ".ini" gives Tavro2024.ini).
QString yearFile(const QString &dataFolder, int nendo, const QString &stem, const QString &extension);
QString yearSettingsFile(const QString &dataFolder, int nendo); // Tavro<year>.ini
QString teacherFile(const QString &dataFolder, int nendo);      // teacher<year>.def
QString sentakuFile(const QString &dataFolder, int nendo);      // sentaku<year>.def
QString kantenFile(const QString &dataFolder, int nendo);       // Kanten<year>.def
// `YearFolder` + "/" + year + "NA" + grade + ".tvp".
QString rosterFile(const QString &dataFolder, int nendo, int grade);
// Member list of an elective: `YearFolder` + "/" + year + "S" + grade + elective name + ".lst"
// (the name from "選択" on, e.g. 2024S3選択英語G.lst).
QString memberListFile(const QString &dataFolder, int nendo, int grade, const QString &elective);
// "Tavro_Main.ini" in the data folder.
QString mainSettingsFile(const QString &dataFolder);

// Creates the folder with a single, non-recursive call when missing. Failure is ignored (the
// result only tells whether the folder exists afterwards).
bool ensureFolder(const QString &folder);
// Creates `YearFolder` one level when missing and returns it.
QString ensureYearFolder(const QString &dataFolder, int nendo);

// The path of an existing file: `path` itself when it exists, otherwise the entry of its folder
// whose name equals the file name without regard to letter case (folders are matched the same
// way). For a missing file: `path` with the part that exists resolved, so a new file goes into the
// existing folder ("2024/Test/x" gives "2024/test/x" when only "test" exists).
QString resolveExisting(const QString &path);
// resolveExisting(path) exists.
bool fileExists(const QString &path);

// True when `name` may become part of a file name in the data folder: not empty, no path separator,
// no "..", no control character, no character reserved in Windows file names, and encodable in code
// page 932. `reason` gets a Japanese message when it may not.
bool isSafeName(const QString &name, QString *reason = nullptr);

} // namespace tavro::paths
