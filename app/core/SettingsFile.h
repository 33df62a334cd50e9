// The program's settings file, kestrune.ini in the working directory: opened for one use (the whole
// file read into memory), read and changed there, and released (written back whole, crash-safe).
#pragma once

#include "app/core/IniFile.h"

#include <QString>

#include <optional>

class SettingsFile {
public:
    // Reads the file; a missing file gives an empty one. A file that exists but cannot be read
    // gives an empty content too, and release() then refuses to overwrite it.
    SettingsFile();
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    IniFile& ini() { return m_ini; }
    const IniFile& ini() const { return m_ini; }
    // Why the file could not be read (empty when it was read or did not exist).
    QString readError() const { return m_readError; }

    // Writes the whole content back (creating the file when it did not exist); a file whose content
    // did not change is not touched. The file is kept private to its owner (it holds the router's
    // password). False with a message for the user when it cannot be written.
    bool release(QString& error);

    // The file's name: the executable's own file name with its extension replaced by ".ini".
    static QString fileName();

private:
    IniFile m_ini;
    QString m_readError;
    std::optional<QByteArray> m_readContent; // what the file held, when it existed and was read
};
