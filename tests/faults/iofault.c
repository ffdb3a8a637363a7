// A preloaded library that makes one file-system call fail, for the fault sweep of tests/faults.
//
// Counted are the calls that change files on paths under TAVRO_FAULT_DIR: opens (also those for
// reading with TAVRO_FAULT_READS=1), creat, mkdir, write, pwrite, writev, ftruncate, fsync, fdatasync,
// rename, link, unlink, rmdir and close, the fd-based ones on descriptors opened under the folder.
// The TAVRO_FAULT_AT-th counted call (from 1) fails with TAVRO_FAULT_ERRNO (ENOSPC, EIO, EACCES, EROFS or
// a number) without doing anything, except close, which releases the descriptor and then reports the
// error as the kernel may. TAVRO_FAULT_AT=0 only counts. At exit the library appends to TAVRO_FAULT_LOG
// one line "calls N" and, when it injected, "injected CALL PATH". TAVRO_FAULT_TIME (seconds since the
// epoch) fixes the wall clock, so that two runs write the same time stamps.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <time.h>
#include <unistd.h>

#define MAX_FDS 4096

static char g_dir[PATH_MAX];
static size_t g_dirLen;
static long g_at;
static int g_errno = EIO;
static int g_reads;
static long g_calls;
static int g_injected;
static char g_what[64];
static char g_where[PATH_MAX];
static int g_ready;
static long g_time = -1;
static unsigned char g_tracked[MAX_FDS];

