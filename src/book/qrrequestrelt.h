#ifndef QRREQUESTRELT_H
#define QRREQUESTRELT_H

#include <QObject>

// Base of the results a request hands back; each kind answers iskindof().
class QRRequestRelt : public QObject
{
    Q_OBJECT
public:
    explicit QRRequestRelt(QObject *parent = nullptr);
    ~QRRequestRelt() override;

    virtual bool iskindof(int kind) const;
};

#endif // QRREQUESTRELT_H
