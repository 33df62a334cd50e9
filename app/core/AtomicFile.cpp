#include "app/core/AtomicFile.h"

#include <QFile>

#include <cerrno>
#include <climits>
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

bool write(const QString& path, const QByteArray& content, QString& error) {
    const QByteArray target = resolveTarget(QFile::encodeName(path));
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray dir = slash < 0 ? QByteArray(".") : (slash == 0 ? QByteArray("/") : target.left(slash));
    const QByteArray base = slash < 0 ? target : target.mid(slash + 1);

    QByteArray temp = (slash < 0 ? QByteArray() : target.left(slash + 1)) + '.' + base + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = errnoText(errno);
        return false;
    }
    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(temp.constData());
        error = errnoText(err);
        return false;
    };

    struct stat old {};
    if (::stat(target.constData(), &old) == 0) {
        if (::fchmod(fd, old.st_mode & 07777) != 0) return fail(errno);
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            // Only a privileged process may give the file back to its owner; others keep their own.
            const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
            (void)ignored;
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (::fchmod(fd, 0666 & ~mask) != 0) return fail(errno);
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
