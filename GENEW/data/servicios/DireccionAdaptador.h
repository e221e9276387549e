#pragma once
#include <QList>
#include <QString>

// The network adapter's hardware address, which makes the long names of temporary tables
// unique per machine: the first interface that is not the loopback and has an address,
// as six two-digit upper-case hexadecimal bytes joined by "-" ("00-00-00-00-00-00" when
// none); with "SinSeparadores" the twelve digits alone ("000000000000" when none).
QString ObtenerDireccionMAC(const QString &opciones);

// The same choice over a given list of interfaces, in the system's order.
struct InterfazRed
{
    bool bucleLocal = false;
    QString direccionHardware;   // as the system gives it ("aa:bb:cc:dd:ee:ff"), may be empty
};
QString DireccionMACDeInterfaces(const QList<InterfazRed> &interfaces, const QString &opciones);
