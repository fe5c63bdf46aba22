#ifndef EBOOKREADERMYACCOUNTXMLHANDLER_H
#define EBOOKREADERMYACCOUNTXMLHANDLER_H

#include "myaccountinfo.h"
#include "xmlsaxhandler.h"

#include <QString>

class QIODevice;

// Reads the account page's lines into a MyAccountInfo.
class EBookReaderMyAccountXmlHandler : public XmlSaxHandler
{
public:
    EBookReaderMyAccountXmlHandler();

    bool readFile(const QByteArray &data, MyAccountInfo *info);
    bool readFile(QIODevice *device, MyAccountInfo *info);

    bool startElement(const QString &namespaceURI, const QString &localName, const QString &qName,
                      const QXmlStreamAttributes &atts) override;
    bool endElement(const QString &namespaceURI, const QString &localName,
                    const QString &qName) override;

private:
    // The line most recently read; owned by the record.
    Line *pLine = nullptr;
    MyAccountInfo *pMyAccountInfo = nullptr;
};

#endif // EBOOKREADERMYACCOUNTXMLHANDLER_H
