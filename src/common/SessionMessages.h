#pragma once

#include <QString>
#include <QStringList>

// The messages every session that loads and saves a window's files shows in the same words.
namespace tavro {

// The message of a save that failed (caption "TAVRO", Yes/No/Cancel).
QString saveFailedQuestion(const QString &error);
// The message naming a file that makes the window read-only.
QString readOnlyFileMessage(const QStringList &problems);

} // namespace tavro
