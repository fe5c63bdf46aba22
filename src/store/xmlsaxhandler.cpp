#include "xmlsaxhandler.h"

#include "xmlsaxreader.h"

XmlSaxHandler::~XmlSaxHandler() = default;

bool XmlSaxHandler::startElement(const QString &, const QString &, const QString &,
                                 const QXmlStreamAttributes &)
{
    return true;
}

bool XmlSaxHandler::endElement(const QString &, const QString &, const QString &)
{
    return true;
}

bool XmlSaxHandler::characters(const QString &ch)
{
    // The parser may hand one element's text over in several pieces.
    currentText.append(ch);
    return true;
}

QString XmlSaxHandler::errorString() const
{
    return errorStr;
}

bool XmlSaxHandler::fatalError(const XmlSaxParseException &)
{
    return false;
}

int XmlSaxHandler::errorCode() const
{
    return errorCodeValue;
}

bool XmlSaxHandler::parseDocument(const QByteArray &data)
{
    XmlSaxReader reader;
    reader.setContentHandler(this);
    reader.setErrorHandler(this);
    return reader.parse(data);
}

bool XmlSaxHandler::parseDocument(QIODevice *device)
{
    XmlSaxReader reader;
    reader.setContentHandler(this);
    reader.setErrorHandler(this);
    return reader.parse(device);
}

QString XmlSaxHandler::attribute(const QXmlStreamAttributes &atts, const char *name)
{
    return atts.value(QLatin1String(name)).toString();
}

int XmlSaxHandler::decimal(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

int XmlSaxHandler::refinedErrorCode(int errorCode, const QString &errorText)
{
    if (errorCode != 400)
        return errorCode;
    return decimal(errorText.left(5));
}

bool XmlSaxHandler::readErrorElement(const QString &qName)
{
    if (qName == QLatin1String("error_code")) {
        errorCodeValue = decimal(currentText);
        return true;
    }
    if (qName == QLatin1String("error")) {
        errorCodeValue = refinedErrorCode(errorCodeValue, currentText);
        return true;
    }
    return false;
}
