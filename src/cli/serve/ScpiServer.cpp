#include "cli/serve/ScpiServer.h"

#include <QTimer>

#include <utility>

namespace kavlon::cli {

namespace {

// Messages run, and response bytes sent, in one go before the clients' sockets get a
// look in: a client that reads is never judged by what one turn heaped up for it.
constexpr int kMessagesPerTurn = 64;
constexpr std::size_t kBytesPerTurn = 1024 * 1024;

} // namespace

ScpiServer::ScpiServer(scpi::ScpiInstrument& instrument, ServerLimits limits)
    : m_executor(instrument), m_limits(limits) {
    connect(&m_listener, &QTcpServer::newConnection, this, &ScpiServer::accept);
}

ScpiServer::~ScpiServer() {
    close();
}

std::optional<QString> ScpiServer::listen(const QHostAddress& address, quint16 port) {
    if (m_listener.listen(address, port))
        return std::nullopt;
    return m_listener.errorString();
}

void ScpiServer::close() {
    m_listener.close();
    m_queue.clear();
    // Taken out first: closing a socket may report its end at once.
    const auto connections = std::exchange(m_connections, {});
    for (const auto& [id, connection] : connections) {
        connection->socket().disconnect(this);
        connection->socket().disconnectFromHost();
    }
}

void ScpiServer::accept() {
    while (QTcpSocket* socket = m_listener.nextPendingConnection()) {
        if (m_connections.size() >= m_limits.maxClients) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        const std::uint64_t id = m_nextId++;
        m_connections[id] = std::make_unique<ScpiConnection>(id, socket, m_limits.connection);
        connect(socket, &QTcpSocket::readyRead, this, [this, id] { readFrom(id); });
        connect(socket, &QTcpSocket::disconnected, this, [this, id] { remove(id); });
        connect(socket, &QTcpSocket::errorOccurred, this, [this, id] { remove(id); });
        readFrom(id);
    }
}

ScpiConnection* ScpiServer::find(std::uint64_t id) {
    const auto it = m_connections.find(id);
    return it == m_connections.end() ? nullptr : it->second.get();
}

void ScpiServer::readFrom(std::uint64_t id) {
    ScpiConnection* connection = find(id);
    if (!connection)
        return;
    queueLines(id, *connection);
    pump();
}

void ScpiServer::queueLines(std::uint64_t id, ScpiConnection& connection) {
    for (scpi::LineFramer::Line& line : connection.takeLines())
        m_queue.push_back({id, std::move(line)});
}

void ScpiServer::remove(std::uint64_t id) {
    // Called from the socket's own signals: it is deleted later, not here.
    if (m_connections.erase(id) == 0)
        return;
    std::erase_if(m_queue, [id](const Queued& q) { return q.client == id; });
}

void ScpiServer::pump() {
    if (m_pumping)
        return;
    m_pumping = true;
    const std::size_t sentBefore = m_sent;
    for (int n = 0; !m_running && !m_queue.empty(); ++n) {
        if (n == kMessagesPerTurn || m_sent - sentBefore >= kBytesPerTurn) {
            QTimer::singleShot(0, this, &ScpiServer::pump);
            break;
        }
        const Queued queued = std::move(m_queue.front());
        m_queue.pop_front();
        if (find(queued.client) && start(queued) == scpi::ScpiExecutor::Progress::Done)
            messageDone();
    }
    m_pumping = false;
}

scpi::ScpiExecutor::Progress ScpiServer::start(const Queued& queued) {
    ScpiConnection* connection = find(queued.client);
    m_running = queued.client;
    m_runningContext = connection->context();
    return m_executor.execute(*m_runningContext, queued.line, m_limits.connection.maxLine);
}

void ScpiServer::answered(const scpi::ActionResult& result) {
    if (!m_running || m_executor.resume(result) == scpi::ScpiExecutor::Progress::Waiting)
        return;
    messageDone();
    pump();
}

void ScpiServer::messageDone() {
    const std::uint64_t id = *m_running;
    m_running.reset();
    m_runningContext.reset();
    ScpiConnection* connection = find(id);
    if (!connection)
        return;
    connection->lineDone();
    const std::string& response = m_executor.response();
    m_sent += response.size();
    if (!response.empty() && !connection->send(response)) {
        ++m_dropped;
        QTcpSocket& socket = connection->socket();
        remove(id);
        socket.abort();
        return;
    }
    queueLines(id, *connection);
}

} // namespace kavlon::cli
