#ifndef STOREHEAD_H
#define STOREHEAD_H

#include <QString>

// The store's base URL "http://HOST:PORT/vorelreader/". HOST:PORT comes from
// $ZARVOREADER_STORE, read when a request is formed, and defaults to the
// bundled store server on 127.0.0.1:8080.
class StoreHead
{
public:
    QString url() const;
    operator QString() const { return url(); }
};

inline QString operator+(const StoreHead &h, const QString &s)
{
    return h.url() + s;
}
inline QString operator+(const StoreHead &h, const char *s)
{
    return h.url() + QLatin1String(s);
}

#endif // STOREHEAD_H
