// Feeds arbitrary bytes to the package reader as a package file: the book is
// opened and, when it opens as a book, every chapter it lists is opened too.
#include "vbpreader.h"

#include "vrbchaptersrelt.h"
#include "vrrbookinfo.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace {

volatile size_t sink = 0;

// One data root for the whole run, so extracted covers land in a scratch
// folder and never in the real one. A memory file system when there is one:
// every extracted cover is synced to disk, which would dominate the run.
const QString &dataRoot()
{
    static const QString root = [] {
        const QFileInfo shm(QStringLiteral("/dev/shm"));
        const QString base = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
        const QString path = base + QStringLiteral("/zr-fuzz-vbpreader");
        QDir().mkpath(path);
        qputenv("ZARVOREADER_ROOT", QFile::encodeName(path));
        return path;
    }();
    return root;
}

bool writeInput(const QString &path, const uint8_t *data, size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const qint64 length = static_cast<qint64>(size);
    return file.write(reinterpret_cast<const char *>(data), length) == length;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = dataRoot() + QStringLiteral("/input.vbp");
    if (!writeInput(path, data, size))
        return 0;

    VbpReader reader;
    VRRBookInfo bookInfo;
    VRRBookInfo *pBookInfo = &bookInfo;
    VRBChaptersRelt *chapters = nullptr;
    if (reader.openVBP(QStringLiteral("fuzzbook"), path, chapters, pBookInfo) != EerrorNot)
        return 0;

    size_t bytes = 0;
    for (int i = 0; chapters && i < chapters->count(); ++i)
        bytes += static_cast<size_t>(chapters->getItem(i)->m_text.size());

    const auto chapterList = bookInfo.m_caplist;
    for (const VRRBookInfo::ChapterItem &chapter : chapterList) {
        if (reader.openChapterVBP(chapter.m_id, chapters) != EerrorNot || !chapters)
            continue;
        // Touch every piece so a bad length shows up under the sanitizers.
        for (int i = 0; i < chapters->count(); ++i) {
            const QByteArray &text = chapters->getItem(i)->m_text;
            for (char c : text)
                bytes += static_cast<unsigned char>(c) & 1u;
        }
    }
    sink = bytes;
    return 0;
}
