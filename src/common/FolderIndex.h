#pragma once

#include <QHash>
#include <QString>

namespace tavro::paths {

// resolveExisting() for many files of the same folders: each folder is listed once, on first use,
// and later look-ups are answered from that listing. Meant for one operation (a window's load);
// files created afterwards are not seen.
class FolderIndex {
public:
    // Same result as resolveExisting(path) when the folders have not changed since they were listed.
    QString resolve(const QString &path);
    bool exists(const QString &path);

private:
    struct Folder {
        bool exists = false;
        QHash<QString, QString> exact;  // entry name -> entry name
        QHash<QString, QString> folded; // case-folded name -> first entry in name order
    };
    // The listing of an existing folder path (already resolved).
    const Folder &folder(const QString &resolvedPath);
    // The resolved path and whether it exists.
    QString resolveWith(const QString &path, bool &found);

    QHash<QString, Folder> m_folders;
};

} // namespace tavro::paths
