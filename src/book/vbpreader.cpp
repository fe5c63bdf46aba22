#include "vbpreader.h"

#include "chapterxmlitem.h"
#include "commondef.h"
#include "fileidentity.h"
#include "packagewindow.h"
#include "plainxmlscanner.h"
#include "qfilestream.h"
#include "vbp.h"
#include "vrbchaptersrelt.h"
#include "vrrbookinfo.h"
#include "xmlreader.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <unistd.h>

namespace {

constexpr qint64 HeaderSize = 92;
constexpr qint64 EntrySize = 48;
// The header, directory, description and shelf cover of a book lie at its
// start, and a chapter's directory and description at the start of its
// nested package: one read of this much takes them in.
constexpr qint64 BookWindow = 16 * 1024;
constexpr qint64 ChapterWindow = 4 * 1024;

// Offsets are signed 32-bit, so nothing past 2 GiB can be addressed; every
// check works against at most that much.
qint64 addressableLength(QFileStream &stream)
{
    return qMin<qint64>(stream.GetLength(), INT_MAX);
}

// A record that is read: it starts after the first byte and ends inside.
bool recordInside(const VbpContentsInformation &entry, qint64 limit)
{
    return entry.m_off >= 1 && entry.m_len >= 1 && qint64(entry.m_off) + entry.m_len <= limit;
}

// "content.txt" may be empty (a chapter without text), but never outside.
bool contentInside(const VbpContentsInformation &entry, qint64 limit)
{
    return entry.m_off >= 1 && entry.m_len >= 0 && qint64(entry.m_off) + entry.m_len <= limit;
}

// Whether every piece starts where the one before ends, as the packer writes
// them.
bool piecesFollowOneAnother(const VRBChaptersRelt &relation)
{
    for (size_t i = 1; i < relation.m_contentList.size(); ++i) {
        const auto &before = relation.m_contentList[i - 1];
        if (qint64(before->m_off) + before->m_len != relation.m_contentList[i]->m_off)
            return false;
    }
    return true;
}

// Reads the text of every piece, each already checked to lie inside
// "content.txt". Pieces that follow one another are read in one go into one
// buffer, where each is moved up into a slot of its own with a zero byte
// after it; one allocation instead of one per piece, and no copy beside it.
int readPieces(QFileStream &stream, qint64 contentPos, VRBChaptersRelt &relation)
{
    auto &items = relation.m_contentList;
    if (items.empty())
        return EerrorNot;
    if (!piecesFollowOneAnother(relation)) {
        for (const auto &item : items) {
            const int ret =
                PackageWindow::readAt(stream, contentPos + item->m_off, item->m_len, item->m_text);
            if (ret != EerrorNot)
                return ret;
        }
        return EerrorNot;
    }
    // The span is read behind one spare byte per piece; moving each piece
    // forward in order then never overwrites a piece not yet moved.
    const qint64 first = items.front()->m_off;
    const qint64 span = qint64(items.back()->m_off) + items.back()->m_len - first;
    const int spare = int(items.size());
    QByteArray &data = relation.m_textData;
    const int ret = PackageWindow::readAt(stream, contentPos + first, span, data, spare);
    if (ret != EerrorNot)
        return ret;
    char *slot = data.data();
    const char *source = data.constData() + spare;
    for (const auto &item : items) {
        std::memmove(slot, source, size_t(item->m_len));
        slot[item->m_len] = '\0';
        item->m_text = QByteArray::fromRawData(slot, item->m_len);
        slot += item->m_len + 1;
        source += item->m_len;
    }
    return EerrorNot;
}

// A piece's offset or length; 0 when it is not a decimal number. The packer
// writes plain digits, read here without the copies trimming makes; anything
// else is read as QString::toInt reads the trimmed text.
int pieceNumber(const QString &text)
{
    constexpr qsizetype MaxPlainDigits = 9; // never more than INT_MAX
    const qsizetype size = text.size();
    if (size == 0 || size > MaxPlainDigits)
        return text.trimmed().toInt();
    int value = 0;
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit < u'0' || unit > u'9')
            return text.trimmed().toInt();
        value = value * 10 + (unit - u'0');
    }
    return value;
}

