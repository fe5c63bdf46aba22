#ifndef STOREDOCUMENT_H
#define STOREDOCUMENT_H

#include <QByteArray>
#include <QString>
#include <QXmlStreamWriter>

// One store answer: a UTF-8 XML document with its declaration, every text
// and attribute escaped, characters XML cannot carry left out.
class StoreDocument
{
public:
    explicit StoreDocument(const QString &root);
    StoreDocument(const StoreDocument &) = delete;
    StoreDocument &operator=(const StoreDocument &) = delete;

    // Attributes belong to the element opened last.
    void attribute(const QString &name, const QString &value);
    void attribute(const QString &name, qint64 value);
    void start(const QString &name);
    void end();
    // An element holding only text; written with both tags even when the
    // text is empty, because clients look for "<uid>" and "</uid>".
    void textElement(const QString &name, const QString &text);
    void emptyElement(const QString &name);
    // Text inside the element opened last.
    void text(const QString &text);
    QByteArray finish();

    // The answer to a request the store cannot serve: the general code, and
    // for 400 a five-digit detail code followed by a message.
    static QByteArray error(const QString &root, int code, const QString &detail = QString());

private:
    QByteArray m_bytes;
    QXmlStreamWriter m_writer;
};

#endif // STOREDOCUMENT_H
