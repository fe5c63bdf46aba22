#ifndef MDLEOBSERVER_H
#define MDLEOBSERVER_H

#include <QList>

class DLFileInfo;

// Told the whole task list after every change the scheduler makes. The
// observer may take completed tasks out of the list (and delete them).
class MDLEObserver
{
public:
    virtual ~MDLEObserver() = default;
    virtual void responseDLData(QList<DLFileInfo *> &list) = 0;
};

#endif // MDLEOBSERVER_H
