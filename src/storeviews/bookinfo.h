#ifndef BOOKINFO_H
#define BOOKINFO_H

#include <QString>

// One row of a store front book list.
class BookInfo
{
public:
    enum EListElement
    {
        EPicList = 1,
        EBookList = 2
    };

    void copyBookInfo(const BookInfo *other);

    EListElement m_type = EBookList;
    bool m_hasTitle = false;
    QString m_bookName;
    QString m_author;
    QString m_picPath;
    QString m_content;
    QString m_titleName;
    QString m_titleId;
    QString m_bookId;
};

#endif // BOOKINFO_H
