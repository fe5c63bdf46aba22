#include "ebookreadersearchxmlhandler.h"

EbookReaderSearchXmlHandler::EbookReaderSearchXmlHandler() = default;

EbookReaderSearchXmlHandler::~EbookReaderSearchXmlHandler() = default;

bool EbookReaderSearchXmlHandler::readFile(const QByteArray &data, EBookReaderSearchResult *result)
{
    return parseInto(pSearchRes, result, data);
}

bool EbookReaderSearchXmlHandler::readFile(QIODevice *device, EBookReaderSearchResult *result)
{
    return parseInto(pSearchRes, result, device);
}

bool EbookReaderSearchXmlHandler::startElement(const QString &, const QString &,
                                               const QString &qName,
                                               const QXmlStreamAttributes &atts)
{
    if (qName == QLatin1String("vr")) {
        pSearchRes->ret = attribute(atts, "ret");
        pSearchRes->totalpage = decimal(attribute(atts, "totalpage"));
        pSearchRes->pageidx = decimal(attribute(atts, "pageidx"));
        pSearchRes->totalItem = decimal(attribute(atts, "totalitem"));
    } else if (qName == QLatin1String("item")) {
        startItem(atts);
    }
    currentText.clear();
    return true;
}

void EbookReaderSearchXmlHandler::startItem(const QXmlStreamAttributes &atts)
{
    const QString type = attribute(atts, "type");
    if (type == QLatin1String("piclist")) {
        auto *book = new bookInfo;
        book->id = attribute(atts, "id");
        book->type = type;
        book->bookName = attribute(atts, "name");
        book->author = attribute(atts, "author");
        pSearchRes->bookList.append(book);
    } else if (type == QLatin1String("booklist")) {
        mpbInfo = std::make_unique<bookInfo>();
        mpbInfo->id = attribute(atts, "id");
        mpbInfo->type = type;
        mpbInfo->bookName = attribute(atts, "name");
        bookListflg = true;
    }
}

bool EbookReaderSearchXmlHandler::endElement(const QString &, const QString &, const QString &qName)
{
    if (qName == QLatin1String("msgs")) {
        pSearchRes->msgs = currentText;
    } else if (qName == QLatin1String("tips")) {
        pSearchRes->tips = currentText;
    } else if (qName == QLatin1String("item")) {
        if (bookListflg && mpbInfo) {
            mpbInfo->description = currentText;
            pSearchRes->bookList.append(mpbInfo.release());
        }
        bookListflg = false;
    } else {
        readErrorElement(qName);
    }
    return true;
}