#define REAL(ret, name, ...)                                                                                \
    static ret (*real_##name)(__VA_ARGS__);                                                                 \
    static ret (*get_##name(void))(__VA_ARGS__) {                                                           \
        if (!real_##name)                                                                                   \
            real_##name = (ret(*)(__VA_ARGS__))dlsym(RTLD_NEXT, #name);                                     \
        return real_##name;                                                                                 \
    }

REAL(int, open, const char *, int, ...)
REAL(int, open64, const char *, int, ...)
REAL(int, openat, int, const char *, int, ...)
REAL(int, openat64, int, const char *, int, ...)
REAL(int, creat, const char *, mode_t)
REAL(int, creat64, const char *, mode_t)
REAL(int, mkdir, const char *, mode_t)
REAL(int, mkdirat, int, const char *, mode_t)
REAL(ssize_t, write, int, const void *, size_t)
REAL(ssize_t, pwrite, int, const void *, size_t, off_t)
REAL(ssize_t, pwrite64, int, const void *, size_t, off_t)
REAL(ssize_t, writev, int, const struct iovec *, int)
REAL(int, ftruncate, int, off_t)
REAL(int, ftruncate64, int, off_t)
REAL(int, fsync, int)
REAL(int, fdatasync, int)
REAL(int, rename, const char *, const char *)
REAL(int, renameat, int, const char *, int, const char *)
REAL(int, renameat2, int, const char *, int, const char *, unsigned int)
REAL(int, link, const char *, const char *)
REAL(int, linkat, int, const char *, int, const char *, int)
REAL(int, unlink, const char *)
REAL(int, unlinkat, int, const char *, int)
REAL(int, rmdir, const char *)
REAL(int, close, int)
REAL(int, clock_gettime, clockid_t, struct timespec *)
REAL(int, gettimeofday, struct timeval *, void *)
REAL(time_t, time, time_t *)

static int errnoOf(const char *name) {
    if (!name || !*name)
        return EIO;
    if (!strcmp(name, "ENOSPC"))
        return ENOSPC;
    if (!strcmp(name, "EIO"))
        return EIO;
    if (!strcmp(name, "EACCES"))
        return EACCES;
    if (!strcmp(name, "EROFS"))
        return EROFS;
    if (!strcmp(name, "EDQUOT"))
        return EDQUOT;
    return atoi(name) > 0 ? atoi(name) : EIO;
}

static void report(void) {
    const char *log = getenv("TAVRO_FAULT_LOG");
    if (!log || !*log)
        return;
    FILE *f = fopen(log, "a");
    if (!f)
        return;
    fprintf(f, "calls %ld\n", g_calls);
    if (g_injected)
        fprintf(f, "injected %s %s\n", g_what, g_where);
    fclose(f);
}

__attribute__((constructor)) static void init(void) {
    const char *dir = getenv("TAVRO_FAULT_DIR");
    if (dir && *dir) {
        if (!realpath(dir, g_dir)) {
            strncpy(g_dir, dir, sizeof g_dir - 1);
        }
        g_dirLen = strlen(g_dir);
        while (g_dirLen > 1 && g_dir[g_dirLen - 1] == '/')
            g_dir[--g_dirLen] = 0;
    }
    const char *at = getenv("TAVRO_FAULT_AT");
    g_at = at ? atol(at) : 0;
    g_errno = errnoOf(getenv("TAVRO_FAULT_ERRNO"));
    const char *reads = getenv("TAVRO_FAULT_READS");
    g_reads = reads && *reads == '1';
    const char *t = getenv("TAVRO_FAULT_TIME");
    if (t && *t)
        g_time = atol(t);
    atexit(report);
    g_ready = g_dirLen > 0;
}

// The absolute form of `path` (relative to `dirfd`), with "." and ".." folded.
static int absolute(int dirfd, const char *path, char *out) {
    char buf[PATH_MAX * 2];
    if (!path)
        return 0;
    if (path[0] == '/') {
        snprintf(buf, sizeof buf, "%s", path);
    } else {
        char base[PATH_MAX];
        if (dirfd == AT_FDCWD) {
            if (!getcwd(base, sizeof base))
                return 0;
        } else {
            char link[64];
            snprintf(link, sizeof link, "/proc/self/fd/%d", dirfd);
            const ssize_t n = readlink(link, base, sizeof base - 1);
            if (n < 0)
                return 0;
            base[n] = 0;
        }
        snprintf(buf, sizeof buf, "%s/%s", base, path);
    }
    // Fold the path lexically.
    size_t len = 0;
    out[0] = 0;
    const char *p = buf;
    while (*p) {
        while (*p == '/')
            ++p;
        const char *end = p;
        while (*end && *end != '/')
            ++end;
        const size_t n = (size_t)(end - p);
        if (n == 0)
            break;
        if (n == 1 && p[0] == '.') {
        } else if (n == 2 && p[0] == '.' && p[1] == '.') {
            while (len > 0 && out[len - 1] != '/')
                --len;
            if (len > 0)
                --len;
            out[len] = 0;
        } else {
            if (len + 1 + n >= PATH_MAX)
                return 0;
            out[len++] = '/';
            memcpy(out + len, p, n);
            len += n;
            out[len] = 0;
        }
        p = end;
    }
    if (len == 0)
        strcpy(out, "/");
    return 1;
}

static int under(int dirfd, const char *path, char *abs) {
    if (!g_ready || !absolute(dirfd, path, abs))
        return 0;
    return strncmp(abs, g_dir, g_dirLen) == 0 && (abs[g_dirLen] == '/' || abs[g_dirLen] == 0);
}

// Counts a call; true when this one is to fail.
static int strike(const char *what, const char *where) {
    ++g_calls;
    if (g_at <= 0 || g_calls != g_at)
        return 0;
    g_injected = 1;
    snprintf(g_what, sizeof g_what, "%s", what);
    snprintf(g_where, sizeof g_where, "%s", where ? where : "");
    return 1;
}

static int pathCall(const char *what, int dirfd, const char *path) {
    char abs[PATH_MAX];
    return under(dirfd, path, abs) && strike(what, abs);
}

static int fdCall(const char *what, int fd) {
    if (fd < 0 || fd >= MAX_FDS || !g_tracked[fd])
        return 0;
    char link[64], target[PATH_MAX];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, target, sizeof target - 1);
    target[n > 0 ? n : 0] = 0;
    return strike(what, target);
}

static int writes(int flags) {
    return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC | O_APPEND)) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
}

