#ifndef VRBCHAPTERSRELT_H
#define VRBCHAPTERSRELT_H

#include "qrrequestrelt.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <memory>
#include <vector>

// The text pieces of one chapter, in the order of its chapter description.
class VRBChaptersRelt : public QRRequestRelt
{
    Q_OBJECT
public:
    enum ItemKind
    {
        VB_NONE = 0,
        VB_TEXT = 1,
        VB_IMAGE = 2
    };

    class VBCItem
    {
    public:
        virtual ~VBCItem() = default;
        virtual bool iskindof(int kind) const { return kind == VB_NONE; }

        int m_pageindex = 0;
        QString m_align;
        QString m_filename;
        int m_off = 0;
        int m_len = 0;
    };

    class VBTextItem : public VBCItem
    {
    public:
        bool iskindof(int kind) const override
        {
            return kind == VB_TEXT || VBCItem::iskindof(kind);
        }
        void release() { m_text = QByteArray(); }

        // The piece's m_len bytes; data() is followed by a zero byte. It may
        // point into the relation's m_textData, so it is valid while the
        // relation lives.
        QByteArray m_text;
    };

    class VBImgItem : public VBCItem
    {
    public:
        bool iskindof(int kind) const override
        {
            return kind == VB_IMAGE || VBCItem::iskindof(kind);
        }

        QImage m_img;
        QImage m_imgMak;
        QString m_Urlpath;
        int m_ImageHeight = 0;
    };

    explicit VRBChaptersRelt(QObject *parent = nullptr);
    ~VRBChaptersRelt() override;

    bool iskindof(int kind) const override;

    int count() const { return static_cast<int>(m_contentList.size()); }
    // Null outside the list.
    VBTextItem *getItem(int index) const;
    VBTextItem *getLastItem() const;
    void addContentList(std::unique_ptr<VBTextItem> item);
    void clearContentList() { m_contentList.clear(); }

    std::vector<std::unique_ptr<VBTextItem>> m_contentList;
    // The texts of pieces that follow one another in "content.txt", each
    // followed by a zero byte, read in one go; set once when the relation is
    // built and never changed, as the pieces' texts point into it.
    QByteArray m_textData;
    QString m_id;
    int m_type = 0;
};

#endif // VRBCHAPTERSRELT_H
