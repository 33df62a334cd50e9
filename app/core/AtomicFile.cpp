#include "app/core/AtomicFile.h"

#include <QFile>

#include <dirent.h>
#include <sys/file.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace atomicfile {
namespace {

QString errnoText(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

bool writeAllBytes(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// The file a path finally names: symbolic links followed, even when the last one is dangling.
QByteArray resolveTarget(const QByteArray& path) {
    QByteArray current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        char buf[PATH_MAX];
        const ssize_t n = ::readlink(current.constData(), buf, sizeof buf - 1);
        if (n <= 0) return current;
        QByteArray link(buf, n);
        if (link.startsWith('/')) {
            current = link;
        } else {
            const qsizetype slash = current.lastIndexOf('/');
            current = (slash < 0 ? QByteArray() : current.left(slash + 1)) + link;
        }
    }
    return current;
}

// The temporary name of a write in progress: "." + base + "." + six characters from mkstemp.
bool isTemporaryOf(const char* entry, const QByteArray& base) {
    const std::size_t length = std::strlen(entry);
    const auto prefix = static_cast<std::size_t>(base.size()) + 2;
    return length == prefix + 6 && entry[0] == '.' &&
           std::memcmp(entry + 1, base.constData(), base.size()) == 0 && entry[prefix - 1] == '.';
}

// Removes what writers of this file left behind when they died half-way. A writer holds an exclusive
// lock on its temporary file until it is renamed, so a temporary file that can be locked has no
// living writer.
void removeLeftovers(const QByteArray& dir, const QByteArray& base) {
    DIR* d = ::opendir(dir.constData());
    if (!d) return;
    while (const dirent* e = ::readdir(d)) {
        if (!isTemporaryOf(e->d_name, base)) continue;
        const QByteArray path = dir + '/' + e->d_name;
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
        ::close(fd);
    }
    ::closedir(d);
}

// A file its owner made read-only (no write bit for anyone) is respected, also by a privileged process.
bool isReadOnly(const QByteArray& target, const struct stat& st) {
    return (st.st_mode & 0222) == 0 || ::access(target.constData(), W_OK) != 0;
}

// The process's umask. Read from /proc, which leaves it untouched: setting and restoring it would
// let another thread create a file with a umask of 0 in between. Kernels without the field get the
// set-and-restore.
mode_t currentUmask() {
    if (FILE* f = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, f))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(f);
        if (found) return static_cast<mode_t>(mask & 0777);
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The permissions of the file written: an existing file's own, a new file's from the umask; a private
// file keeps only its owner's bits.
mode_t modeFor(bool existed, const struct stat& old, Access access) {
    if (access == Access::Private) return existed ? (old.st_mode & 0700) : 0600;
    if (existed) return old.st_mode & 07777;
    return 0666 & ~currentUmask();
}

} // namespace

bool readAll(const QString& path, QByteArray& content, bool& existed, QString& error) {
    content.clear();
    existed = false;
    QFile file(path);
    if (!file.exists()) return true;
    existed = true;
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool write(const QString& path, const QByteArray& content, QString& error, Access access) {
    const QByteArray target = resolveTarget(QFile::encodeName(path));
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray dir = slash < 0 ? QByteArray(".") : (slash == 0 ? QByteArray("/") : target.left(slash));
    const QByteArray base = slash < 0 ? target : target.mid(slash + 1);

    struct stat old {};
    const bool existed = ::stat(target.constData(), &old) == 0;
    if (existed && isReadOnly(target, old)) {
        error = QStringLiteral("the file is read-only");
        return false;
    }
    removeLeftovers(dir, base);

    QByteArray temp = (slash < 0 ? QByteArray() : target.left(slash + 1)) + '.' + base + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = errnoText(errno);
        return false;
    }
    // Held until the process ends: marks the temporary file as in use (see removeLeftovers).
    ::flock(fd, LOCK_EX);
    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(temp.constData());
        error = errnoText(err);
        return false;
    };

    if (::fchmod(fd, modeFor(existed, old, access)) != 0) return fail(errno);
    if (existed) {
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            // Only a privileged process may give the file back to its owner; others keep their own.
            const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
            (void)ignored;
        }
    }

    if (!writeAllBytes(fd, content.constData(), content.size())) return fail(errno);
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.constData());
        error = errnoText(err);
        return false;
    }
    if (::rename(temp.constData(), target.constData()) != 0) {
        const int err = errno;
        ::unlink(temp.constData());
        error = errnoText(err);
        return false;
    }
    // Make the rename itself durable.
    const int dfd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

} // namespace atomicfile
