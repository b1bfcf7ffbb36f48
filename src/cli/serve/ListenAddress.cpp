#include "cli/serve/ListenAddress.h"

namespace kavlon::cli {

std::optional<ListenAddress> parseListenAddress(const QString& text) {
    const qsizetype colon = text.lastIndexOf(':');
    if (colon <= 0)
        return std::nullopt;
    QString host = text.left(colon);
    const QString port = text.mid(colon + 1);
    const bool bracketed = host.startsWith('[') && host.endsWith(']');
    if (bracketed)
        host = host.mid(1, host.size() - 2);
    // An IPv6 address without brackets would leave its port in doubt.
    if (host.contains(':') != bracketed)
        return std::nullopt;
    bool ok = false;
    const uint number = port.toUInt(&ok);
    ListenAddress listen;
    if (!ok || number > 65535 || port.startsWith('+') || !listen.address.setAddress(host))
        return std::nullopt;
    listen.port = quint16(number);
    return listen;
}

} // namespace kavlon::cli
