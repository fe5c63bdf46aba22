#ifndef PACKCOMMAND_H
#define PACKCOMMAND_H

#include <QStringList>

// "vbp pack": reads a JSON book or a folder of text files and writes the
// book package. Returns the process exit code.
class PackCommand
{
public:
    static int run(const QStringList &arguments);
};

#endif // PACKCOMMAND_H
