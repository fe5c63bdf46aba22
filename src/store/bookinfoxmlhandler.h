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

    bool startElement(const QString &namespaceURI, const QString &localName, const QString &qName,
                      const QXmlStreamAttributes &atts) override;
    bool endElement(const QString &namespaceURI, const QString &localName,
                    const QString &qName) override;

private:
    BookInfoItem *mBookInfoItem = nullptr;
};

#endif // BOOKINFOXMLHANDLER_H
