#ifndef VBPVIEWER_H
#define VBPVIEWER_H

#include <QStringList>

// "vbp info" and "vbp cat": open a package with the program's own reader and
// show what it sees. Both return the reader's first non-zero code (0 on
// success) as the exit code.
class VbpViewer
{
public:
    static int info(const QStringList &arguments);
    static int cat(const QStringList &arguments);
};

#endif // VBPVIEWER_H
