#include "qrrequestrelt.h"

QRRequestRelt::QRRequestRelt(QObject *parent) : QObject(parent) {}

QRRequestRelt::~QRRequestRelt() = default;

bool QRRequestRelt::iskindof(int kind) const
{
    return kind == 0;
}
