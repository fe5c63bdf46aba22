#ifndef RANDOMID_H
#define RANDOMID_H

#include <QString>

// The store's user ids, order ids and download tickets: drawn from the
// system's random source, so one id tells nothing about any other, and
// written in letters and digits only, so a link carries them unescaped.
class RandomId
{
public:
    // 24 characters of 62 kinds: about 142 bits.
    static constexpr int Length = 24;

    static QString make();
};

#endif // RANDOMID_H
