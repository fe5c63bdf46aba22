#include "ebookreaderdownloadxmlhandler.h"

EBookReaderDownloadXmlHandler::EBookReaderDownloadXmlHandler() = default;

bool EBookReaderDownloadXmlHandler::readFile(const QByteArray &data, Downloadtype *record)
{
    return parseInto(pType, record, data);
}

bool EBookReaderDownloadXmlHandler::readFile(QIODevice *device, Downloadtype *record)
{
    return parseInto(pType, record, device);
}

bool EBookReaderDownloadXmlHandler::startElement(const QString &, const QString &,
                                                 const QString &qName,
                                                 const QXmlStreamAttributes &atts)
{
    if (qName == QLatin1String("vr")) {
        startAnswer(atts);
    } else if (qName == QLatin1String("item")) {
        pType->itemName = attribute(atts, "name");
        pType->itemType = attribute(atts, "type");
        pType->itemId = attribute(atts, "id");
        pType->itemUrl = attribute(atts, "url");
        pType->itemText = attribute(atts, "text");
        isChargeDef = false;
    } else if (qName == QLatin1String("ok")) {
        pType->okText = attribute(atts, "text");
    } else if (qName == QLatin1String("cancel")) {
        pType->cancelText = attribute(atts, "text");
    }
    currentText = QString();
    return true;
}

void EBookReaderDownloadXmlHandler::startAnswer(const QXmlStreamAttributes &atts)
{
    pType->ret = attribute(atts, "ret");
    if (pType->ret == QLatin1String("download"))
        isDownload = true;
    else if (pType->ret == QLatin1String("chargedef"))
        isChargeDef = true;
    else if (pType->ret == QLatin1String("pay"))
        isPay = true;

    if (isDownload)
        pType->type = attribute(atts, "type");
    else if (isChargeDef || isPay)
        pType->sid = attribute(atts, "sid");
}

bool EBookReaderDownloadXmlHandler::endElement(const QString &, const QString &,
                                               const QString &qName)
{
    if (isDownload)
        endDownloadElement(qName);
    else if (isPay)
        endPayElement(qName);
    else
        readErrorElement(qName);
    return true;
}

void EBookReaderDownloadXmlHandler::endDownloadElement(const QString &qName)
{
    if (qName == QLatin1String("title")) {
        pType->title = currentText;
    } else if (qName == QLatin1String("text")) {
        pType->text = currentText;
    } else if (qName == QLatin1String("content")) {
        pType->content = currentText;
    } else if (qName == QLatin1String("link")) {
        // The store escapes the link's query separators once more than XML
        // needs, so "&amp" survives the parser's own decoding. A full "&amp;"
        // goes as a whole: leaving its ";" behind would hide the next
        // parameter (the package's "cid").
        QString link = currentText;
        link.replace(QLatin1String("&amp;"), QLatin1String("&"));
        link.replace(QLatin1String("&amp"), QLatin1String("&"));
        pType->link = link;
    } else if (qName == QLatin1String("size")) {
        bool ok = false;
        const qint64 size = currentText.toLongLong(&ok, 10);
        pType->size = ok ? size : 0;
        // "size" closes the download part of the answer.
        isDownload = false;
    }
}

void EBookReaderDownloadXmlHandler::endPayElement(const QString &qName)
{
    if (qName == QLatin1String("title")) {
        pType->title = currentText;
    } else if (qName == QLatin1String("text")) {
        pType->text = currentText;
        isPay = false;
    }
}
