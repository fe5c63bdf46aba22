#ifndef XMLSAXHANDLER_H
#define XMLSAXHANDLER_H

#include "xmlsaxparseexception.h"

#include <QString>
#include <QXmlStreamAttributes>

class QByteArray;
class QIODevice;

// Base of the store answer readers: the callbacks an XmlSaxReader calls while
// it walks a document. Each content callback returns false to stop the parse.
// It also keeps what every answer reader shares: the text of the element
// being read, and the error code the answer reports.
class XmlSaxHandler
{
public:
    XmlSaxHandler() = default;
    virtual ~XmlSaxHandler();
    XmlSaxHandler(const XmlSaxHandler &) = delete;
    XmlSaxHandler &operator=(const XmlSaxHandler &) = delete;

    virtual bool startElement(const QString &namespaceURI, const QString &localName,
                              const QString &qName, const QXmlStreamAttributes &atts);
    virtual bool endElement(const QString &namespaceURI, const QString &localName,
                            const QString &qName);
    // Collects into currentText, which each reader clears at a start tag:
    // character data may arrive in several pieces for one element (CDATA
    // sections, comments, data that arrives in chunks).
    virtual bool characters(const QString &ch);
    virtual QString errorString() const;
    // The document is not well formed; the parse ends whatever this returns.
    virtual bool fatalError(const XmlSaxParseException &exception);

    // 200, or the code the answer reported (before it became unreadable).
    int errorCode() const;

protected:
    // Runs the document through this handler; true when it was read to the end.
    bool parseDocument(const QByteArray &data);
    bool parseDocument(QIODevice *device);

    // The readers' readFile: keeps the record to fill in the reader's own
    // field and parses the source into it; false without a record.
    template <typename Record, typename Source>
    bool parseInto(Record *&field, Record *record, const Source &source)
    {
        field = record;
        if (!record)
            return false;
        return parseDocument(source);
    }

    // Takes the answer's "error_code" and "error" elements into
    // errorCodeValue; false for any other element.
    bool readErrorElement(const QString &qName);

    static QString attribute(const QXmlStreamAttributes &atts, const char *name);
    // Decimal value of the text; 0 when it is not a number.
    static int decimal(const QString &text);
    // The store refines its general code 400 by a five-digit code at the
    // start of the "error" text; other codes keep their value.
    static int refinedErrorCode(int errorCode, const QString &errorText);

    QString currentText;
    QString errorStr;
    int errorCodeValue = 200;
};

#endif // XMLSAXHANDLER_H