// Appends the whole UTF-16LE code units of a piece; an odd last byte is half
// a code unit and is not shown.
void appendUtf16Le(QString &text, const QByteArray &bytes, int byteCount)
{
    const qsizetype units = qBound(0, byteCount, int(bytes.size())) / 2;
    const auto *raw = reinterpret_cast<const uchar *>(bytes.constData());
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        text.append(reinterpret_cast<const QChar *>(raw), units);
        return;
    }
    for (qsizetype i = 0; i < units; ++i)
        text.append(QChar(ushort(raw[2 * i] | (raw[2 * i + 1] << 8))));
}

// Whether the pieces' texts, one after another, are exactly the span they
// cover read as UTF-16LE: they follow one another and no piece but the last
// ends on half a code unit.
bool spanIsText(const VRBChaptersRelt &relation)
{
    if (Q_BYTE_ORDER != Q_LITTLE_ENDIAN || !piecesFollowOneAnother(relation))
        return false;
    const auto &items = relation.m_contentList;
    for (size_t i = 0; i + 1 < items.size(); ++i)
        if (items[i]->m_len % 2 != 0)
            return false;
    return true;
}

// The chapter's text as the reading engine shows it, each piece already
// checked to lie inside "content.txt". Where the span of the pieces is the
// text, it is read straight into the string: one copy, from the file.
int readText(QFileStream &stream, qint64 contentPos, VRBChaptersRelt &relation, QString &text)
{
    const auto &items = relation.m_contentList;
    text.resize(0);
    if (items.empty())
        return EerrorNot;
    if (spanIsText(relation)) {
        const qint64 first = items.front()->m_off;
        const qint64 units = (qint64(items.back()->m_off) + items.back()->m_len - first) / 2;
        try {
            // Keeps the room of the string's last text when it is enough.
            text.resize(units);
        } catch (const std::bad_alloc &) {
            return EMemoryNotEnough;
        }
        if (stream.ReadAt(contentPos + first, text.data(), units * 2) != units * 2)
            return EFileSizeError;
        return EerrorNot;
    }
    const int ret = readPieces(stream, contentPos, relation);
    if (ret != EerrorNot)
        return ret;
    for (const auto &item : items)
        appendUtf16Le(text, item->m_text, item->m_len);
    return EerrorNot;
}

// The 92 header bytes at bytes.
void parseHeader(const char *bytes, VbpHeadrInformation &header)
{
    header = VbpHeadrInformation();
    std::memcpy(header.m_tag, bytes, 4);
    header.m_key = qFromLittleEndian<qint32>(bytes + 4);
    std::memcpy(header.m_contentID, bytes + 8, 16);
    std::memcpy(header.m_sec0, bytes + 24, 32);
    std::memcpy(header.m_sec1, bytes + 56, 32);
    header.m_filenum = qFromLittleEndian<qint32>(bytes + 88);
}

// The caller has checked that count entries fit in the package. The
// directory is taken whole; its entries are decoded when looked up.
int readDirectory(QFileStream &stream, PackageWindow &window, qint64 pos, int count, VBP &vbp,
                  VBP::NameCodec codec)
{
    if (count < 1)
        return EerrorNot;
    QByteArray raw;
    const int ret = window.read(stream, pos, EntrySize * count, raw);
    if (ret != EerrorNot)
        return ret;
    vbp.setDirectory(raw, count, codec);
    return EerrorNot;
}

// Whether the file at path holds exactly these bytes: asking for one byte
// more than expected tells its size too. A folder fails to read, and a pipe
// opened without blocking gives nothing; either is then written over.
bool sameFileContent(const QByteArray &path, const char *data, int length, FileIdentity &identity)
{
    // Covers are small: most fit the stack buffer with the byte to spare.
    char stackBuffer[16 * 1024];
    QByteArray heapBuffer;
    char *current = stackBuffer;
    if (length >= int(sizeof(stackBuffer))) {
        heapBuffer = QByteArray(qsizetype(length) + 1, Qt::Uninitialized);
        current = heapBuffer.data();
    }
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    // A short read only costs writing the file again.
    const bool same = ::read(fd, current, size_t(length) + 1) == length &&
                      std::memcmp(current, data, size_t(length)) == 0;
    if (same)
        identity = FileIdentity::ofDescriptor(fd);
    ::close(fd);
    return same;
}

