// The settings file holds the router's password: it stays readable by its owner only.
#include "app/core/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

// Runs in a temporary working directory (where the settings file lives) under umask 022.
struct SettingsDirScope {
    QTemporaryDir dir;
    QString oldDir = QDir::currentPath();
    mode_t oldMask = ::umask(022);
    SettingsDirScope() { QDir::setCurrent(dir.path()); }
    ~SettingsDirScope() {
        QDir::setCurrent(oldDir);
        ::umask(oldMask);
    }
};

mode_t modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 07777;
}

} // namespace

TEST(SettingsFileAccess, IsWrittenForItsOwnerOnlyWhateverItsModeWasBefore) {
    // -1: no file yet.
    for (const int before : {-1, 0644, 0640, 0666, 0604}) {
        SettingsDirScope scope;
        const QString path = QDir(scope.dir.path()).filePath(SettingsFile::fileName());
        if (before >= 0) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("[System Info Settings]\nCommunity=old\n");
            f.close();
            ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(before)), 0);
        }
        SettingsFile settings;
        settings.ini().writeString("System Info Settings", "Community", "secret");
        QString error;
        ASSERT_TRUE(settings.release(error)) << error.toStdString();
        EXPECT_EQ(modeOf(path), 0600u) << "before: " << std::oct << before;
        EXPECT_EQ(QDir(scope.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
}
