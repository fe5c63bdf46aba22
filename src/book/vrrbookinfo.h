#ifndef VRRBOOKINFO_H
#define VRRBOOKINFO_H

#include "qrrequestrelt.h"

#include <QList>
#include <QString>

// The book description read from "index.xml". The same object is reused for
// every book, so fields are only ever assigned; only the chapter list is
// rebuilt.
class VRRBookInfo : public QRRequestRelt
{
    Q_OBJECT
public:
    struct BKey
    {
        QString m_author;
        QString m_publisher;
        short m_score = 0;
        QString m_paper_link;
    };

    struct ChapterItem
    {
        QString m_capt;
        QString m_id;
        QString m_title;
    };

    struct CommentItem
    {
        QString m_date;
        QString m_user;
        QString m_uid;
        QString m_text;
    };

    explicit VRRBookInfo(QObject *parent = nullptr);
    ~VRRBookInfo() override;

    bool iskindof(int kind) const override;
    void addChapter(ChapterItem &item);
    void addCommentItem(const CommentItem &item);

    QString m_Ret_ActionFlag;
    QString m_Title_BookName;
    bool m_Comment_Flag = false;
    QString m_FileType;
    QString m_id;
    QString m_comment_flag;
    QString m_title;
    BKey m_keys;
    ChapterItem *m_Item = nullptr; // never filled
    QString m_display_lines;
    QString m_description;
    short m_total = 0;
    QList<ChapterItem> m_caplist;
    QList<CommentItem> m_commentList;
};

#endif // VRRBOOKINFO_H