// Opens the package and answers its length (as far as offsets reach), or -1
// when it cannot be read: a folder or a device opens as a FILE* but is no
// package.
qint64 openForReading(QFileStream &stream, const QString &path)
{
    if (!stream.Open(QFile::encodeName(path).constData(), QRawFile::MODE_READ))
        return -1;
    const qint64 length = stream.RegularFileLength();
    return length < 0 ? -1 : qMin<qint64>(length, INT_MAX);
}

} // namespace

VbpReader::VbpReader(QObject *parent) : QObject(parent) {}

VbpReader::~VbpReader() = default;

bool VbpReader::isSafeFileName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) && !name.contains(QLatin1String("..")) &&
           !name.contains(QChar(0));
}

int VbpReader::openVBP(const QString &id, const QString &path, VRBChaptersRelt *&chapters,
                       VRRBookInfo *&bookinfo)
{
    m_pBookVBP.reset();
    m_VbpPath = path;
    m_pBookVBP = std::make_unique<VBP>();
    m_pBookVBP->m_id = id;
    m_BookPath = BookInfoFolder + "/";
    m_openPackage.reset();

    auto stream = std::make_unique<QFileStream>();
    int ret = SaveFileHeaderInformation(*stream, *m_pBookVBP, path);
    if (ret != EerrorNot)
        return ret;

    VbpContentsInformation entry;
    VbpContentsInformation *pEntry = &entry;
    // "index.xml" is what makes a package a book rather than one chapter.
    if (!m_pBookVBP->getVBRecord(QStringLiteral("index.xml"), entry))
        return SeparateSectionBookInformation(*stream, *m_pBookVBP, pEntry, chapters);
    ret = AnalysisWholeBookInformation(*stream, *m_pBookVBP, pEntry, bookinfo);
    if (ret != EerrorNot)
        return ret;
    // A book is opened to read a chapter next.
    m_openPackage = std::move(stream);
    m_openPackageLength = m_length;
    return EerrorNot;
}

std::unique_ptr<QFileStream> VbpReader::takeBookPackage()
{
    std::unique_ptr<QFileStream> stream = std::move(m_openPackage);
    if (stream && (m_samePackage || stream->IsSameFile(QFile::encodeName(m_VbpPath).constData()))) {
        m_length = m_openPackageLength;
        return stream;
    }
    // Replaced or changed since: what the path names now is read.
    stream = std::make_unique<QFileStream>();
    m_length = openForReading(*stream, m_VbpPath);
    if (m_length < 0)
        return nullptr;
    return stream;
}

int VbpReader::SaveFileHeaderInformation(QFileStream &stream, VBP &vbp, const QString &path)
{
    if (path.isEmpty())
        return EFileNotExist;
    m_length = openForReading(stream, path);
    if (m_length < 0)
        return EopenVbpFileError;
    if (m_length < HeaderSize)
        return EFileSizeError;
    if (!m_window.load(stream, 0, m_length, BookWindow))
        return EFileSizeError;

    VbpHeadrInformation header;
    parseHeader(m_window.find(0, HeaderSize), header);
    if (std::memcmp(header.m_tag, "VBP0", 4) != 0)
        return EFileTypeError;
    if (header.m_filenum < 1)
        return EFileNumError;
    // The whole directory must fit before a single entry is read.
    if (m_length < HeaderSize + EntrySize * header.m_filenum)
        return EFileSizeError;

    vbp.m_vbpheader = header;
    return readDirectory(stream, m_window, HeaderSize, header.m_filenum, vbp,
                         VBP::NameCodec::Latin1);
}

