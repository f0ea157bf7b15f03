/* Preloaded into a test's child process: counts the calls that change a file and kills the process
 * just before the one numbered NBR_KILL_AT (1-based), as a power cut or a killed program would stop
 * it. With NBR_KILL_COUNT naming a file, the number of such calls made is written there at exit, so a
 * test can first count the kill points of a write path and then try each one.
 *
 * Only changes to regular files count (a write to the terminal or a pipe is no kill point).
 *
 * Two more uses of the same points:
 *   NBR_STOP_AT=N    the process stops itself (SIGSTOP) just before the N-th call instead, so that a
 *                    test can run a second program at exactly that point and then let it go on.
 *   NBR_FULL_UNDER=P every write to a regular file whose path starts with P fails with ENOSPC, as on
 *                    a full disk. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

static long calls;
static long killAt = -1;
static long stopAt = -1;
static const char* fullUnder;
static const char* countFile;

static void reportCount(void) {
    if (!countFile)
        return;
    FILE* out = fopen(countFile, "w");
    if (!out)
        return;
    fprintf(out, "%ld\n", calls);
    fclose(out);
}

__attribute__((constructor)) static void setUp(void) {
    const char* at = getenv("NBR_KILL_AT");
    if (at && *at)
        killAt = strtol(at, NULL, 10);
    const char* stop = getenv("NBR_STOP_AT");
    if (stop && *stop)
        stopAt = strtol(stop, NULL, 10);
    fullUnder = getenv("NBR_FULL_UNDER");
    if (fullUnder && !*fullUnder)
        fullUnder = NULL;
    countFile = getenv("NBR_KILL_COUNT");
    if (countFile && *countFile)
        atexit(reportCount);
    else
        countFile = NULL;
}

static int isRegular(int fd) {
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

static void point(void) {
    ++calls;
    if (calls == killAt) {
        reportCount();
        kill(getpid(), SIGKILL);
    }
    if (calls == stopAt)
        kill(getpid(), SIGSTOP);
}

/* Whether a write to this descriptor is to fail as on a full disk. */
static int onFullDisk(int fd) {
    if (!fullUnder)
        return 0;
    char link[64];
    char target[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, target, sizeof target - 1);
    if (n <= 0)
        return 0;
    target[n] = 0;
    return strncmp(target, fullUnder, strlen(fullUnder)) == 0;
}

#define NEXT(name) static __typeof__(name)* real_##name; if (!real_##name) real_##name = dlsym(RTLD_NEXT, #name)

ssize_t write(int fd, const void* buf, size_t count) {
    NEXT(write);
    if (isRegular(fd)) {
        point();
        if (onFullDisk(fd)) {
            errno = ENOSPC;
            return -1;
        }
    }
    return real_write(fd, buf, count);
}

ssize_t pwrite(int fd, const void* buf, size_t count, off_t offset) {
    NEXT(pwrite);
    point();
    return real_pwrite(fd, buf, count, offset);
}

ssize_t pwrite64(int fd, const void* buf, size_t count, off64_t offset) {
    NEXT(pwrite64);
    point();
    return real_pwrite64(fd, buf, count, offset);
}

int fsync(int fd) {
    NEXT(fsync);
    point();
    return real_fsync(fd);
}

int fdatasync(int fd) {
    NEXT(fdatasync);
    point();
    return real_fdatasync(fd);
}

int ftruncate(int fd, off_t length) {
    NEXT(ftruncate);
    point();
    return real_ftruncate(fd, length);
}

int ftruncate64(int fd, off64_t length) {
    NEXT(ftruncate64);
    point();
    return real_ftruncate64(fd, length);
}

int rename(const char* from, const char* to) {
    NEXT(rename);
    point();
    return real_rename(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
    NEXT(renameat);
    point();
    return real_renameat(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned int flags) {
    NEXT(renameat2);
    point();
    return real_renameat2(fromDir, from, toDir, to, flags);
}

int link(const char* from, const char* to) {
    NEXT(link);
    point();
    return real_link(from, to);
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    NEXT(linkat);
    point();
    return real_linkat(fromDir, from, toDir, to, flags);
}

int unlink(const char* path) {
    NEXT(unlink);
    point();
    return real_unlink(path);
}

int unlinkat(int dir, const char* path, int flags) {
    NEXT(unlinkat);
    point();
    return real_unlinkat(dir, path, flags);
}
