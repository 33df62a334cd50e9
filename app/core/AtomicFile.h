// Whole-file reads and crash-safe whole-file writes.
#pragma once

#include <QByteArray>
#include <QString>

namespace atomicfile {

// Reads the whole file. A missing file is not an error: the content is then empty and `existed` false.
bool readAll(const QString& path, QByteArray& content, bool& existed, QString& error);

// Replaces the file's content so that, whatever moment the process dies at, the file holds either
// its old content or the new one, whole: the bytes go to a temporary file beside it, are flushed to
// the disk, and the temporary file is renamed over the old one. An existing file keeps its
// permissions (and its owner, where the process may set it); a symbolic link keeps pointing at the
// file it named, which receives the new content. A file that its owner made read-only (no write bit)
// is left as it is and the write fails. Temporary files that earlier writers left behind when they
// were killed half-way are removed first.
//
// A private file (it holds a secret) is created readable and writable by its owner only, whatever the
// umask, and an existing one loses its group and other permissions when it is rewritten.
enum class Access { Shared, Private };
bool write(const QString& path, const QByteArray& content, QString& error, Access access = Access::Shared);

} // namespace atomicfile