int VbpReader::AnalysisWholeBookInformation(QFileStream &stream, VBP &vbp,
                                            VbpContentsInformation *&index, VRRBookInfo *&bookinfo)
{
    vbp.m_type = VBP_BOOK;
    const qint64 length = m_length;
    if (!index || !recordInside(*index, length))
        return EFileSizeError;

    int ret = parseIndex(stream, *index, bookinfo);
    if (ret != EerrorNot)
        return ret;

    VbpContentsInformation cover;
    if (vbp.getVBRecord(QStringLiteral("58_84.png"), cover)) {
        if (!recordInside(cover, length))
            return EFileSizeError;
        // Usually inside the window already read; else read on its own.
        QByteArray data;
        char *bytes = m_window.find(cover.m_off, cover.m_len);
        if (!bytes) {
            ret = PackageWindow::readAt(stream, cover.m_off, cover.m_len, data);
            if (ret != EerrorNot)
                return ret;
            bytes = data.data();
        }
        // The book id becomes a file name; one that would leave the cover
        // folder gets no cover, the book still opens.
        if (isSafeFileName(vbp.m_id)) {
            const QByteArray name = (vbp.m_id + QLatin1String(".png")).toUtf8();
            WriteBookDataToFile(name.constData(), bytes, cover.m_len);
        }
    }

    // The other covers are only checked; nothing here shows them.
    for (const char *name : {"44_63.png", "82_118.png"}) {
        VbpContentsInformation other;
        if (vbp.getVBRecord(QLatin1String(name), other) && !recordInside(other, length))
            return EFileSizeError;
    }
    return EerrorNot;
}

int VbpReader::SeparateSectionBookInformation(QFileStream &stream, VBP &vbp,
                                              VbpContentsInformation *&chapterXml,
                                              VRBChaptersRelt *&chapters)
{
    VbpContentsInformation content;
    if (!vbp.getVBRecord(QStringLiteral("content.txt"), content))
        return EFileTypeError;
    int contentPos = content.m_off;
    vbp.m_type = VBP_CHAPTER;

    if (!chapterXml || !vbp.getVBRecord(QStringLiteral("chapter.xml"), *chapterXml))
        return EFileTypeError;
    const qint64 length = m_length;
    if (!recordInside(*chapterXml, length))
        return EFileSizeError;
    // Pieces are read from "content.txt", so it must lie inside the file too.
    if (!contentInside(content, length))
        return EFileSizeError;

    QByteArray xml;
    int ret = m_window.read(stream, chapterXml->m_off, chapterXml->m_len, xml);
    if (ret != EerrorNot)
        return ret;
    char *text = xml.data();
    ret = ParserChapterInfo(stream, contentPos, content.m_len, vbp, text, chapters);
    if (ret != EerrorNot)
        return ret;
    if (!m_pChaptersInfo)
        return EerrorNot;
    return AnalysisSectionBookImageInformation(stream, 0, int(length), *m_pChaptersInfo, vbp);
}

int VbpReader::openChapterVBP(const QString &chapterId, VRBChaptersRelt *&chapters)
{
    if (!m_pBookVBP)
        return EFileNotExist;
    VbpContentsInformation record;
    if (!m_pBookVBP->getVBRecord(chapterId + QLatin1String(".vbp"), record))
        return EFileNumError;

    const std::unique_ptr<QFileStream> stream = takeBookPackage();
    if (!stream)
        return EopenVbpFileError;
    if (!recordInside(record, m_length))
        return EFileSizeError;
    // The nested package ends where its record ends: nothing of it is read
    // outside that record.
    const int end = record.m_off + record.m_len;
    const int ret = openNested(*stream, record.m_off, end, chapterId, chapters);
    return ret == EerrorNot ? EerrorNot : EopenVbpFileError;
}

int VbpReader::openChapterVBP(const QString &chapterId, VRBChaptersRelt *&chapters, QString &text)
{
    text.resize(0);
    m_chapterText = &text;
    const int ret = openChapterVBP(chapterId, chapters);
    m_chapterText = nullptr;
    return ret;
}

int VbpReader::openFirstChapterVBP(const QString &chapterId, VRBChaptersRelt *&chapters,
                                   QString &text)
{
    m_samePackage = true;
    const int ret = openChapterVBP(chapterId, chapters, text);
    m_samePackage = false;
    // Not kept open past the open of the book, even when the chapter is not
    // there: the file's storage may be taken away meanwhile.
    m_openPackage.reset();
    return ret;
}

int VbpReader::openVBP(QFileStream &stream, const int &base, const int &fileLength,
                       const QString &chapterId, VRBChaptersRelt *&chapters)
{
    m_length = addressableLength(stream);
    return openNested(stream, base, fileLength, chapterId, chapters);
}

