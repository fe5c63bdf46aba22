#ifndef USERLOGININFO_H
#define USERLOGININFO_H

#include <QObject>
#include <QString>

// The store's answer to a login: the user id and the server's data.
class UserLoginInfo : public QObject
{
    Q_OBJECT
public:
    explicit UserLoginInfo(QObject *parent = nullptr);

    QString ret;
    QString usrId;
    QString serPrefixUrl;
    QString msgs;
    QString aboutVer;
    QString aboutMsg;
};

#endif // USERLOGININFO_H
