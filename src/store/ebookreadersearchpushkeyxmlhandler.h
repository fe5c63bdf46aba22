#ifndef EBOOKREADERSEARCHPUSHKEYXMLHANDLER_H
#define EBOOKREADERSEARCHPUSHKEYXMLHANDLER_H

#include "searchpushkeyword.h"
#include "xmlsaxhandler.h"

#include <QString>

class QIODevice;

// Reads the store's suggested search keywords into a SearchPushKeyword.
class EBookReaderSearchPushKeyXmlHandler : public XmlSaxHandler
{
public:
    EBookReaderSearchPushKeyXmlHandler();

    bool readFile(const QByteArray &data, SearchPushKeyword *keyword);
    bool readFile(QIODevice *device, SearchPushKeyword *keyword);

    bool startElement(const QString &namespaceURI, const QString &localName, const QString &qName,
                      const QXmlStreamAttributes &atts) override;
    bool endElement(const QString &namespaceURI, const QString &localName,
                    const QString &qName) override;

private:
    SearchPushKeyword *pKeyWord = nullptr;
};

#endif // EBOOKREADERSEARCHPUSHKEYXMLHANDLER_H
