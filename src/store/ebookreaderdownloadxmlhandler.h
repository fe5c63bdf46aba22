#ifndef EBOOKREADERDOWNLOADXMLHANDLER_H
#define EBOOKREADERDOWNLOADXMLHANDLER_H

#include "downloadtype.h"
#include "xmlsaxhandler.h"

#include <QString>

class QIODevice;

// Reads the store's answer to a download order into a Downloadtype.
class EBookReaderDownloadXmlHandler : public XmlSaxHandler
{
public:
    EBookReaderDownloadXmlHandler();

    bool readFile(const QByteArray &data, Downloadtype *record);
    bool readFile(QIODevice *device, Downloadtype *record);

    bool startElement(const QString &namespaceURI, const QString &localName, const QString &qName,
                      const QXmlStreamAttributes &atts) override;
    bool endElement(const QString &namespaceURI, const QString &localName,
                    const QString &qName) override;

private:
    void startAnswer(const QXmlStreamAttributes &atts);
    void endDownloadElement(const QString &qName);
    void endPayElement(const QString &qName);

    Downloadtype *pType = nullptr;
    bool isDownload = false;
    bool isChargeDef = false;
    bool isPay = false;
};

#endif // EBOOKREADERDOWNLOADXMLHANDLER_H