int VbpReader::openNested(QFileStream &stream, int base, int fileLength, const QString &chapterId,
                          VRBChaptersRelt *&chapters)
{
    if (base < 0 || fileLength < base || fileLength > m_length)
        return EFileSizeError;
    const qint64 extent = qint64(fileLength) - base;
    if (extent < HeaderSize + 1 || !m_window.load(stream, base, fileLength, ChapterWindow))
        return EFileSizeError;

    VBP vbp;
    vbp.m_id = chapterId;
    // The tag of a nested package is read but not compared.
    parseHeader(m_window.find(base, HeaderSize), vbp.m_vbpheader);
    const int count = vbp.m_vbpheader.m_filenum;
    if (HeaderSize - 1 + EntrySize * count >= extent)
        return EFileSizeError;
    // Inside a book, record names are UTF-8.
    int ret = readDirectory(stream, m_window, qint64(base) + HeaderSize, count, vbp,
                            VBP::NameCodec::Utf8);
    if (ret != EerrorNot)
        return ret;

    VbpContentsInformation chapterXml;
    if (!vbp.getVBRecord(QStringLiteral("chapter.xml"), chapterXml)) {
        VbpContentsInformation content;
        // Text without a description: nothing to build, not an error.
        return vbp.getVBRecord(QStringLiteral("content.txt"), content) ? EerrorNot : EFileTypeError;
    }
    vbp.m_type = VBP_CHAPTER;
    if (!recordInside(chapterXml, extent))
        return EFileSizeError;
    QByteArray xml;
    ret = m_window.read(stream, qint64(base) + chapterXml.m_off, chapterXml.m_len, xml);
    if (ret != EerrorNot)
        return ret;

    // With duplicates the last "content.txt" counts.
    VbpContentsInformation content;
    if (!vbp.FindVBRecord(QStringLiteral("content.txt"), content))
        return ENoChapterContent;
    if (!contentInside(content, extent))
        return EFileSizeError;
    int contentPos = base + content.m_off;

    char *text = xml.data();
    ret = ParserChapterInfo(stream, contentPos, content.m_len, vbp, text, chapters);
    if (ret != EerrorNot)
        return ret;
    if (!m_pChaptersInfo)
        return EerrorNot;
    return AnalysisSectionBookImageInformation(stream, base, fileLength, *m_pChaptersInfo, vbp);
}

int VbpReader::parseIndex(QFileStream &stream, const VbpContentsInformation &index,
                          VRRBookInfo *&bookinfo)
{
    // The parsers want zero-terminated text. Where the window holds the
    // description and the byte after it, that byte is made the terminator
    // for the parse and given back after: no copy of the description.
    if (char *text = m_window.find(index.m_off, qint64(index.m_len) + 1)) {
        char &after = text[index.m_len];
        const char kept = after;
        after = '\0';
        const int ret = ParserBookInfo(text, bookinfo);
        after = kept;
        return ret;
    }
    int ret = PackageWindow::readAt(stream, index.m_off, index.m_len, m_pIndexBuf);
    if (ret != EerrorNot)
        return ret;
    char *text = m_pIndexBuf.data();
    ret = ParserBookInfo(text, bookinfo);
    m_pIndexBuf = QByteArray();
    return ret;
}

int VbpReader::ParserBookInfo(char *&text, VRRBookInfo *&bookinfo)
{
    // The packer's plain form is read directly; XmlReader takes the rest.
    if (text && bookinfo && PlainXmlScanner(text).scanIndex(*bookinfo))
        return EerrorNot;
    XmlReader reader;
    return reader.ParserBookIndexInfo(text, bookinfo) ? EerrorNot : EIndexXMLError;
}

