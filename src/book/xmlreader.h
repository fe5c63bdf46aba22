#ifndef XMLREADER_H
#define XMLREADER_H

#include <QXmlStreamReader>

class VRRBookInfo;
struct ChapterXMLItem;

// Lenient streaming parser of the two descriptions a package carries: the
// book description "index.xml" and the chapter description "chapter.xml".
// Use a fresh reader for every parse.
class XmlReader : public QXmlStreamReader
{
public:
    XmlReader() = default;

    // Both take zero-terminated UTF-8 text and answer whether it was well
    // formed; whatever was read before an error stays in the result.
    bool ParserBookIndexInfo(char *&text, VRRBookInfo *&result);
    bool ParserBookChapterInfo(char *&text, ChapterXMLItem *result);

    void ReadData();
    void ReadID();
    void ReadKeys();
    void ReadAuthor();
    void ReadPublisher();
    void ReadScore();
    void ReadPaperLink();
    void ReadISBN();
    void ReadDescription();
    void ReadChapters();
    void Readmsgs() {}
    void ReadDisplayLines() {}
    void ReadKeyWord() {}

private:
    void feed(const char *text);
    void readRootAttributes();
    void readChapterItem();
    QString elementText();
    QString attributeAt(int position) const;
    bool atEndOf(const char *name) const;

    VRRBookInfo *m_pBookInfo = nullptr;
};

#endif // XMLREADER_H
