#ifndef VBPREADER_H
#define VBPREADER_H

#include "fileidentity.h"
#include "packagewindow.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>

class QFileStream;
class VBP;
class VRBChaptersRelt;
class VRRBookInfo;
struct VbpContentsInformation;

// Results of the open operations.
enum ErrorVbpReadr
{
    EerrorNot = 0,
    EFileNotExist = 1,
    EopenVbpFileError = 2,
    EFileSizeError = 3,
    EFileTypeError = 4,
    EFileNumError = 5,
    EIndexXMLError = 6,
    EMemoryNotEnough = 10
};

// Reads ".vbp" packages: a book package (description, covers, one nested
// chapter package per chapter) or a standalone chapter package. Only the
// records needed are read, those near the start of a package (header,
// directory, description, cover) with one read. The file is closed after
// every call, but for a book package, which stays open until the next chapter
// is loaded: opening a book and its first chapter then take one open.
class VbpReader : public QObject
{
    Q_OBJECT
public:
    // A nested chapter package with "chapter.xml" but no "content.txt".
    static constexpr int ENoChapterContent = -1;
    // Text of one chapter kept in memory at most; more is refused as
    // EMemoryNotEnough rather than allocated.
    static constexpr qint64 MaxChapterTextBytes = 64 * 1024 * 1024;

    explicit VbpReader(QObject *parent = nullptr);
    ~VbpReader() override;

    // Opens the package at path for the book id. A book package fills
    // bookinfo and extracts the cover; a chapter package sets chapters.
    int openVBP(const QString &id, const QString &path, VRBChaptersRelt *&chapters,
                VRRBookInfo *&bookinfo);
    // Opens one chapter of the book package opened last.
    int openChapterVBP(const QString &chapterId, VRBChaptersRelt *&chapters);
    // The same for the reading engine, which only wants the chapter's text:
    // the whole UTF-16LE code units of every piece, one after another, go
    // into text (kept room is used again) and the pieces hold no bytes.
    int openChapterVBP(const QString &chapterId, VRBChaptersRelt *&chapters, QString &text);
    // The same right after openVBP: the chapter comes from the very file the
    // description was just read from, with no second look at the path (a
    // file replaced in between is one replaced just after).
    int openFirstChapterVBP(const QString &chapterId, VRBChaptersRelt *&chapters, QString &text);
    // Parses the nested chapter package lying between base and fileLength of
    // an open stream.
    int openVBP(QFileStream &stream, const int &base, const int &fileLength,
                const QString &chapterId, VRBChaptersRelt *&chapters);

    // A name that stays inside its folder: not empty, no separator, no "..".
    static bool isSafeFileName(const QString &name);
    // Whether a chapter's open reads its pieces' text (the default) or only
    // checks their ranges, for a caller that wants their lengths alone.
    void setAnalysisContent(bool readText) { isAnalysisContent = readText; }

private:
    int SaveFileHeaderInformation(QFileStream &stream, VBP &vbp, const QString &path);
    int AnalysisWholeBookInformation(QFileStream &stream, VBP &vbp, VbpContentsInformation *&index,
                                     VRRBookInfo *&bookinfo);
    int SeparateSectionBookInformation(QFileStream &stream, VBP &vbp,
                                       VbpContentsInformation *&chapterXml,
                                       VRBChaptersRelt *&chapters);
    // Reads and parses "index.xml", whose extent has been checked.
    int parseIndex(QFileStream &stream, const VbpContentsInformation &index,
                   VRRBookInfo *&bookinfo);
    int ParserBookInfo(char *&text, VRRBookInfo *&bookinfo);
    int ParserChapterInfo(QFileStream &stream, int &contentPos, const int &contentLength, VBP &vbp,
                          char *&text, VRBChaptersRelt *&chapters);
    int AnalysisSectionBookImageInformation(QFileStream &stream, const int &base,
                                            const int &fileLength, VRBChaptersRelt &relation,
                                            VBP &vbp);
    void WriteBookDataToFile(const char *name, char *data, int length);
    bool isKnownCover(const QString &path, const QByteArray &nativePath, const char *data,
                      int length) const;
    void rememberCover(const QString &path, const char *data, int length,
                       const FileIdentity &identity);
    // The stream form of openVBP once the package's length is known.
    int openNested(QFileStream &stream, int base, int fileLength, const QString &chapterId,
                   VRBChaptersRelt *&chapters);
    // The book package open since openVBP when the path still names that
    // very file (and its length in m_length), else the package opened again;
    // null when it cannot be read.
    std::unique_ptr<QFileStream> takeBookPackage();

    QString m_VbpPath;
    std::unique_ptr<VBP> m_pBookVBP;
    QString m_BookPath;
    QByteArray m_pIndexBuf;
    // The relation handed out last; callers hold an alias of it.
    std::unique_ptr<VRBChaptersRelt> m_pChaptersInfo;
    bool isAnalysisContent = true;
    // The start of the package read last, and its length as far as offsets
    // reach.
    PackageWindow m_window;
    qint64 m_length = 0;
    // Where the chapter's text goes while the engine's form of
    // openChapterVBP runs; null otherwise.
    QString *m_chapterText = nullptr;
    // The book package opened last and its length, until the next chapter
    // load takes it.
    std::unique_ptr<QFileStream> m_openPackage;
    qint64 m_openPackageLength = 0;
    // Whether the open package is taken without that look.
    bool m_samePackage = false;
    // The cover found in place or written last, and its file as it was then.
    struct KnownCover
    {
        QString path;
        QByteArray bytes;
        FileIdentity identity;
    } m_cover;
};

#endif // VBPREADER_H
