// Windows implementations of the QtCore ports: the named mutex, the logon and computer names, the UNC test.
#include "platform/qt/QtPorts.h"

#include <QDir>

#include <iterator>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shlwapi.h>

namespace tavro {

namespace {

const wchar_t *wide(const QString &text) {
    return reinterpret_cast<const wchar_t *>(text.utf16());
}

QString fromWide(const wchar_t *text, DWORD size) {
    return QString::fromWCharArray(text, int(size));
}

} // namespace

MutexInstanceGuard::MutexInstanceGuard(const QString &name) : m_name(name) {}

MutexInstanceGuard::~MutexInstanceGuard() {
    release();
}

bool MutexInstanceGuard::tryAcquire() {
    if (m_handle)
        return true;
    // An existing mutex means another instance runs; it is not taken over.
    if (HANDLE existing = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, wide(m_name))) {
        CloseHandle(existing);
        return false;
    }
    HANDLE created = CreateMutexW(nullptr, FALSE, wide(m_name));
    if (!created)
        return false;
    if (GetLastError() == ERROR_ALREADY_EXISTS) { // created by another instance in the meantime
        CloseHandle(created);
        return false;
    }
    m_handle = created;
    return true;
}

void MutexInstanceGuard::release() {
    if (!m_handle)
        return;
    CloseHandle(static_cast<HANDLE>(m_handle));
    m_handle = nullptr;
}

QString SystemWorkstationInfo::userName() const {
    wchar_t buffer[256 + 1];
    DWORD size = DWORD(std::size(buffer));
    if (!GetUserNameW(buffer, &size) || size == 0)
        return qEnvironmentVariable("USERNAME").left(30);
    return fromWide(buffer, size - 1).left(30); // size counts the terminating zero
}

QString SystemWorkstationInfo::computerName() const {
    wchar_t buffer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = DWORD(std::size(buffer));
    if (!GetComputerNameW(buffer, &size))
        return qEnvironmentVariable("COMPUTERNAME").left(255);
    return fromWide(buffer, size).left(255);
}

bool isUncPath(const QString &path) {
    QString native = QDir::toNativeSeparators(path);
    wchar_t full[32768];
    const DWORD size = GetFullPathNameW(wide(native), DWORD(std::size(full)), full, nullptr);
    if (size > 0 && size < std::size(full))
        native = fromWide(full, size);
    // The long-path forms: "\\?\UNC\server\share" is a share, "\\?\C:\" and devices are not.
    if (native.startsWith(QStringLiteral("\\\\?\\UNC\\"), Qt::CaseInsensitive))
        return true;
    if (native.startsWith(QStringLiteral("\\\\?\\")) || native.startsWith(QStringLiteral("\\\\.\\")))
        return false;
    return PathIsUNCW(wide(native));
}

void useBinaryStandardStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

} // namespace tavro
