#include "vrrbookinfo.h"

VRRBookInfo::VRRBookInfo(QObject *parent) : QRRequestRelt(parent) {}

VRRBookInfo::~VRRBookInfo() = default;

bool VRRBookInfo::iskindof(int kind) const
{
    return kind == 3 || QRRequestRelt::iskindof(kind);
}

void VRRBookInfo::addChapter(ChapterItem &item)
{
    m_caplist.append(item);
}

void VRRBookInfo::addCommentItem(const CommentItem &item)
{
    m_commentList.append(item);
}
