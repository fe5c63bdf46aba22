#ifndef XMLTEXT_H
#define XMLTEXT_H

#include <QString>

// Text that goes into an XML document we write (book descriptions, store
// answers). XML 1.0 cannot carry control characters, U+FFFE/U+FFFF or lone
// surrogates, not even escaped, so they are dropped.
class XmlText
{
public:
    static QString clean(const QString &text);
};

#endif // XMLTEXT_H
