#include "loadfile.h"

LoadFile::LoadFile(QObject *parent) : QIODevice(parent) {}

int LoadFile::openFile()
{
    return 1;
}

int LoadFile::isExistFile()
{
    return 1;
}

int LoadFile::getFileSize()
{
    return 1;
}

void LoadFile::setFileUrl(const QString &) {}

void LoadFile::setFile(const QString &) {}

qint64 LoadFile::readData(char *, qint64)
{
    return -1;
}

qint64 LoadFile::writeData(const char *, qint64)
{
    return -1;
}
