#ifndef EBOOKLIBRARYXMLHANDLER_H
#define EBOOKLIBRARYXMLHANDLER_H

#include "ebookreaderlibrary.h"
#include "xmlsaxhandler.h"

#include <QString>
#include <memory>

class QIODevice;

// Reads the store's answer to a store front or category request into an
// EBookReaderLibrary.
class EBookLibraryXmlHandler : public XmlSaxHandler
{
public:
    EBookLibraryXmlHandler();
    ~EBookLibraryXmlHandler() override;

    bool readFile(const QByteArray &data, EBookReaderLibrary *library);
    bool readFile(QIODevice *device, EBookReaderLibrary *library);

    bool startElement(const QString &namespaceURI, const QString &localName, const QString &qName,
                      const QXmlStreamAttributes &atts) override;
    bool endElement(const QString &namespaceURI, const QString &localName,
                    const QString &qName) override;

private:
    void startItem(const QXmlStreamAttributes &atts);
    void startSubcatItem(const QXmlStreamAttributes &atts);
    void endItem();
    void endSubcat();

    // Entries waiting for their end tag; the handler owns them until then,
    // so a document that breaks off leaks nothing.
    std::unique_ptr<BookItem> pBookItem;
    std::unique_ptr<HrefItem> pHrefItem;
    std::unique_ptr<Subcat> pSubcat;
    bool bookListflg = false;
    bool isCatlist = false;
    bool isRecommend = false;
    bool isSubcat = false;
    bool isHrefItem = false;
    EBookReaderLibrary *pReaderLibrary = nullptr;
};

#endif // EBOOKLIBRARYXMLHANDLER_H
