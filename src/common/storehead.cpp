#include "storehead.h"

QString StoreHead::url() const
{
    QString hostPort = qEnvironmentVariable("ZARVOREADER_STORE");
    if (hostPort.isEmpty())
        hostPort = QStringLiteral("127.0.0.1:8080");
    return QStringLiteral("http://") + hostPort + QStringLiteral("/vorelreader/");
}
