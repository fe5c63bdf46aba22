#ifndef VBPREADER_H
#define VBPREADER_H

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
// records needed are read; the file is closed after every call.
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
    // Parses the nested chapter package lying between base and fileLength of
    // an open stream.
    int openVBP(QFileStream &stream, const int &base, const int &fileLength,
                const QString &chapterId, VRBChaptersRelt *&chapters);

    // A name that stays inside its folder: not empty, no separator, no "..".
    static bool isSafeFileName(const QString &name);

private:
    int SaveFileHeaderInformation(QFileStream &stream, VBP &vbp, const QString &path);
    int AnalysisWholeBookInformation(QFileStream &stream, VBP &vbp, VbpContentsInformation *&index,
                                     VRRBookInfo *&bookinfo);
    int SeparateSectionBookInformation(QFileStream &stream, VBP &vbp,
                                       VbpContentsInformation *&chapterXml,
                                       VRBChaptersRelt *&chapters);
    int ParserBookInfo(char *&text, VRRBookInfo *&bookinfo);
    int ParserChapterInfo(QFileStream &stream, int &contentPos, const int &contentLength, VBP &vbp,
                          char *&text, VRBChaptersRelt *&chapters);
    int AnalysisSectionBookImageInformation(QFileStream &stream, const int &base,
                                            const int &fileLength, VRBChaptersRelt &relation,
                                            VBP &vbp);
    void WriteBookDataToFile(const char *name, char *data, int length);

    QString m_VbpPath;
    std::unique_ptr<VBP> m_pBookVBP;
    QString m_BookPath;
    QByteArray m_pIndexBuf;
    // The relation handed out last; callers hold an alias of it.
    std::unique_ptr<VRBChaptersRelt> m_pChaptersInfo;
    bool isAnalysisContent = true;
};

#endif // VBPREADER_H
