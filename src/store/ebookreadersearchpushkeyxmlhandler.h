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
    int errorCode();
    QString errorString() const override;

    bool startElement(const QString &namespaceURI, const QString &localName, const QString &qName,
                      const QXmlStreamAttributes &atts) override;
    bool endElement(const QString &namespaceURI, const QString &localName,
                    const QString &qName) override;
    bool characters(const QString &ch) override;
    bool fatalError(const XmlSaxParseException &exception) override;

private:
    QString currentText;
    QString errorStr;
    SearchPushKeyword *pKeyWord = nullptr;
    int errorCodeValue = 200;
};

#endif // EBOOKREADERSEARCHPUSHKEYXMLHANDLER_H
