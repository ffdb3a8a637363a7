#include "common/FolderIndex.h"

#include <QDir>
#include <QFileInfo>

namespace tavro::paths {

const FolderIndex::Folder &FolderIndex::folder(const QString &resolvedPath) {
    auto it = m_folders.find(resolvedPath);
    if (it != m_folders.end())
        return *it;
    Folder f;
    const QDir dir(resolvedPath);
    f.exists = dir.exists();
    if (f.exists) {
        const QStringList entries =
            dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString &entry : entries) {
            f.exact.insert(entry, entry);
            const QString key = entry.toCaseFolded();
            if (!f.folded.contains(key))
                f.folded.insert(key, entry);
        }
    }
    return *m_folders.insert(resolvedPath, std::move(f));
}

QString FolderIndex::resolveWith(const QString &path, bool &found) {
    found = false;
    if (path.isEmpty())
        return path;
    const QFileInfo info(path);
    const QString name = info.fileName();
    const QString parentPath = info.path();
    if (name.isEmpty() || parentPath == path) {
        found = QFileInfo::exists(path);
        return path;
    }
    bool parentFound = false;
    const QString parent = resolveWith(parentPath, parentFound);
    if (!parentFound)
        return parent == parentPath ? path : QDir(parent).filePath(name);
    const Folder &f = folder(parent);
    const QDir dir(parent);
    if (f.exact.contains(name)) {
        found = true;
        return parent == parentPath ? path : dir.filePath(name);
    }
    const auto it = f.folded.constFind(name.toCaseFolded());
    if (it != f.folded.constEnd()) {
        found = true;
        return dir.filePath(*it);
    }
    return parent == parentPath ? path : dir.filePath(name);
}

QString FolderIndex::resolve(const QString &path) {
    bool found = false;
    return resolveWith(path, found);
}

bool FolderIndex::exists(const QString &path) {
    bool found = false;
    resolveWith(path, found);
    return found;
}

} // namespace tavro::paths
