#include "vrbchaptersrelt.h"

VRBChaptersRelt::VRBChaptersRelt(QObject *parent) : QRRequestRelt(parent) {}

VRBChaptersRelt::~VRBChaptersRelt() = default;

bool VRBChaptersRelt::iskindof(int kind) const
{
    return kind == 4 || QRRequestRelt::iskindof(kind);
}

VRBChaptersRelt::VBTextItem *VRBChaptersRelt::getItem(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return m_contentList[static_cast<size_t>(index)].get();
}

VRBChaptersRelt::VBTextItem *VRBChaptersRelt::getLastItem() const
{
    return m_contentList.empty() ? nullptr : m_contentList.back().get();
}

void VRBChaptersRelt::addContentList(std::unique_ptr<VBTextItem> item)
{
    if (item)
        m_contentList.push_back(std::move(item));
}
