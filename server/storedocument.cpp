#include "storedocument.h"

#include "xmltext.h"

StoreDocument::StoreDocument(const QString &root) : m_writer(&m_bytes)
{
    m_writer.writeStartDocument();
    m_writer.writeStartElement(root);
}

void StoreDocument::attribute(const QString &name, const QString &value)
{
    m_writer.writeAttribute(name, XmlText::clean(value));
}

void StoreDocument::attribute(const QString &name, qint64 value)
{
    m_writer.writeAttribute(name, QString::number(value));
}

void StoreDocument::start(const QString &name)
{
    m_writer.writeStartElement(name);
}

void StoreDocument::end()
{
    m_writer.writeEndElement();
}

void StoreDocument::textElement(const QString &name, const QString &text)
{
    m_writer.writeStartElement(name);
    m_writer.writeCharacters(XmlText::clean(text));
    m_writer.writeEndElement();
}

void StoreDocument::emptyElement(const QString &name)
{
    m_writer.writeEmptyElement(name);
}

void StoreDocument::text(const QString &text)
{
    m_writer.writeCharacters(XmlText::clean(text));
}

QByteArray StoreDocument::finish()
{
    m_writer.writeEndDocument();
    m_bytes.append('\n');
    return m_bytes;
}

QByteArray StoreDocument::error(const QString &root, int code, const QString &detail)
{
    StoreDocument document(root);
    document.attribute(QStringLiteral("ret"), QStringLiteral("error"));
    document.textElement(QStringLiteral("error_code"), QString::number(code));
    if (!detail.isEmpty())
        document.textElement(QStringLiteral("error"), detail);
    return document.finish();
}
