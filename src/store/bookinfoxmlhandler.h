#ifndef BOOKINFOXMLHANDLER_H
#define BOOKINFOXMLHANDLER_H

#include "bookinfoitem.h"
#include "xmlsaxhandler.h"

#include <QString>

class QIODevice;

// Reads the details of one store book into a BookInfoItem.
class BookInfoXmlHandler : public XmlSaxHandler
{
public:
    BookInfoXmlHandler();

    bool readFile(const QByteArray &data, BookInfoItem *item);
    bool readFile(QIODevice *device, BookInfoItem *item);
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
    BookInfoItem *mBookInfoItem = nullptr;
    int errorCodeValue = 200;
};

#endif // BOOKINFOXMLHANDLER_H
