#include "ebookreaderusrlogxmlhandler.h"

EbookReaderUsrLogXmlHandler::EbookReaderUsrLogXmlHandler() = default;

bool EbookReaderUsrLogXmlHandler::readFile(const QByteArray &data, UserLoginInfo *info)
{
    mUsrlogInfo = info;
    if (!mUsrlogInfo)
        return false;
    return parseDocument(data);
}

bool EbookReaderUsrLogXmlHandler::readFile(QIODevice *device, UserLoginInfo *info)
{
    mUsrlogInfo = info;
    if (!mUsrlogInfo)
        return false;
    return parseDocument(device);
}

int EbookReaderUsrLogXmlHandler::errorCode()
{
    return errorCodeValue;
}

QString EbookReaderUsrLogXmlHandler::errorString() const
{
    return errorStr;
}

bool EbookReaderUsrLogXmlHandler::characters(const QString &ch)
{
    // The parser may hand one element's text over in several pieces.
    currentText.append(ch);
    return true;
}

bool EbookReaderUsrLogXmlHandler::fatalError(const XmlSaxParseException &)
{
    return false;
}

bool EbookReaderUsrLogXmlHandler::startElement(const QString &, const QString &,
                                               const QString &qName,
                                               const QXmlStreamAttributes &atts)
{
    if (qName == QLatin1String("vr"))
        mUsrlogInfo->ret = attribute(atts, "ret");
    currentText.clear();
    return true;
}

bool EbookReaderUsrLogXmlHandler::endElement(const QString &, const QString &, const QString &qName)
{
    if (qName == QLatin1String("uid"))
        mUsrlogInfo->usrId = currentText;
    else if (qName == QLatin1String("prefix"))
        mUsrlogInfo->serPrefixUrl = currentText;
    else if (qName == QLatin1String("error_code"))
        errorCodeValue = decimal(currentText);
    else if (qName == QLatin1String("error"))
        errorCodeValue = refinedErrorCode(errorCodeValue, currentText);
    return true;
}