int VbpReader::ParserChapterInfo(QFileStream &stream, int &contentPos, const int &contentLength,
                                 VBP &vbp, char *&text, VRBChaptersRelt *&chapters)
{
    Q_UNUSED(vbp);
    ChapterXMLItem description;
    // The packer's plain form is read directly; XmlReader takes the rest.
    if (!PlainXmlScanner(text).scanChapter(description) &&
        !XmlReader().ParserBookChapterInfo(text, &description))
        return EIndexXMLError;

    // The caller's pointer is an alias of the old relation: it goes too.
    m_pChaptersInfo.reset();
    chapters = nullptr;
    if (description.Chater.isEmpty())
        return EerrorNot;

    auto relation = std::make_unique<VRBChaptersRelt>();
    qint64 budget = MaxChapterTextBytes;
    for (const ChapterItem &piece : std::as_const(description.Chater)) {
        auto item = std::make_unique<VRBChaptersRelt::VBTextItem>();
        item->m_filename = piece.Chapterhref;
        // Not a decimal number: 0.
        item->m_off = pieceNumber(piece.Chapteroffset);
        item->m_len = pieceNumber(piece.Chapterlength);
        // A piece is a byte range of "content.txt" and never reaches past it,
        // whether its text is read or only its length is wanted.
        if (item->m_off < 0 || item->m_len < 0 || qint64(item->m_off) + item->m_len > contentLength)
            return EFileSizeError;
        if (isAnalysisContent) {
            if (item->m_len > budget)
                return EMemoryNotEnough;
            budget -= item->m_len;
        }
        relation->addContentList(std::move(item));
    }
    if (isAnalysisContent) {
        const int ret = m_chapterText ? readText(stream, contentPos, *relation, *m_chapterText)
                                      : readPieces(stream, contentPos, *relation);
        if (ret != EerrorNot)
            return ret;
    }
    m_pChaptersInfo = std::move(relation);
    chapters = m_pChaptersInfo.get();
    return EerrorNot;
}

int VbpReader::AnalysisSectionBookImageInformation(QFileStream &stream, const int &base,
                                                   const int &fileLength, VRBChaptersRelt &relation,
                                                   VBP &vbp)
{
    const qint64 extent = qint64(fileLength) - base;
    for (int i = relation.count() - 1; i >= 0; --i) {
        VRBChaptersRelt::VBCItem *item = relation.getItem(i);
        if (!item || !item->iskindof(VRBChaptersRelt::VB_IMAGE))
            continue;
        auto *image = dynamic_cast<VRBChaptersRelt::VBImgItem *>(item);
        VbpContentsInformation record;
        if (!image || !vbp.getVBRecord(image->m_filename, record))
            continue;
        if (!recordInside(record, extent))
            return EFileSizeError;
        QByteArray data;
        const int ret =
            PackageWindow::readAt(stream, qint64(base) + record.m_off, record.m_len, data);
        if (ret != EerrorNot)
            return ret;
        // Only where the item says; a record name never picks a path.
        if (image->m_Urlpath.isEmpty())
            continue;
        QSaveFile file(image->m_Urlpath);
        if (file.open(QIODevice::WriteOnly) && file.write(data) == data.size())
            file.commit();
    }
    return EerrorNot;
}

void VbpReader::WriteBookDataToFile(const char *name, char *data, int length)
{
    const QString fileName = QString::fromUtf8(name);
    if (!isSafeFileName(fileName) || !data || length < 0)
        return;
    // Every open extracts the cover again; an unchanged cover is left as it
    // is.
    const QString path = m_BookPath + fileName;
    const QByteArray nativePath = QFile::encodeName(path);
    if (isKnownCover(path, nativePath, data, length))
        return;
    FileIdentity identity;
    if (sameFileContent(nativePath, data, length, identity)) {
        rememberCover(path, data, length, identity);
        return;
    }
    if (!QDir().mkpath(m_BookPath))
        return;
    // The cover is a copy of the package's own record, made again whenever it
    // is missing, so it is written whole and renamed into place without a disk
    // sync: a first scan of many books would otherwise sync once per book.
    const QString part = path + QStringLiteral(".part");
    QFile file(part);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    const bool written = file.write(data, length) == length;
    file.close();
    if (!written || std::rename(QFile::encodeName(part).constData(), nativePath.constData()) != 0) {
        QFile::remove(part);
        return;
    }
    rememberCover(path, data, length, FileIdentity::ofPath(nativePath.constData()));
}

bool VbpReader::isKnownCover(const QString &path, const QByteArray &nativePath, const char *data,
                             int length) const
{
    // The same bytes for the same file, which has not changed since they
    // were found or written there: a look at the file instead of a read.
    return m_cover.identity.isValid() && m_cover.path == path && m_cover.bytes.size() == length &&
           std::memcmp(m_cover.bytes.constData(), data, size_t(length)) == 0 &&
           m_cover.identity == FileIdentity::ofPath(nativePath.constData());
}

void VbpReader::rememberCover(const QString &path, const char *data, int length,
                              const FileIdentity &identity)
{
    m_cover.identity = identity;
    m_cover.path = path;
    m_cover.bytes = QByteArray(data, length);
}
