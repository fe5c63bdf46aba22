#include "ebookreadermyaccountxmlhandler.h"

EBookReaderMyAccountXmlHandler::EBookReaderMyAccountXmlHandler() = default;

bool EBookReaderMyAccountXmlHandler::readFile(const QByteArray &data, MyAccountInfo *info)
{
    return parseInto(pMyAccountInfo, info, data);
}

bool EBookReaderMyAccountXmlHandler::readFile(QIODevice *device, MyAccountInfo *info)
{
    return parseInto(pMyAccountInfo, info, device);
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
    readErrorElement(qName);
    return true;
}
