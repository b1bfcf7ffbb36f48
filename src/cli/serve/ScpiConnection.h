#pragma once

#include "core/scpi/LineFramer.h"
#include "core/scpi/ScpiCommands.h"

#include <QTcpSocket>

#include <cstdint>
#include <memory>
#include <vector>

namespace kavlon::cli {

// What one client may hold of the server: a line, the lines waiting to run, the
// responses it has not read.
struct ConnectionLimits {
    std::size_t maxLine = scpi::LineFramer::kMaxLine;
    std::size_t maxWaitingLines = 256;
    std::int64_t maxUnreadBytes = 16 * 1024 * 1024;
};

// One client's socket, read only as far as its lines have room in the server's queue,
// so a client that sends faster than its commands run is held back by TCP itself and
// the others keep their turns.
class ScpiConnection {
public:
    ScpiConnection(std::uint64_t id, QTcpSocket* socket, const ConnectionLimits& limits);
    ~ScpiConnection();

    std::uint64_t id() const { return m_id; }
    QTcpSocket& socket() { return *m_socket; }
    // Its context lives on while a message of it still runs after it has gone.
    const std::shared_ptr<scpi::ClientContext>& context() const { return m_context; }

    // The lines the socket's bytes complete, as many as there is room for.
    std::vector<scpi::LineFramer::Line> takeLines();
    // One of its lines has run.
    void lineDone() { --m_waiting; }
    // Sends a response; false when the client has left too much unread and must go.
    bool send(const std::string& response);

private:
    std::uint64_t m_id;
    QTcpSocket* m_socket;
    ConnectionLimits m_limits;
    scpi::LineFramer m_framer;
    std::shared_ptr<scpi::ClientContext> m_context = std::make_shared<scpi::ClientContext>();
    std::size_t m_waiting = 0;
};

} // namespace kavlon::cli
