#include "vbpviewer.h"

#include "commondef.h"
#include "exitcodes.h"
#include "vbpreader.h"
#include "vrbchaptersrelt.h"
#include "vrrbookinfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstdio>
#include <memory>

namespace {

constexpr int HeaderSize = 92;
constexpr int EntrySize = 48;

void out(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void err(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

QString codeName(int code)
{
    switch (code) {
    case EerrorNot:
        return QStringLiteral("EerrorNot");
    case EFileNotExist:
        return QStringLiteral("EFileNotExist");
    case EopenVbpFileError:
        return QStringLiteral("EopenVbpFileError");
    case EFileSizeError:
        return QStringLiteral("EFileSizeError");
    case EFileTypeError:
        return QStringLiteral("EFileTypeError");
    case EFileNumError:
        return QStringLiteral("EFileNumError");
    case EIndexXMLError:
        return QStringLiteral("EIndexXMLError");
    case EMemoryNotEnough:
        return QStringLiteral("EMemoryNotEnough");
    case VbpReader::ENoChapterContent:
        return QStringLiteral("no content.txt");
    }
    return QStringLiteral("unknown");
}

QString readerError(const QString &what, int code)
{
    return QStringLiteral("%1: reader error %2 (%3)").arg(what).arg(code).arg(codeName(code));
}

// The reader extracts the cover into the data root; a private one keeps
// inspecting free of side effects on the user's folders.
class ScratchRoot
{
public:
    ScratchRoot()
    {
        qputenv("ZARVOREADER_ROOT", QFile::encodeName(m_dir.path()));
        QDir().mkpath(QString(BookInfoFolder));
    }
    QString coverPath(const QString &bookId) const
    {
        return QString(BookInfoFolder) + QLatin1Char('/') + bookId + QStringLiteral(".png");
    }

private:
    QTemporaryDir m_dir;
};

// The shelf names a book after its package file: the name without ".vbp".
QString bookIdOf(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return name.endsWith(QLatin1String(".vbp")) ? name.chopped(4) : name;
}

QString fixedText(const QByteArray &field)
{
    const qsizetype end = field.indexOf('\0');
    return QString::fromLatin1(end < 0 ? field : field.left(end));
}

// Header and directory as stored, read with every extent checked against the
// file: this listing must not trip over the broken packages it describes.
void printLayout(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < HeaderSize)
        return;
    const QByteArray header = file.read(HeaderSize);
    const qint32 count = qFromLittleEndian<qint32>(header.constData() + 88);
    out(QStringLiteral("header: tag \"%1\" key %2 content id \"%3\" file count %4\n")
            .arg(fixedText(header.left(4)))
            .arg(qFromLittleEndian<qint32>(header.constData() + 4))
            .arg(fixedText(header.mid(8, 16)))
            .arg(count));
    const qint64 fitting = (file.size() - HeaderSize) / EntrySize;
    const qint64 shown = qBound(qint64(0), qint64(count), fitting);
    out(QStringLiteral("directory:\n"));
    for (qint64 i = 0; i < shown; ++i) {
        const QByteArray entry = file.read(EntrySize);
        const quint32 packed = qFromLittleEndian<quint32>(entry.constData() + 44);
        out(QStringLiteral("  %1 offset %2 length %3 flags %4\n")
                .arg(QString::fromUtf8(entry.left(40).split('\0').first()), -24)
                .arg(qFromLittleEndian<qint32>(entry.constData() + 40))
                .arg(packed >> 8)
                .arg(packed & 0xFF));
    }
    if (shown < count)
        out(QStringLiteral("  (%1 more entries do not fit in the file)\n").arg(count - shown));
}

void printBook(const VRRBookInfo &book)
{
    out(QStringLiteral("book:\n"));
    out(QStringLiteral("  id: %1\n  title: %2\n  author: %3\n  publisher: %4\n  score: %5\n")
            .arg(book.m_id, book.m_title, book.m_keys.m_author, book.m_keys.m_publisher)
            .arg(book.m_keys.m_score));
    out(QStringLiteral("  ret: %1\n  type: %2\n  comment_flag: %3\n  display_lines: %4\n")
            .arg(book.m_Ret_ActionFlag, book.m_FileType, book.m_comment_flag,
                 book.m_display_lines));
    out(QStringLiteral("  description: %1\n").arg(book.m_description));
    out(QStringLiteral("  chapters: %1 (%2 listed)\n")
            .arg(book.m_total)
            .arg(book.m_caplist.size()));
    for (const VRRBookInfo::ChapterItem &item : book.m_caplist)
        out(QStringLiteral("    %1 %2 %3\n").arg(item.m_id, item.m_capt, item.m_title));
}

QString chapterText(const VRBChaptersRelt *chapters)
{
    QString text;
    if (!chapters)
        return text;
    for (const auto &item : chapters->m_contentList) {
        // UTF-16 code units, least significant byte first.
        const QByteArray &bytes = item->m_text;
        for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
            text.append(QChar(char16_t(quint8(bytes.at(i)) | quint8(bytes.at(i + 1)) << 8)));
    }
    return text;
}

void printChapter(const VRBChaptersRelt *chapters)
{
    const int pieces = chapters ? chapters->count() : 0;
    out(QStringLiteral("chapter package: %1 text pieces, %2 characters\n")
            .arg(pieces)
            .arg(chapterText(chapters).size()));
}

} // namespace

int VbpViewer::info(const QStringList &arguments)
{
    if (arguments.size() != 1) {
        err(QStringLiteral("usage: vbp info FILE"));
        return ExitUsage;
    }
    const QString path = arguments.first();
    const ScratchRoot root;
    const QString bookId = bookIdOf(path);

    VbpReader reader;
    VRBChaptersRelt *chapters = nullptr;
    const auto book = std::make_unique<VRRBookInfo>();
    VRRBookInfo *bookInfo = book.get();
    const int code = reader.openVBP(bookId, path, chapters, bookInfo);

    out(QStringLiteral("file: %1 (%2 bytes)\n").arg(path).arg(QFileInfo(path).size()));
    printLayout(path);
    if (code != EerrorNot) {
        err(readerError(QStringLiteral("vbp info: ") + path, code));
        return code;
    }
    if (chapters) {
        printChapter(chapters);
        return code;
    }
    printBook(*book);
    const QFileInfo cover(root.coverPath(bookId));
    out(cover.exists() ? QStringLiteral("cover: %1 bytes extracted\n").arg(cover.size())
                       : QStringLiteral("cover: none\n"));
    return code;
}

int VbpViewer::cat(const QStringList &arguments)
{
    if (arguments.size() != 2) {
        err(QStringLiteral("usage: vbp cat FILE CHAPTER_ID"));
        return ExitUsage;
    }
    const QString path = arguments.at(0);
    const QString chapterId = arguments.at(1);
    const ScratchRoot root;

    VbpReader reader;
    VRBChaptersRelt *chapters = nullptr;
    const auto book = std::make_unique<VRRBookInfo>();
    VRRBookInfo *bookInfo = book.get();
    int code = reader.openVBP(bookIdOf(path), path, chapters, bookInfo);
    if (code != EerrorNot) {
        err(readerError(QStringLiteral("vbp cat: ") + path, code));
        return code;
    }
    code = reader.openChapterVBP(chapterId, chapters);
    if (code != EerrorNot) {
        err(readerError(QStringLiteral("vbp cat: chapter ") + chapterId, code));
        return code;
    }
    out(chapterText(chapters));
    return code;
}
