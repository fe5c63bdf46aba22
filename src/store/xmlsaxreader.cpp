#include "xmlsaxreader.h"

#include "xmlsaxhandler.h"

#include <QByteArray>
#include <QIODevice>
#include <QXmlStreamReader>

namespace {
const qint64 ChunkSize = 16 * 1024;
}

void XmlSaxReader::setContentHandler(XmlSaxHandler *handler)
{
    m_contentHandler = handler;
}

void XmlSaxReader::setErrorHandler(XmlSaxHandler *handler)
{
    m_errorHandler = handler;
}

bool XmlSaxReader::parse(const QByteArray &data)
{
    m_depth = 0;
    m_rootClosed = false;
    QXmlStreamReader xml(data);
    for (;;) {
        switch (step(xml)) {
        case Step::Continue:
            continue;
        case Step::Done:
            return true;
        case Step::NeedData:
            // All of the document is there: running out of it is an error.
            return fail(xml);
        case Step::Failed:
            return false;
        }
    }
}

bool XmlSaxReader::parse(QIODevice *device)
{
    m_depth = 0;
    m_rootClosed = false;
    QXmlStreamReader xml;
    if (!device)
        return failWith(xml, QStringLiteral("no document"));
    for (;;) {
        const Step s = step(xml);
        if (s == Step::Continue)
            continue;
        if (s == Step::Done)
            return true;
        if (s == Step::Failed)
            return false;
        const qint64 available = device->bytesAvailable();
        const QByteArray chunk =
            device->read(available > 0 ? qMin(available, ChunkSize) : ChunkSize);
        if (!chunk.isEmpty()) {
            xml.addData(chunk);
            continue;
        }
        // The source is exhausted; a complete root element is a whole
        // document even though the stream reader still waits for more.
        return m_rootClosed ? true : fail(xml);
    }
}

XmlSaxReader::Step XmlSaxReader::step(QXmlStreamReader &xml)
{
    const QXmlStreamReader::TokenType token = xml.readNext();
    XmlSaxHandler *handler = m_contentHandler;
    switch (token) {
    case QXmlStreamReader::StartElement:
        ++m_depth;
        if (handler && !handler->startElement(xml.namespaceUri().toString(), xml.name().toString(),
                                              xml.qualifiedName().toString(), xml.attributes()))
            return stopped(xml, *handler);
        return Step::Continue;
    case QXmlStreamReader::EndElement:
        --m_depth;
        if (m_depth == 0)
            m_rootClosed = true;
        if (handler && !handler->endElement(xml.namespaceUri().toString(), xml.name().toString(),
                                            xml.qualifiedName().toString()))
            return stopped(xml, *handler);
        return Step::Continue;
    case QXmlStreamReader::Characters:
        if (handler && !handler->characters(xml.text().toString()))
            return stopped(xml, *handler);
        return Step::Continue;
    case QXmlStreamReader::EndDocument:
        return Step::Done;
    case QXmlStreamReader::Invalid:
        if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
            return Step::NeedData;
        fail(xml);
        return Step::Failed;
    default:
        return Step::Continue;
    }
}

XmlSaxReader::Step XmlSaxReader::stopped(const QXmlStreamReader &xml, const XmlSaxHandler &handler)
{
    failWith(xml, handler.errorString());
    return Step::Failed;
}

bool XmlSaxReader::fail(const QXmlStreamReader &xml)
{
    return failWith(xml, xml.errorString());
}

bool XmlSaxReader::failWith(const QXmlStreamReader &xml, const QString &message)
{
    if (m_errorHandler) {
        XmlSaxParseException exception;
        exception.message = message;
        exception.lineNumber = xml.lineNumber();
        exception.columnNumber = xml.columnNumber();
        m_errorHandler->fatalError(exception);
    }
    // A document the reader had to stop in is never a success.
    return false;
}
