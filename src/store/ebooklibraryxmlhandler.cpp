#include "ebooklibraryxmlhandler.h"

EBookLibraryXmlHandler::EBookLibraryXmlHandler() = default;

EBookLibraryXmlHandler::~EBookLibraryXmlHandler() = default;

bool EBookLibraryXmlHandler::readFile(const QByteArray &data, EBookReaderLibrary *library)
{
    return parseInto(pReaderLibrary, library, data);
}

bool EBookLibraryXmlHandler::readFile(QIODevice *device, EBookReaderLibrary *library)
{
    return parseInto(pReaderLibrary, library, device);
}

bool EBookLibraryXmlHandler::startElement(const QString &, const QString &, const QString &qName,
                                          const QXmlStreamAttributes &atts)
{
    if (qName == QLatin1String("vr")) {
        pReaderLibrary->ret = attribute(atts, "ret");
    } else if (qName == QLatin1String("catlist")) {
        isCatlist = true;
    } else if (qName == QLatin1String("cat")) {
        pReaderLibrary->currentId = attribute(atts, "id");
    } else if (qName == QLatin1String("item")) {
        startItem(atts);
    } else if (qName == QLatin1String("recommend")) {
        isRecommend = true;
    } else if (qName == QLatin1String("subcat")) {
        pSubcat = std::make_unique<Subcat>();
        pSubcat->subId = attribute(atts, "id");
        pSubcat->subCatName = attribute(atts, "name");
        isSubcat = true;
    }
    currentText.clear();
    return true;
}

void EBookLibraryXmlHandler::startItem(const QXmlStreamAttributes &atts)
{
    // An item may count for several lists at once: nesting is not enforced.
    if (isCatlist) {
        auto *item = new CatItem;
        item->id = attribute(atts, "id");
        item->name = attribute(atts, "name");
        item->focus = attribute(atts, "focus") == QLatin1String("true");
        pReaderLibrary->catList.append(item);
    }
    if (isRecommend) {
        auto *item = new RecommendItem;
        item->id = attribute(atts, "id");
        item->name = attribute(atts, "name");
        pReaderLibrary->recommendList.append(item);
    }
    if (isSubcat)
        startSubcatItem(atts);
}

void EBookLibraryXmlHandler::startSubcatItem(const QXmlStreamAttributes &atts)
{
    const QString type = attribute(atts, "type");
    if (type == QLatin1String("piclist")) {
        auto *book = new BookItem;
        book->id = attribute(atts, "id");
        book->type = type;
        book->name = attribute(atts, "name");
        book->author = attribute(atts, "author");
        pSubcat->BookItemList.append(book);
    } else if (type == QLatin1String("booklist")) {
        // Its description is the item's text, known at the end tag.
        pBookItem = std::make_unique<BookItem>();
        pBookItem->id = attribute(atts, "id");
        pBookItem->type = type;
        pBookItem->name = attribute(atts, "name");
        bookListflg = true;
    } else if (type == QLatin1String("wap") || type == QLatin1String("wapint") ||
               type == QLatin1String("tel") || type == QLatin1String("sms")) {
        pHrefItem = std::make_unique<HrefItem>();
        pHrefItem->id = attribute(atts, "id");
        pHrefItem->type = type;
        pHrefItem->href = attribute(atts, "href");
        if (type == QLatin1String("sms")) {
            pHrefItem->smsrept = attribute(atts, "smsrept");
            pHrefItem->smscallback = attribute(atts, "smscallback");
        }
        isHrefItem = true;
    }
}

bool EBookLibraryXmlHandler::endElement(const QString &, const QString &, const QString &qName)
{
    if (qName == QLatin1String("catlist")) {
        isCatlist = false;
    } else if (qName == QLatin1String("recommend")) {
        isRecommend = false;
    } else if (qName == QLatin1String("item")) {
        endItem();
    } else if (qName == QLatin1String("subcat")) {
        endSubcat();
    } else {
        readErrorElement(qName);
    }
    return true;
}

void EBookLibraryXmlHandler::endItem()
{
    if (!isSubcat || !pSubcat)
        return;
    if (bookListflg) {
        pBookItem->description = currentText;
        pSubcat->BookItemList.append(pBookItem.release());
        bookListflg = false;
    } else if (isHrefItem) {
        pHrefItem->description = currentText;
        pSubcat->HrefItemList.append(pHrefItem.release());
        isHrefItem = false;
    }
}

void EBookLibraryXmlHandler::endSubcat()
{
    if (pSubcat)
        pReaderLibrary->subcatList.append(pSubcat.release());
    isSubcat = false;
}
