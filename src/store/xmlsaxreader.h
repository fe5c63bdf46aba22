#ifndef XMLSAXREADER_H
#define XMLSAXREADER_H

#include <QString>

class QByteArray;
class QIODevice;
class QXmlStreamReader;
class XmlSaxHandler;

// Walks an XML document with QXmlStreamReader and reports it to a handler as
// start tags, end tags and character data. The encoding declaration decides
// the decoding (UTF-8 when none). The first well-formedness error goes to the
// error handler and ends the parse with false.
class XmlSaxReader
{
public:
    void setContentHandler(XmlSaxHandler *handler);
    void setErrorHandler(XmlSaxHandler *handler);

    bool parse(const QByteArray &data);
    // Reads the device in pieces as they become available, so character data
    // may reach the handler split at any byte.
    bool parse(QIODevice *device);

private:
    enum class Step
    {
        Continue,
        Done,
        Failed,
        NeedData
    };

    Step step(QXmlStreamReader &xml);
    // A content callback asked to stop.
    Step stopped(const QXmlStreamReader &xml, const XmlSaxHandler &handler);
    bool fail(const QXmlStreamReader &xml);
    bool failWith(const QXmlStreamReader &xml, const QString &message);

    XmlSaxHandler *m_contentHandler = nullptr;
    XmlSaxHandler *m_errorHandler = nullptr;
    int m_depth = 0;
    bool m_rootClosed = false;
};

#endif // XMLSAXREADER_H
