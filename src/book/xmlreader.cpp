#include "xmlreader.h"

#include "chapterxmlitem.h"
#include "vrrbookinfo.h"

void XmlReader::feed(const char *text)
{
    // Always UTF-8, whatever the document's declaration says.
    addData(QString::fromUtf8(text));
}

QString XmlReader::elementText()
{
    // Markup inside a text element (a <br/> in a description) is not an error.
    return readElementText(QXmlStreamReader::IncludeChildElements);
}

QString XmlReader::attributeAt(int position) const
{
    // Attributes are taken by position, whatever their names.
    const QXmlStreamAttributes attrs = attributes();
    if (position >= attrs.size())
        return QString();
    return attrs.at(position).value().toString();
}

bool XmlReader::atEndOf(const char *name) const
{
    return isEndElement() && this->name() == QLatin1String(name);
}

bool XmlReader::ParserBookIndexInfo(char *&text, VRRBookInfo *&result)
{
    if (!text || !result)
        return false;
    m_pBookInfo = result;
    feed(text);
    while (!atEnd()) {
        readNext();
        if (isStartElement() && name() == QLatin1String("vb")) {
            readRootAttributes();
            ReadData();
        }
    }
    return !hasError();
}

void XmlReader::readRootAttributes()
{
    const QXmlStreamAttributes attrs = attributes();
    for (const QXmlStreamAttribute &attr : attrs) {
        const QString value = attr.value().toString();
        const auto attrName = attr.name();
        if (attrName == QLatin1String("ret")) {
            m_pBookInfo->m_Ret_ActionFlag = value;
        } else if (attrName == QLatin1String("id")) {
            m_pBookInfo->m_id = value;
        } else if (attrName == QLatin1String("title")) {
            m_pBookInfo->m_title = value;
            m_pBookInfo->m_Title_BookName = value;
        } else if (attrName == QLatin1String("comment_flag")) {
            m_pBookInfo->m_comment_flag = value;
            m_pBookInfo->m_Comment_Flag = value == QLatin1String("true");
        } else if (attrName == QLatin1String("type")) {
            m_pBookInfo->m_FileType = value;
        }
    }
}

void XmlReader::ReadData()
{
    while (!atEnd()) {
        readNext();
        if (atEndOf("vb"))
            return;
        if (!isStartElement())
            continue;
        const auto element = name();
        if (element == QLatin1String("id"))
            ReadID();
        else if (element == QLatin1String("keys"))
            ReadKeys();
        else if (element == QLatin1String("display_lines"))
            ReadISBN();
        else if (element == QLatin1String("description"))
            ReadDescription();
        else if (element == QLatin1String("chapters"))
            ReadChapters();
        else // "msgs" and anything unknown: content ignored
            skipCurrentElement();
    }
}

void XmlReader::ReadID()
{
    m_pBookInfo->m_id = elementText();
}

void XmlReader::ReadKeys()
{
    while (!atEnd()) {
        readNext();
        if (atEndOf("keys"))
            return;
        if (!isStartElement())
            continue;
        const auto element = name();
        if (element == QLatin1String("author"))
            ReadAuthor();
        else if (element == QLatin1String("publisher"))
            ReadPublisher();
        else if (element == QLatin1String("score"))
            ReadScore();
        else if (element == QLatin1String("paper_link"))
            ReadPaperLink();
        else
            skipCurrentElement();
    }
}

void XmlReader::ReadAuthor()
{
    m_pBookInfo->m_keys.m_author = elementText();
}

void XmlReader::ReadPublisher()
{
    m_pBookInfo->m_keys.m_publisher = elementText();
}

void XmlReader::ReadScore()
{
    // Not a 16-bit decimal number: 0.
    m_pBookInfo->m_keys.m_score = elementText().trimmed().toShort();
}

void XmlReader::ReadPaperLink()
{
    m_pBookInfo->m_keys.m_paper_link = elementText();
}

void XmlReader::ReadISBN()
{
    // Named after an older element; it reads "display_lines".
    m_pBookInfo->m_display_lines = elementText();
}

void XmlReader::ReadDescription()
{
    m_pBookInfo->m_description = elementText();
}

void XmlReader::ReadChapters()
{
    m_pBookInfo->m_caplist.clear();
    // The chapter count is the first attribute, whatever its name.
    if (!attributes().isEmpty())
        m_pBookInfo->m_total = attributeAt(0).trimmed().toShort();
    while (!atEnd()) {
        readNext();
        if (atEndOf("chapters"))
            return;
        if (!isStartElement())
            continue;
        if (name() == QLatin1String("item"))
            readChapterItem();
        else
            skipCurrentElement();
    }
}

void XmlReader::readChapterItem()
{
    VRRBookInfo::ChapterItem item;
    item.m_capt = attributeAt(0);
    item.m_id = attributeAt(1);
    item.m_title = elementText();
    m_pBookInfo->addChapter(item);
}

bool XmlReader::ParserBookChapterInfo(char *&text, ChapterXMLItem *result)
{
    if (!text || !result)
        return false;
    result->Chater.clear();
    result->ImgInfo.clear();
    feed(text);
    while (!atEnd()) {
        readNext();
        // Whatever follows the end of "chapter" is never looked at.
        if (atEndOf("chapter"))
            break;
        if (!isStartElement())
            continue;
        if (name() == QLatin1String("text"))
            result->Chater.append({attributeAt(0), attributeAt(1), attributeAt(2)});
        else if (name() == QLatin1String("img"))
            result->ImgInfo.append({attributeAt(0), attributeAt(1), attributeAt(2)});
    }
    return !hasError();
}
