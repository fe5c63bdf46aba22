#include "ebookreadersearchpushkeyxmlhandler.h"

EBookReaderSearchPushKeyXmlHandler::EBookReaderSearchPushKeyXmlHandler() = default;

bool EBookReaderSearchPushKeyXmlHandler::readFile(const QByteArray &data,
                                                  SearchPushKeyword *keyword)
{
    pKeyWord = keyword;
    if (!pKeyWord)
        return false;
    return parseDocument(data);
}

bool EBookReaderSearchPushKeyXmlHandler::readFile(QIODevice *device, SearchPushKeyword *keyword)
{
    pKeyWord = keyword;
    if (!pKeyWord)
        return false;
    return parseDocument(device);
}

int EBookReaderSearchPushKeyXmlHandler::errorCode()
{
    return errorCodeValue;
}

QString EBookReaderSearchPushKeyXmlHandler::errorString() const
{
    return errorStr;
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
    else if (qName == QLatin1String("error_code"))
        errorCodeValue = decimal(currentText);
    else if (qName == QLatin1String("error"))
        errorCodeValue = refinedErrorCode(errorCodeValue, currentText);
    return true;
}

bool EBookReaderSearchPushKeyXmlHandler::characters(const QString &ch)
{
    // The parser may hand one element's text over in several pieces.
    currentText.append(ch);
    return true;
}

bool EBookReaderSearchPushKeyXmlHandler::fatalError(const XmlSaxParseException &)
{
    return false;
}
