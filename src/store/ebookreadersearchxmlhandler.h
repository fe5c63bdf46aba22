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
    int errorCode();
    QString errorString() const override;

    bool startElement(const QString &namespaceURI, const QString &localName, const QString &qName,
                      const QXmlStreamAttributes &atts) override;
    bool endElement(const QString &namespaceURI, const QString &localName,
                    const QString &qName) override;
    bool characters(const QString &ch) override;
    bool fatalError(const XmlSaxParseException &exception) override;

private:
    void startItem(const QXmlStreamAttributes &atts);

    QString currentText;
    QString errorStr;
    // A "booklist" book waiting for its description; owned until appended.
    std::unique_ptr<bookInfo> mpbInfo;
    bool bookListflg = false;
    EBookReaderSearchResult *pSearchRes = nullptr;
    int errorCodeValue = 200;
};

#endif // EBOOKREADERSEARCHXMLHANDLER_H
