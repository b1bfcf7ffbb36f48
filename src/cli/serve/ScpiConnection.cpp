#include "cli/serve/ScpiConnection.h"

namespace kavlon::cli {

namespace {

constexpr qint64 kReadPiece = 4096;

} // namespace

ScpiConnection::ScpiConnection(std::uint64_t id, QTcpSocket* socket, const ConnectionLimits& limits)
    : m_id(id), m_socket(socket), m_limits(limits), m_framer(limits.maxLine) {
    // Qt stops taking bytes from the system once this much waits unread here.
    m_socket->setReadBufferSize(qint64(limits.maxLine));
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
}

ScpiConnection::~ScpiConnection() {
    m_socket->disconnect();
    m_socket->deleteLater();
}

std::vector<scpi::LineFramer::Line> ScpiConnection::takeLines() {
    std::vector<scpi::LineFramer::Line> lines;
    char piece[kReadPiece];
    while (m_waiting < m_limits.maxWaitingLines && m_socket->bytesAvailable() > 0) {
        const qint64 n = m_socket->read(piece, kReadPiece);
        if (n <= 0)
            break;
        for (scpi::LineFramer::Line& line : m_framer.feed(std::string_view(piece, std::size_t(n)))) {
            lines.push_back(std::move(line));
            ++m_waiting;
        }
    }
    return lines;
}

bool ScpiConnection::send(const std::string& response) {
    m_socket->write(response.data(), qint64(response.size()));
    // Handed to the system at once, as far as it takes them: what stays behind is what
    // the client has left unread, not what this thread has not got round to sending.
    m_socket->flush();
    return m_socket->bytesToWrite() <= m_limits.maxUnreadBytes;
}

} // namespace kavlon::cli
