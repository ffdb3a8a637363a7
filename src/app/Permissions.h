#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace tavro {

// The input permissions of a year (section "Permission" of the year settings file) as the permission
// window shows them: four lists of the kinds with a non-empty name, the check of item i (from 0)
// stored under key + (i + 1). So a kind whose name is empty is left out and the flags of the kinds
// after it move up one position, in line with the main window's menus.
struct InputPermissions {
    struct Page {
        QString caption; // "定期", "学力(実力)", "必修評定", "選択評定"
        QString heading;
        QString key; // "TeikiTest", "GakuTest", "Hyoutei", "HyouteiS"
        QStringList items;
        QList<bool> checked;
    };
    std::array<Page, 4> pages;

    // Reads the names and flags of the year (missing file: defaults, nothing checked).
    static InputPermissions load(const QString &dataFolder, int nendo);
    // Creates the year folder when missing and writes key + (i + 1) for every item of every page
    // into the year settings file, keeping its other lines.
    bool save(const QString &dataFolder, int nendo, QString *error = nullptr) const;
};

} // namespace tavro
