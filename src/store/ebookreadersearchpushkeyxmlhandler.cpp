#include "ebookreadersearchpushkeyxmlhandler.h"

EBookReaderSearchPushKeyXmlHandler::EBookReaderSearchPushKeyXmlHandler() = default;

bool EBookReaderSearchPushKeyXmlHandler::readFile(const QByteArray &data,
                                                  SearchPushKeyword *keyword)
{
    return parseInto(pKeyWord, keyword, data);
}

bool EBookReaderSearchPushKeyXmlHandler::readFile(QIODevice *device, SearchPushKeyword *keyword)
{
    return parseInto(pKeyWord, keyword, device);
}

bool EBookReaderSearchPushKeyXmlHandler::startElement(const QString &, const QString &,
                                                      const QString &qName,
                                                      const QXmlStreamAttributes &atts)
{
    if (qName == QLatin1String("vb"))
        pKeyWord->ret = attribute(atts, "ret");
    else if (qName == QLatin1String("keys"))
        pKeyWord->count = decimal(attribute(atts, "count"));
    currentText.clear();
    return true;
}

bool EBookReaderSearchPushKeyXmlHandler::endElement(const QString &, const QString &,
                                                    const QString &qName)
{
    if (qName == QLatin1String("key"))
        pKeyWord->keywordList.append(currentText);
    else
        readErrorElement(qName);
    return true;
}
