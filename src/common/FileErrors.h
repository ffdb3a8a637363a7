#pragma once

#include <QString>

class QFileDevice;

// The Japanese reason of a failed file operation, for every message that shows one. The errors a school's
// workstation meets (no permission, a read-only place, a missing folder, a full disk, a file in use, a
// network folder gone) have their own texts; any other keeps the system's text in parentheses.
namespace tavro::fileerror {

// From the text the system or Qt gives (errorString() of a file, strerror, a Windows message).
QString reason(const QString &systemText);
// From the error number of a failed system call (errno; on Windows GetLastError()).
QString fromSystemCode(int code);
// The reason of the last failed operation on `file`.
QString reason(const QFileDevice &file);

} // namespace tavro::fileerror
