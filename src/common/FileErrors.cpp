#include "common/FileErrors.h"

#include <QCoreApplication>
#include <QFileDevice>

#include <array>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace tavro::fileerror {

namespace {

enum class Kind { Permission, ReadOnly, Missing, DiskFull, InUse, Network, Device, Unknown };

QString text(Kind kind) {
    switch (kind) {
    case Kind::Permission:
        return QStringLiteral("書き込みまたは読み込みの権限がありません。");
    case Kind::ReadOnly:
        return QStringLiteral("読み取り専用の場所なので書き込めません。");
    case Kind::Missing:
        return QStringLiteral("フォルダまたはファイルが見つかりません。");
    case Kind::DiskFull:
        return QStringLiteral("ディスクの空き容量が足りません。");
    case Kind::InUse:
        return QStringLiteral("ファイルがほかのプログラムで使用中です。");
    case Kind::Network:
        return QStringLiteral(
            "ネットワーク上のフォルダに接続できません。ネットワークの接続を確かめてください。");
    case Kind::Device:
        return QStringLiteral(
            "ディスクの読み書きでエラーが起きました。ディスクまたはネットワークの状態を確かめてください。");
    case Kind::Unknown:
        break;
    }
    return {};
}

struct Pattern {
    const char *text; // lower-case part of an English system text
    Kind kind;
};

// glibc's strerror, Qt's own texts and the Windows messages of the same errors.
constexpr std::array kPatterns{
    Pattern{"permission denied", Kind::Permission},
    Pattern{"operation not permitted", Kind::Permission},
    Pattern{"access is denied", Kind::Permission},
    Pattern{"read-only file system", Kind::ReadOnly},
    Pattern{"write protected", Kind::ReadOnly},
    Pattern{"no such file or directory", Kind::Missing},
    Pattern{"not a directory", Kind::Missing},
    Pattern{"cannot find the file", Kind::Missing},
    Pattern{"cannot find the path", Kind::Missing},
    Pattern{"path not found", Kind::Missing},
    Pattern{"file not found", Kind::Missing},
    Pattern{"no space left on device", Kind::DiskFull},
    Pattern{"disk quota exceeded", Kind::DiskFull},
    Pattern{"not enough space on the disk", Kind::DiskFull},
    Pattern{"the disk is full", Kind::DiskFull},
    Pattern{"text file busy", Kind::InUse},
    Pattern{"device or resource busy", Kind::InUse},
    Pattern{"being used by another process", Kind::InUse},
    Pattern{"another process has locked", Kind::InUse},
    Pattern{"input/output error", Kind::Device},
    Pattern{"i/o device error", Kind::Device},
    Pattern{"data error (cyclic redundancy check)", Kind::Device},
    Pattern{"stale file handle", Kind::Network},
    Pattern{"transport endpoint is not connected", Kind::Network},
    Pattern{"host is down", Kind::Network},
    Pattern{"no route to host", Kind::Network},
    Pattern{"network is unreachable", Kind::Network},
    Pattern{"network is down", Kind::Network},
    Pattern{"network path was not found", Kind::Network},
    Pattern{"network name is no longer available", Kind::Network},
    Pattern{"network name cannot be found", Kind::Network},
    Pattern{"network location cannot be reached", Kind::Network},
};

// Qt's own texts of the errors it names itself, which its translations may turn into other words.
struct QtText {
    const char *source;
    Kind kind;
};
constexpr std::array kQtTexts{
    QtText{"Permission denied", Kind::Permission},
    QtText{"No such file or directory", Kind::Missing},
    QtText{"No space left on device", Kind::DiskFull},
};

Kind kindOfText(const QString &systemText) {
    const QString lower = systemText.toLower();
    for (const Pattern &p : kPatterns)
        if (lower.contains(QLatin1String(p.text)))
            return p.kind;
    for (const QtText &t : kQtTexts)
        if (systemText == QCoreApplication::translate("QIODevice", t.source))
            return t.kind;
    return Kind::Unknown;
}

Kind kindOfCode(int code) {
#ifdef Q_OS_WIN
    switch (code) {
    case ERROR_ACCESS_DENIED:
        return Kind::Permission;
    case ERROR_WRITE_PROTECT:
        return Kind::ReadOnly;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return Kind::Missing;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return Kind::DiskFull;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return Kind::InUse;
    case ERROR_IO_DEVICE:
    case ERROR_CRC:
        return Kind::Device;
    case ERROR_BAD_NETPATH:
    case ERROR_NETNAME_DELETED:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_UNEXP_NET_ERR:
        return Kind::Network;
    default:
        return Kind::Unknown;
    }
#else
    switch (code) {
    case EACCES:
    case EPERM:
        return Kind::Permission;
    case EROFS:
        return Kind::ReadOnly;
    case ENOENT:
    case ENOTDIR:
        return Kind::Missing;
    case ENOSPC:
    case EDQUOT:
        return Kind::DiskFull;
    case ETXTBSY:
    case EBUSY:
        return Kind::InUse;
    case EIO:
        return Kind::Device;
    case ESTALE:
    case ENOTCONN:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ENETDOWN:
    case ENETUNREACH:
        return Kind::Network;
    default:
        return Kind::Unknown;
    }
#endif
}

QString unmapped(const QString &systemText) {
    const QString t = systemText.trimmed();
    const bool unknown = t.compare(QLatin1String("Unknown error"), Qt::CaseInsensitive) == 0 ||
                         t == QCoreApplication::translate("QIODevice", "Unknown error");
    return t.isEmpty() || unknown ? QStringLiteral("原因のわからないエラーです。")
                                  : QStringLiteral("ファイルを扱えませんでした。（%1）").arg(t);
}

} // namespace

QString reason(const QString &systemText) {
    const Kind kind = kindOfText(systemText);
    return kind == Kind::Unknown ? unmapped(systemText) : text(kind);
}

QString fromSystemCode(int code) {
    const Kind kind = kindOfCode(code);
    if (kind != Kind::Unknown)
        return text(kind);
#ifdef Q_OS_WIN
    return unmapped(QStringLiteral("エラー %1").arg(code));
#else
    return unmapped(QString::fromLocal8Bit(std::strerror(code)));
#endif
}

QString reason(const QFileDevice &file) {
    return reason(file.errorString());
}

} // namespace tavro::fileerror
