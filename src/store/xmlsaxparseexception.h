#ifndef XMLSAXPARSEEXCEPTION_H
#define XMLSAXPARSEEXCEPTION_H

#include <QString>

// Where and why a document stopped being readable; handed to a handler's
// fatalError().
struct XmlSaxParseException
{
    QString message;
    qint64 lineNumber = 0;
    qint64 columnNumber = 0;
};

#endif // XMLSAXPARSEEXCEPTION_H
