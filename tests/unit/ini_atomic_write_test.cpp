// The settings file is never left cut short: a writer killed at any moment leaves the old or the new
// content, whole.
#include "app/core/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

// A settings text of about `bytes` bytes whose every line tells which version it belongs to.
QByteArray bigSettings(char version, int bytes) {
    QByteArray text = QByteArray("[Program]\nVersion=") + version + "\n\n[Extra]\n";
    for (int i = 0; text.size() < bytes; ++i)
        text += "Key" + QByteArray::number(i) + '=' + QByteArray(200, version) + '\n';
    return text;
}

} // namespace

TEST(SettingsFileWrite, AWriterKilledAtRandomMomentsLeavesTheOldOrTheNewFileWhole) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = QDir(dir.path()).filePath("kestrune.ini");
    const QByteArray a = bigSettings('A', 3 << 20);
    const QByteArray b = bigSettings('B', 3 << 20);
    ASSERT_NE(a, b);
    QString error;
    ASSERT_TRUE(atomicfile::write(path, a, error)) << error.toStdString();

    std::mt19937 rng(20240307);
    std::uniform_int_distribution<int> pause(0, 4000); // microseconds after the writer reports a write
    std::uniform_int_distribution<int> writes(1, 4);
    int sawA = 0, sawB = 0;
    for (int round = 0; round < 40; ++round) {
        int progress[2];
        ASSERT_EQ(::pipe(progress), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(progress[0]);
            QString childError;
            for (unsigned i = 0;; ++i) {
                const char mark = 'w';
                if (::write(progress[1], &mark, 1) != 1) ::_exit(3);
                if (!atomicfile::write(path, (i % 2) ? a : b, childError)) ::_exit(2);
            }
        }
        ::close(progress[1]);
        // Let it start a random number of writes, then kill it somewhere inside the next one.
        const int wanted = writes(rng);
        for (int got = 0; got < wanted;) {
            char mark;
            const ssize_t n = ::read(progress[0], &mark, 1);
            if (n <= 0) break;
            got += static_cast<int>(n);
        }
        ::usleep(static_cast<useconds_t>(pause(rng)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ::close(progress[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself in round " << round;

        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "round " << round;
        const QByteArray now = f.readAll();
        ASSERT_TRUE(now == a || now == b)
            << "round " << round << ": " << now.size() << " bytes, neither version";
        (now == a ? sawA : sawB)++;
    }
    // Both versions were seen, so the kills really came between and inside writes.
    EXPECT_GT(sawA, 0);
    EXPECT_GT(sawB, 0);
    // The next write clears what the killed writers left behind.
    ASSERT_TRUE(atomicfile::write(path, a, error)) << error.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kestrune.ini"});
}

TEST(SettingsFileWrite, KeepsATemporaryFileThatALivingWriterHolds) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = QDir(dir.path()).filePath("kestrune.ini");
    const QByteArray busy = QFile::encodeName(QDir(dir.path()).filePath(".kestrune.ini.Ab12Cd"));
    const int fd = ::open(busy.constData(), O_CREAT | O_RDWR, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    QString error;
    ASSERT_TRUE(atomicfile::write(path, "[A]\n", error)) << error.toStdString();
    EXPECT_TRUE(QFile::exists(QFile::decodeName(busy)));
    ::close(fd);
}

TEST(SettingsFileWrite, LeavesAFileItsOwnerMadeReadOnly) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = QDir(dir.path()).filePath("kestrune.ini");
    QString error;
    ASSERT_TRUE(atomicfile::write(path, "[A]\nk=1\n", error));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    EXPECT_FALSE(atomicfile::write(path, "[A]\nk=2\n", error));
    EXPECT_EQ(error, "the file is read-only");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[A]\nk=1\n"));
}

TEST(SettingsFileWrite, KeepsTheFilesPermissionsAndWritesThroughASymbolicLink) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString real = QDir(dir.path()).filePath("real.ini");
    const QString link = QDir(dir.path()).filePath("kestrune.ini");
    QString error;
    ASSERT_TRUE(atomicfile::write(real, "[A]\nk=1\n", error));
    ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0640), 0);
    ASSERT_EQ(::symlink("real.ini", QFile::encodeName(link).constData()), 0);

    ASSERT_TRUE(atomicfile::write(link, "[A]\nk=2\n", error)) << error.toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    QFile f(real);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[A]\nk=2\n"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(SettingsFileWrite, ANewFileTakesTheUmasksModeAndLeavesTheUmaskAsItWas) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const mode_t saved = ::umask(0);
    for (const auto& [mask, mode] : {std::pair{022u, 0644u}, {027u, 0640u}, {077u, 0600u}}) {
        ::umask(mask);
        const QString path = QDir(dir.path()).filePath(QString::number(mask) + ".ini");
        QString error;
        ASSERT_TRUE(atomicfile::write(path, "[A]\n", error)) << error.toStdString();
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode) << "umask " << std::oct << mask;
        EXPECT_EQ(::umask(mask), mask);
    }
    ::umask(saved);
}

TEST(SettingsFileWrite, ReportsADirectoryThatCannotBeWrittenAndLeavesTheOldFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = QDir(dir.path()).filePath("missing-dir/kestrune.ini");
    QString error;
    EXPECT_FALSE(atomicfile::write(path, "x", error));
    EXPECT_FALSE(error.isEmpty());

    QByteArray content;
    bool existed = true;
    EXPECT_TRUE(atomicfile::readAll(path, content, existed, error));
    EXPECT_FALSE(existed);
    EXPECT_TRUE(content.isEmpty());
}
