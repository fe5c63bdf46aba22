#include "ebookreadermyaccountxmlhandler.h"

EBookReaderMyAccountXmlHandler::EBookReaderMyAccountXmlHandler() = default;

bool EBookReaderMyAccountXmlHandler::readFile(const QByteArray &data, MyAccountInfo *info)
{
    pMyAccountInfo = info;
    if (!pMyAccountInfo)
        return false;
    return parseDocument(data);
}

bool EBookReaderMyAccountXmlHandler::readFile(QIODevice *device, MyAccountInfo *info)
{
    pMyAccountInfo = info;
    if (!pMyAccountInfo)
        return false;
    return parseDocument(device);
}

int EBookReaderMyAccountXmlHandler::errorCode()
{
    return errorCodeValue;
}

QString EBookReaderMyAccountXmlHandler::errorString() const
{
    return errorStr;
}

bool EBookReaderMyAccountXmlHandler::characters(const QString &ch)
{
    // The parser may hand one element's text over in several pieces.
    currentText.append(ch);
    return true;
}

bool EBookReaderMyAccountXmlHandler::fatalError(const XmlSaxParseException &)
{
    return false;
}

bool EBookReaderMyAccountXmlHandler::startElement(const QString &, const QString &,
                                                  const QString &qName,
                                                  const QXmlStreamAttributes &atts)
{
    if (qName == QLatin1String("vr")) {
        pMyAccountInfo->ret = attribute(atts, "ret");
    } else if (qName == QLatin1String("line")) {
        pLine = new Line;
        pLine->name = attribute(atts, "name");
        pLine->value = attribute(atts, "value");
        pMyAccountInfo->LinesList.append(pLine);
    }
    currentText.clear();
    return true;
}

bool EBookReaderMyAccountXmlHandler::endElement(const QString &, const QString &,
                                                const QString &qName)
{
    if (qName == QLatin1String("error_code"))
        errorCodeValue = decimal(currentText);
    else if (qName == QLatin1String("error"))
        errorCodeValue = refinedErrorCode(errorCodeValue, currentText);
    return true;
}
