#include "randomid.h"

#include <QRandomGenerator>

QString RandomId::make()
{
    static const char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    constexpr int Kinds = sizeof(Alphabet) - 1;
    QString id;
    id.reserve(Length);
    // bounded() draws without bias, so every character carries log2(62) bits.
    for (int i = 0; i < Length; ++i)
        id.append(QLatin1Char(Alphabet[QRandomGenerator::system()->bounded(Kinds)]));
    return id;
}
