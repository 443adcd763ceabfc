#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace pelmaris::platform {

// Whole-file reading and writing for everything the program stores: settings, the
// gallery page, list files, desktop entries. Only regular files are ever opened (a FIFO
// or device would block or stream forever), and a write either replaces the whole file
// or leaves the old one byte for byte.

enum class ReadStatus {
    Ok,
    Missing,    // nothing has the name
    NotRegular, // a folder, FIFO, socket or device: never opened
    TooLarge,   // larger than the caller's limit: not read
    Failed,     // could not be opened or read; `error` says why
};

struct ReadResult {
    ReadStatus status = ReadStatus::Failed;
    QByteArray bytes;
    QString error; // the system's text, for the failure statuses
};

// Reads a regular file (links followed) of at most maxBytes bytes.
ReadResult readRegularFile(const QString &path, qint64 maxBytes);

// A folder itself (not a link to one) that belongs to the user running the program and
// that no one else may write into: what a cache shown to other programs must live in.
bool isPrivateFolder(const QString &path);

// Writes `bytes` as the whole new content of `path`: a temporary file beside it, every
// write checked, synced, then renamed over the old one. A link is written through to
// its target. Refuses a name that holds something other than a regular file. On failure
// returns false, sets *error to the system's text and leaves the old file untouched.
bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error = nullptr);

struct WriteOptions {
    // The new file's permissions, set before it takes the name.
    QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ReadGroup | QFileDevice::ReadOther;
    // Flushed to the disk before the rename. Off for caches, whose loss in a crash costs
    // nothing but whose writes come by the thousand.
    bool durable = true;
    // Only a free name is taken: the write fails when anything has the name, a link
    // included (dangling or not), even one made while the file was being written.
    bool exclusive = false;
};

// The same, with the new file's permissions and durability chosen. The name itself is
// replaced, a link included: nothing is ever written through a link.
bool writeWholeFile(const QString &path, const QByteArray &bytes, const WriteOptions &options,
                    QString *error = nullptr);

} // namespace pelmaris::platform