static int track(int fd, int counted) {
    if (fd >= 0 && fd < MAX_FDS)
        g_tracked[fd] = (unsigned char)counted;
    return fd;
}

static int fail(void) {
    errno = g_errno;
    return -1;
}

#define MODE_ARG(flags)                                                                                      \
    mode_t mode = 0;                                                                                         \
    if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) {                                             \
        va_list ap;                                                                                          \
        va_start(ap, flags);                                                                                 \
        mode = va_arg(ap, mode_t);                                                                           \
        va_end(ap);                                                                                          \
    }

static int openCommon(const char *what, int dirfd, const char *path, int flags, mode_t mode,
                      int (*call)(int, const char *, int, mode_t)) {
    char abs[PATH_MAX];
    const int inside = under(dirfd, path, abs);
    const int writing = writes(flags);
    if (inside && (g_reads || writing) && strike(writing ? what : "open(read)", abs))
        return fail();
    return track(call(dirfd, path, flags, mode), inside);
}

static int viaOpen(int dirfd, const char *path, int flags, mode_t mode) {
    (void)dirfd;
    return get_open()(path, flags, mode);
}
static int viaOpen64(int dirfd, const char *path, int flags, mode_t mode) {
    (void)dirfd;
    return get_open64()(path, flags, mode);
}
static int viaOpenat(int dirfd, const char *path, int flags, mode_t mode) {
    return get_openat()(dirfd, path, flags, mode);
}
static int viaOpenat64(int dirfd, const char *path, int flags, mode_t mode) {
    return get_openat64()(dirfd, path, flags, mode);
}

int open(const char *path, int flags, ...) {
    MODE_ARG(flags);
    return openCommon("open", AT_FDCWD, path, flags, mode, viaOpen);
}
int open64(const char *path, int flags, ...) {
    MODE_ARG(flags);
    return openCommon("open", AT_FDCWD, path, flags, mode, viaOpen64);
}
int __open_2(const char *path, int flags) { return openCommon("open", AT_FDCWD, path, flags, 0, viaOpen); }
int __open64_2(const char *path, int flags) {
    return openCommon("open", AT_FDCWD, path, flags, 0, viaOpen64);
}
int openat(int dirfd, const char *path, int flags, ...) {
    MODE_ARG(flags);
    return openCommon("openat", dirfd, path, flags, mode, viaOpenat);
}
int openat64(int dirfd, const char *path, int flags, ...) {
    MODE_ARG(flags);
    return openCommon("openat", dirfd, path, flags, mode, viaOpenat64);
}
int __openat_2(int dirfd, const char *path, int flags) {
    return openCommon("openat", dirfd, path, flags, 0, viaOpenat);
}
int __openat64_2(int dirfd, const char *path, int flags) {
    return openCommon("openat", dirfd, path, flags, 0, viaOpenat64);
}
int creat(const char *path, mode_t mode) {
    char abs[PATH_MAX];
    const int inside = under(AT_FDCWD, path, abs);
    if (inside && strike("creat", abs))
        return fail();
    return track(get_creat()(path, mode), inside);
}
int creat64(const char *path, mode_t mode) {
    char abs[PATH_MAX];
    const int inside = under(AT_FDCWD, path, abs);
    if (inside && strike("creat", abs))
        return fail();
    return track(get_creat64()(path, mode), inside);
}

int mkdir(const char *path, mode_t mode) {
    if (pathCall("mkdir", AT_FDCWD, path))
        return fail();
    return get_mkdir()(path, mode);
}
int mkdirat(int dirfd, const char *path, mode_t mode) {
    if (pathCall("mkdirat", dirfd, path))
        return fail();
    return get_mkdirat()(dirfd, path, mode);
}

