#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <array>

namespace pelmaris::platform {
class FileSystem;
}

namespace pelmaris::scan {

// The desktop's shared thumbnail cache, as the freedesktop thumbnail standard keeps it:
// PNG files named by the MD5 of the picture's file URI, in "normal" (128 pixels),
// "large" (256), "x-large" (512) and "xx-large" (1024) folders, with the picture's URI
// and modification time written inside. Thumbnails made by other desktop programs are
// used, and ours (normal) are made the way they can use them; pictures that fail to
// decode are remembered under fail/, in a folder of this program's own.
//
// Nothing read from the cache is trusted: a thumbnail counts only when it is a sound
// PNG within its folder's size (whose pixel data inflates to no more than its rows),
// names this very file, was made from its present modification time (and size, when it
// says; and, in the notes this program writes, the time to the nanosecond and the
// file's last change), and has the picture's shape. Otherwise the picture is decoded
// afresh. Only folders of the user's own that nobody else may write into are used: a
// folder that is a link, no folder, another user's, or writable by others is left
// alone (all of the cache when it is the thumbnails folder itself). Every look at the
// disk goes through the file system service. All methods may be called from several
// threads at once.
class ThumbnailCache {
public:
    // The file a thumbnail stands for, as it is now.
    struct Original {
        QString path;        // absolute
        qint64 modified = 0; // seconds since the epoch
        qint64 bytes = 0;
        QSize shown; // the upright picture's size, from its header
        // The modification time at the file system's precision and the last change of
        // the file or its metadata, in nanoseconds since the epoch; 0 when not known.
        qint64 modifiedNs = 0;
        qint64 changedNs = 0;
    };

    // Uses the thumbnails folder `folder` (created with its sub-folders when missing);
    // the folders are judged here, once.
    ThumbnailCache(platform::FileSystem &fileSystem, const QString &folder);

    // $XDG_CACHE_HOME/thumbnails, or ~/.cache/thumbnails.
    static QString defaultFolder();

    bool isReadable() const { return m_readable; }
    bool isWritable() const { return m_normalWritable; }

    // Small pictures decode about as fast as a thumbnail loads: only those that take
    // clearly longer (by size, and by format: `format` is the decoder's name) are looked
    // up and stored.
    static bool isWorthCaching(QSize shown, const QByteArray &format);
    // The cache's own files are never thumbnailed.
    bool holds(const QString &path) const;

    // The best valid thumbnail of the file, smallest folder first; null when there is none.
    QImage find(const Original &original) const;
    // A valid failure note of this program for the file: it did not decode last time
    // and has not changed since, to the nanosecond of its modification time and of its
    // last change (a file completed within the second it was noted in is decoded again).
    bool isKnownFailure(const Original &original) const;

    // Stores `thumbnail` (of normalSize) in the normal folder, atomically and readable
    // by the owner only. False when it could not be stored.
    bool store(const Original &original, const QImage &thumbnail) const;
    bool storeFailure(const Original &original) const;

    // The normal thumbnail's size for an upright picture whose full size is `shown`:
    // fitted into 128 x 128, never enlarged.
    static QSize normalSize(QSize shown);

    // Thumbnails that other programs show straight from the cache (the gallery page):
    // the standard's "large" and "x-large" folders. They are read and written only while
    // the thumbnails folder and the size's folder are private (FileSystem::isPrivateFolder),
    // so that no one else can put a file where the page points.
    static constexpr int LargeEdge = 256;
    static constexpr int XLargeEdge = 512;
    struct SizedFile {
        QString path; // empty: none
        QSize size;   // the thumbnail's pixels
    };
    // Whether the folder of `edge` (LargeEdge or XLargeEdge) may be used; it is made
    // when missing.
    bool canHoldSized(int edge) const;
    // A valid thumbnail of the file in the folder of `edge`, judged by the same rules as
    // find() from its header and texts; its pixels are left to whoever shows it.
    SizedFile findSized(const Original &original, int edge) const;
    // Stores `thumbnail` (no larger than edge x edge) in the folder of `edge`.
    SizedFile storeSized(const Original &original, const QImage &thumbnail, int edge) const;
    // Fitted into edge x edge, never enlarged.
    static QSize fittedSize(QSize shown, int edge);

    // The file's URI as the desktop's file library writes it ("file:///a%20b.jpg"), of
    // an absolute path.
    static QByteArray fileUri(const QString &path);
    // The cache file name of a URI: the MD5 in hexadecimal and ".png".
    static QString fileNameOf(const QByteArray &uri);

private:
    struct Folder {
        const char *name;
        int edge;
        bool readable = false;
    };

    // `preciseTimes`: the entry must carry the precise times (this program's notes do).
    QImage load(const QString &file, int edge, const QByteArray &uri, const Original &original,
                bool preciseTimes = false) const;
    QSize checkSized(const QString &file, int edge, const QByteArray &uri,
                     const Original &original) const;
    QString sizedFolder(int edge) const;
    bool write(const QString &file, const QImage &image, const QByteArray &uri,
               const Original &original) const;

    platform::FileSystem &m_fileSystem;
    QString m_folder;
    QString m_canonicalFolder;
    QString m_failFolder;
    std::array<Folder, 4> m_sizes{
        {{"normal", 128}, {"large", 256}, {"x-large", 512}, {"xx-large", 1024}}};
    bool m_readable = false;
    bool m_normalWritable = false;
    bool m_failUsable = false;
};

} // namespace pelmaris::scan
