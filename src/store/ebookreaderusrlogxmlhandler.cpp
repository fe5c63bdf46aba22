#include "ebookreaderusrlogxmlhandler.h"

EbookReaderUsrLogXmlHandler::EbookReaderUsrLogXmlHandler() = default;

bool EbookReaderUsrLogXmlHandler::readFile(const QByteArray &data, UserLoginInfo *info)
{
    return parseInto(mUsrlogInfo, info, data);
}

bool EbookReaderUsrLogXmlHandler::readFile(QIODevice *device, UserLoginInfo *info)
{
    return parseInto(mUsrlogInfo, info, device);
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
    else
        readErrorElement(qName);
    return true;
}
