#ifndef EBOOKREADERSEARCHXMLHANDLER_H
#define EBOOKREADERSEARCHXMLHANDLER_H

#include "ebookreadersearchresult.h"
#include "xmlsaxhandler.h"

#include <QString>
#include <memory>

class QIODevice;

// Reads a search or recommendation page into an EBookReaderSearchResult.
class EbookReaderSearchXmlHandler : public XmlSaxHandler
{
public:
    EbookReaderSearchXmlHandler();
    ~EbookReaderSearchXmlHandler() override;

    bool readFile(const QByteArray &data, EBookReaderSearchResult *result);
    bool readFile(QIODevice *device, EBookReaderSearchResult *result);

    bool startElement(const QString &namespaceURI, const QString &localName, const QString &qName,
                      const QXmlStreamAttributes &atts) override;
    bool endElement(const QString &namespaceURI, const QString &localName,
                    const QString &qName) override;

private:
    void startItem(const QXmlStreamAttributes &atts);

    // A "booklist" book waiting for its description; owned until appended.
    std::unique_ptr<bookInfo> mpbInfo;
    bool bookListflg = false;
    EBookReaderSearchResult *pSearchRes = nullptr;
};

#endif // EBOOKREADERSEARCHXMLHANDLER_H
