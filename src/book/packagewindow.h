#ifndef PACKAGEWINDOW_H
#define PACKAGEWINDOW_H

#include <QByteArray>
#include <QtGlobal>

class QFileStream;

// The first bytes of a package, or of a nested one, taken with one
// positioned read. The header, the directory and the small records the
// packer writes right after them are then taken from memory instead of with
// a system call each. Every range is checked in 64-bit arithmetic before a
// byte of it is touched; the buffer is kept from one package to the next.
class PackageWindow
{
public:
    // Reads the bytes [base, min(base + size, end)); false when the file
    // gives fewer (it shrank since its length was taken).
    bool load(QFileStream &stream, qint64 base, qint64 end, qint64 size);
    // The bytes [pos, pos + length) of the file when the window holds them
    // all, else null.
    char *find(qint64 pos, qint64 length);
    // Copies [pos, pos + length) into out behind reserve bytes left for the
    // caller, with a zero byte after them: from the window when it holds
    // them, else with one positioned read. Answers a result code.
    int read(QFileStream &stream, qint64 pos, qint64 length, QByteArray &out, qint64 reserve = 0);
    // The same, always from the file.
    static int readAt(QFileStream &stream, qint64 pos, qint64 length, QByteArray &out,
                      qint64 reserve = 0);

private:
    QByteArray m_bytes;
    qint64 m_base = 0;
};

#endif // PACKAGEWINDOW_H
