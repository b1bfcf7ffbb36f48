#pragma once

#include <QHostAddress>
#include <QString>

#include <optional>

namespace kavlon::cli {

struct ListenAddress {
    QHostAddress address;
    quint16 port = 0;
};

// "127.0.0.1:5025", "0.0.0.0:5025", "[::1]:5025"; port 0 lets the system choose. Nothing
// for anything else: the address is always spelled out as numbers.
std::optional<ListenAddress> parseListenAddress(const QString& text);

} // namespace kavlon::cli
