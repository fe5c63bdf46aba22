#include "downloadbookdetail.h"

DownloadBookDetail::DownloadBookDetail(const QString &bookImage, const QString &bookName,
                                       const QString &cid, const QString &link,
                                       quint32 downloadedSize, quint32 totalSize, quint32 state)
    : BookImage(bookImage), BookName(bookName), CID(cid), Link(link),
      BookdownloadedSize(downloadedSize), BooktotalSize(totalSize), State(state)
{}
