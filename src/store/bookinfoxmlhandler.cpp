#include "bookinfoxmlhandler.h"

BookInfoXmlHandler::BookInfoXmlHandler() = default;

bool BookInfoXmlHandler::readFile(const QByteArray &data, BookInfoItem *item)
{
    return parseInto(mBookInfoItem, item, data);
}

bool BookInfoXmlHandler::readFile(QIODevice *device, BookInfoItem *item)
{
    return parseInto(mBookInfoItem, item, device);
}

bool BookInfoXmlHandler::startElement(const QString &, const QString &, const QString &qName,
                                      const QXmlStreamAttributes &atts)
{
    if (qName == QLatin1String("vb"))
        mBookInfoItem->bookName = attribute(atts, "title");
    else if (qName == QLatin1String("chapters"))
        mBookInfoItem->status = attribute(atts, "total");
    currentText.clear();
    return true;
}

bool BookInfoXmlHandler::endElement(const QString &, const QString &, const QString &qName)
{
    if (qName == QLatin1String("id"))
        mBookInfoItem->id = currentText;
    else if (qName == QLatin1String("author"))
        mBookInfoItem->author = currentText;
    else if (qName == QLatin1String("publisher"))
        mBookInfoItem->publisher = currentText;
    else if (qName == QLatin1String("description"))
        mBookInfoItem->description = currentText;
    else if (qName == QLatin1String("size"))
        mBookInfoItem->size = currentText;
    else if (qName == QLatin1String("display_lines"))
        mBookInfoItem->displayLines = currentText;
    else
        readErrorElement(qName);
    return true;
}
