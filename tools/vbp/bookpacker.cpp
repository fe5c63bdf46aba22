#include "bookpacker.h"

#include "coverpainter.h"
#include "textsplitter.h"
#include "vbpwriter.h"
#include "xmltext.h"

#include <QCryptographicHash>
#include <QSaveFile>
#include <QXmlStreamWriter>

namespace {

struct CoverSize
{
    const char *name;
    QSize size;
};

// The shelf shows "58_84.png"; the other two are the store's list sizes.
const CoverSize CoverSizes[] = {
    {"58_84.png", QSize(58, 84)},
    {"44_63.png", QSize(44, 63)},
    {"82_118.png", QSize(82, 118)},
};

constexpr int MaxBookIdLength = 64;

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

void writeTextElement(QXmlStreamWriter &xml, const char *name, const QString &text)
{
    xml.writeTextElement(QString::fromLatin1(name), XmlText::clean(text));
}

} // namespace

BookPacker::BookPacker(const BookSource &source) : m_source(source)
{
    if (m_source.id.isEmpty())
        m_source.id = derivedId(m_source.title, m_source.author);
}

QString BookPacker::derivedId(const QString &title, const QString &author)
{
    const QByteArray digest = QCryptographicHash::hash(
        (title + QLatin1Char('\n') + author).toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("zr-") + QString::fromLatin1(digest.toHex().left(16));
}

bool BookPacker::isValidBookId(const QString &id)
{
    if (id.isEmpty() || id.size() > MaxBookIdLength || id == QLatin1String(".") ||
        id.contains(QLatin1String("..")))
        return false;
    for (const QChar c : id) {
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                           c == QLatin1Char('-') || c == QLatin1Char('_') || c == QLatin1Char('.');
        if (!plain)
            return false;
    }
    return true;
}

QString BookPacker::chapterId(int index)
{
    return QStringLiteral("c%1").arg(index + 1, 4, 10, QLatin1Char('0'));
}

bool BookPacker::validate(QString *error) const
{
    if (!isValidBookId(m_source.id))
        return fail(error, QStringLiteral("book id \"%1\" must be 1 to %2 characters of "
                                          "A-Z a-z 0-9 - _ . (and no \"..\")")
                               .arg(m_source.id)
                               .arg(MaxBookIdLength));
    if (m_source.title.trimmed().isEmpty())
        return fail(error, QStringLiteral("the book has no title"));
    if (m_source.chapters.isEmpty())
        return fail(error, QStringLiteral("the book has no chapters"));
    return true;
}

QByteArray BookPacker::indexXml() const
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("vb"));
    xml.writeAttribute(QStringLiteral("ret"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("id"), m_source.id);
    xml.writeAttribute(QStringLiteral("title"), XmlText::clean(m_source.title));
    xml.writeAttribute(QStringLiteral("comment_flag"), QStringLiteral("false"));
    xml.writeAttribute(QStringLiteral("type"), QStringLiteral("txt"));

    xml.writeStartElement(QStringLiteral("keys"));
    writeTextElement(xml, "author", m_source.author);
    writeTextElement(xml, "publisher", m_source.publisher);
    writeTextElement(xml, "score", QStringLiteral("0"));
    writeTextElement(xml, "paper_link", QString());
    xml.writeEndElement();
    writeTextElement(xml, "display_lines", QString());
    writeTextElement(xml, "description", m_source.description);

    // The reader takes the attributes of "chapters" and "item" by position:
    // count first; caption, then chapter id.
    xml.writeStartElement(QStringLiteral("chapters"));
    xml.writeAttribute(QStringLiteral("count"), QString::number(m_source.chapters.size()));
    for (int i = 0; i < m_source.chapters.size(); ++i) {
        xml.writeStartElement(QStringLiteral("item"));
        xml.writeAttribute(QStringLiteral("caption"), QString::number(i + 1));
        xml.writeAttribute(QStringLiteral("id"), chapterId(i));
        xml.writeCharacters(XmlText::clean(m_source.chapters.at(i).title));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

QByteArray BookPacker::chapterXml(const QStringList &pieces)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("chapter"));
    qint64 offset = 0;
    for (const QString &piece : pieces) {
        const qint64 length = piece.size() * 2;
        // Read by position: href, offset, length.
        xml.writeStartElement(QStringLiteral("text"));
        xml.writeAttribute(QStringLiteral("href"), QStringLiteral("content.txt"));
        xml.writeAttribute(QStringLiteral("offset"), QString::number(offset));
        xml.writeAttribute(QStringLiteral("length"), QString::number(length));
        xml.writeEndElement();
        offset += length;
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

QByteArray BookPacker::contentText(const QStringList &pieces)
{
    QByteArray bytes;
    for (const QString &piece : pieces) {
        for (const QChar c : piece) {
            bytes.append(char(c.unicode() & 0xFF));
            bytes.append(char(c.unicode() >> 8));
        }
    }
    return bytes;
}

QByteArray BookPacker::chapterPackage(const QString &id, const QString &text)
{
    // An empty record would not open; an empty chapter reads as one blank line.
    const QStringList pieces =
        TextSplitter::split(text.isEmpty() ? QStringLiteral("\n") : text, PieceUnits);
    VbpWriter writer;
    writer.setContentId(id.toLatin1());
    writer.addRecord("chapter.xml", chapterXml(pieces));
    writer.addRecord("content.txt", contentText(pieces));
    return writer.toBytes();
}

QByteArray BookPacker::toBytes(QString *error) const
{
    if (!validate(error))
        return {};
    VbpWriter writer;
    writer.setContentId(m_source.id.toLatin1());
    writer.addRecord("index.xml", indexXml());
    const CoverPainter cover(m_source.id, m_source.title, m_source.author);
    for (const CoverSize &size : CoverSizes)
        writer.addRecord(size.name, cover.png(size.size));
    for (int i = 0; i < m_source.chapters.size(); ++i) {
        const QString id = chapterId(i);
        const QByteArray package = chapterPackage(id, m_source.chapters.at(i).text);
        if (package.isEmpty()) {
            fail(error, QStringLiteral("chapter %1 is too long for one package record").arg(i + 1));
            return {};
        }
        writer.addRecord((id + QStringLiteral(".vbp")).toLatin1(), package);
    }
    const QByteArray bytes = writer.toBytes();
    if (bytes.isEmpty())
        fail(error, QStringLiteral("the book is too large for one package"));
    return bytes;
}

bool BookPacker::writeTo(const QString &path, QString *error) const
{
    const QByteArray bytes = toBytes(error);
    if (bytes.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(error, QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return true;
}
