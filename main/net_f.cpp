#include "net_f.h"

#include <QNetworkInterface>
#include <QStringList>

QString GetMACAdress() {
    QStringList addresses;
    for (const QNetworkInterface& adapter : QNetworkInterface::allInterfaces()) {
        if (adapter.flags().testFlag(QNetworkInterface::IsLoopBack)) continue;
        const QString address = adapter.hardwareAddress();  // "00:1A:2B:3C:4D:5E"
        // adapters without a six-byte hardware address (tunnels, ...) have nothing to report
        if (address.count(u':') != 5) continue;
        addresses << address.toUpper().replace(u':', u'-');
    }
    return addresses.join(QStringLiteral(", "));
}
