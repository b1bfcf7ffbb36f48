#pragma once

#include "cli/serve/ScpiConnection.h"

#include "core/scpi/ScpiExecutor.h"

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace kavlon::cli {

struct ServerLimits {
    ConnectionLimits connection;
    std::size_t maxClients = 32;
};

// The remote-control server: any number of clients on TCP, their program messages run
// one at a time in the order they arrived, on this thread, against one instrument. A
// message that waits for the instrument holds the queue, not the thread: the others'
// lines keep arriving and wait their turn. A client that goes, or is dropped for
// leaving its responses unread, takes only its own lines and responses with it.
class ScpiServer : public QObject {
public:
    // The instrument's answers to actions that did not end at once must be handed to
    // answered().
    explicit ScpiServer(scpi::ScpiInstrument& instrument, ServerLimits limits = {});
    ~ScpiServer() override;

    // Listens; the reason when it cannot.
    std::optional<QString> listen(const QHostAddress& address, quint16 port);
    quint16 port() const { return m_listener.serverPort(); }
    // Stops listening and ends every connection.
    void close();

    void answered(const scpi::ActionResult& result);

    std::size_t clientCount() const { return m_connections.size(); }
    // A message is running (or waiting for the instrument).
    bool busy() const { return m_running.has_value(); }
    // Clients dropped for leaving too much unread.
    int droppedClients() const { return m_dropped; }

private:
    struct Queued {
        std::uint64_t client;
        scpi::LineFramer::Line line;
    };

    void accept();
    void readFrom(std::uint64_t id);
    // The lines the client's connection has ready, behind every other message.
    void queueLines(std::uint64_t id, ScpiConnection& connection);
    void remove(std::uint64_t id);
    void pump();
    scpi::ScpiExecutor::Progress start(const Queued& queued);
    void messageDone();
    ScpiConnection* find(std::uint64_t id);

    scpi::ScpiExecutor m_executor;
    ServerLimits m_limits;
    QTcpServer m_listener;
    std::map<std::uint64_t, std::unique_ptr<ScpiConnection>> m_connections;
    std::uint64_t m_nextId = 1;
    std::deque<Queued> m_queue;
    // The client whose message runs, and its context, kept while the message runs.
    std::optional<std::uint64_t> m_running;
    std::shared_ptr<scpi::ClientContext> m_runningContext;
    bool m_pumping = false;
    std::size_t m_sent = 0; // response bytes, all told
    int m_dropped = 0;
};

} // namespace kavlon::cli
