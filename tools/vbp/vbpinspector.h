#ifndef VBPINSPECTOR_H
#define VBPINSPECTOR_H

#include <QStringList>

// "vbp info" and "vbp cat": open a package with the program's own reader and
// show what it sees. Both return the reader's first non-zero code (0 on
// success) as the exit code.
class VbpInspector
{
public:
    static int info(const QStringList &arguments);
    static int cat(const QStringList &arguments);
};

#endif // VBPINSPECTOR_H
