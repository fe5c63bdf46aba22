#ifndef EBOOKREADERUSRLOGXMLHANDLER_H
#define EBOOKREADERUSRLOGXMLHANDLER_H

#include "userlogininfo.h"
#include "xmlsaxhandler.h"

#include <QString>

class QIODevice;

// Reads the store's answer to a login into a UserLoginInfo.
class EbookReaderUsrLogXmlHandler : public XmlSaxHandler
{
public:
    EbookReaderUsrLogXmlHandler();

    bool readFile(const QByteArray &data, UserLoginInfo *info);
    bool readFile(QIODevice *device, UserLoginInfo *info);

    bool startElement(const QString &namespaceURI, const QString &localName, const QString &qName,
                      const QXmlStreamAttributes &atts) override;
    bool endElement(const QString &namespaceURI, const QString &localName,
                    const QString &qName) override;

private:
    UserLoginInfo *mUsrlogInfo = nullptr;
};

#endif // EBOOKREADERUSRLOGXMLHANDLER_H