ssize_t write(int fd, const void *buf, size_t n) {
    if (fdCall("write", fd))
        return fail();
    return get_write()(fd, buf, n);
}
ssize_t pwrite(int fd, const void *buf, size_t n, off_t off) {
    if (fdCall("pwrite", fd))
        return fail();
    return get_pwrite()(fd, buf, n, off);
}
ssize_t pwrite64(int fd, const void *buf, size_t n, off_t off) {
    if (fdCall("pwrite", fd))
        return fail();
    return get_pwrite64()(fd, buf, n, off);
}
ssize_t writev(int fd, const struct iovec *iov, int count) {
    if (fdCall("writev", fd))
        return fail();
    return get_writev()(fd, iov, count);
}
int ftruncate(int fd, off_t length) {
    if (fdCall("ftruncate", fd))
        return fail();
    return get_ftruncate()(fd, length);
}
int ftruncate64(int fd, off_t length) {
    if (fdCall("ftruncate", fd))
        return fail();
    return get_ftruncate64()(fd, length);
}
int fsync(int fd) {
    if (fdCall("fsync", fd))
        return fail();
    return get_fsync()(fd);
}
int fdatasync(int fd) {
    if (fdCall("fdatasync", fd))
        return fail();
    return get_fdatasync()(fd);
}

int close(int fd) {
    const int hit = fdCall("close", fd);
    if (fd >= 0 && fd < MAX_FDS)
        g_tracked[fd] = 0;
    const int r = get_close()(fd);
    return hit ? fail() : r;
}

static int twoPaths(const char *what, int fromFd, const char *from, int toFd, const char *to) {
    char a[PATH_MAX], b[PATH_MAX];
    const int inA = under(fromFd, from, a);
    const int inB = under(toFd, to, b);
    return (inA || inB) && strike(what, inB ? b : a);
}

int rename(const char *from, const char *to) {
    if (twoPaths("rename", AT_FDCWD, from, AT_FDCWD, to))
        return fail();
    return get_rename()(from, to);
}
int renameat(int fromFd, const char *from, int toFd, const char *to) {
    if (twoPaths("renameat", fromFd, from, toFd, to))
        return fail();
    return get_renameat()(fromFd, from, toFd, to);
}
int renameat2(int fromFd, const char *from, int toFd, const char *to, unsigned int flags) {
    if (twoPaths("renameat2", fromFd, from, toFd, to))
        return fail();
    return get_renameat2()(fromFd, from, toFd, to, flags);
}
int link(const char *from, const char *to) {
    if (pathCall("link", AT_FDCWD, to))
        return fail();
    return get_link()(from, to);
}
int linkat(int fromFd, const char *from, int toFd, const char *to, int flags) {
    if (pathCall("linkat", toFd, to))
        return fail();
    return get_linkat()(fromFd, from, toFd, to, flags);
}
int unlink(const char *path) {
    if (pathCall("unlink", AT_FDCWD, path))
        return fail();
    return get_unlink()(path);
}
int unlinkat(int dirfd, const char *path, int flags) {
    if (pathCall("unlinkat", dirfd, path))
        return fail();
    return get_unlinkat()(dirfd, path, flags);
}
int rmdir(const char *path) {
    if (pathCall("rmdir", AT_FDCWD, path))
        return fail();
    return get_rmdir()(path);
}

int clock_gettime(clockid_t clock, struct timespec *ts) {
    if (g_time >= 0 && (clock == CLOCK_REALTIME || clock == CLOCK_REALTIME_COARSE)) {
        ts->tv_sec = g_time;
        ts->tv_nsec = 0;
        return 0;
    }
    return get_clock_gettime()(clock, ts);
}
int gettimeofday(struct timeval *tv, void *tz) {
    if (g_time >= 0) {
        tv->tv_sec = g_time;
        tv->tv_usec = 0;
        return 0;
    }
    return get_gettimeofday()(tv, tz);
}
time_t time(time_t *out) {
    if (g_time >= 0) {
        if (out)
            *out = g_time;
        return g_time;
    }
    return get_time()(out);
}
