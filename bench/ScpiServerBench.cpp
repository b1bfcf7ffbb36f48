// The remote-control server as a client on loopback sees it, against
// `kavloncli serve --simulate`:
//   *IDN? round trip: median and 99th percentile of 10,000 (target: median under 200 us);
//   :WAVeform:DATA? of the four channels of a full 16,300-sample shot: the time on top of
//   the shot and the rate (target: under 5 ms for the four);
//   lxi-tools' own benchmark of *IDN? requests per second.
// Prints figures; asserts nothing.
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double microseconds(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

// A blocking loopback client, so that nothing but the server is measured.
class Client {
public:
    explicit Client(int port) : m_fd(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(std::uint16_t(port));
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int one = 1;
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        m_ok = ::connect(m_fd, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0;
    }
    ~Client() { ::close(m_fd); }
    bool ok() const { return m_ok; }

    void send(const std::string& line) {
        const std::string bytes = line + "\n";
        for (std::size_t sent = 0; sent < bytes.size();) {
            const ssize_t n = ::write(m_fd, bytes.data() + sent, bytes.size() - sent);
            if (n <= 0)
                return;
            sent += std::size_t(n);
        }
    }
    std::string line() {
        std::string out;
        while (fill()) {
            const char c = m_buffer[m_at++];
            if (c == '\n')
                break;
            out += c;
        }
        return out;
    }
    std::string bytes(std::size_t n) {
        std::string out;
        while (out.size() < n && fill()) {
            const std::size_t take = std::min(n - out.size(), m_buffer.size() - m_at);
            out.append(m_buffer, m_at, take);
            m_at += take;
        }
        return out;
    }
    std::string query(const std::string& q) {
        send(q);
        return line();
    }
    // A definite-length block and its newline.
    std::string block(const std::string& q) {
        send(q);
        const std::string head = bytes(2);
        const std::string length = bytes(std::size_t(head.size() == 2 ? head[1] - '0' : 0));
        std::string data = bytes(std::size_t(std::stoul(length.empty() ? "0" : length)));
        bytes(1);
        return data;
    }

private:
    bool fill() {
        if (m_at < m_buffer.size())
            return true;
        char piece[65536];
        const ssize_t n = ::read(m_fd, piece, sizeof piece);
        if (n <= 0)
            return false;
        m_buffer.assign(piece, std::size_t(n));
        m_at = 0;
        return true;
    }

    int m_fd;
    bool m_ok = false;
    std::string m_buffer;
    std::size_t m_at = 0;
};

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(p * double(values.size())))];
}

void roundTrips(Client& client) {
    for (int i = 0; i < 500; ++i)
        client.query("*IDN?");
    std::vector<double> times;
    for (int i = 0; i < 10000; ++i) {
        const auto start = Clock::now();
        client.query("*IDN?");
        times.push_back(microseconds(Clock::now() - start));
    }
    std::printf("*IDN? round trip: median %.1f us, 99th percentile %.1f us (target: median under 200 us)\n",
                percentile(times, 0.5), percentile(times, 0.99));
}

void waveforms(Client& client) {
    // 200 ns per division keeps the instrument's whole memory: 16,300 samples a channel.
    client.query(":TIMebase:SCALe 200E-9;*OPC?");
    std::vector<double> shots, reads;
    std::size_t bytes = 0;
    for (int i = 0; i < 5; ++i) {
        const auto start = Clock::now();
        client.query(":DIGitize;*OPC?");
        const auto shot = Clock::now();
        bytes = 0;
        for (int c = 1; c <= 4; ++c)
            bytes += client.block(":WAVeform:SOURce CHANnel" + std::to_string(c) + ";:WAVeform:DATA?").size();
        shots.push_back(microseconds(shot - start) / 1000);
        reads.push_back(microseconds(Clock::now() - shot) / 1000);
    }
    const double read = percentile(reads, 0.5);
    std::printf("full shot (%zu bytes, 4 channels): :DIGitize %.1f ms, the four :WAVeform:DATA? %.2f ms more "
                "(%.1f MB/s; target: under 5 ms)\n",
                bytes, percentile(shots, 0.5), read, double(bytes) / 1e6 / (read / 1000));
}

void lxiBenchmark(const QString& port) {
    QProcess lxi;
    lxi.start(KAVLON_LXI, {"benchmark", "--raw", "-a", "127.0.0.1", "-p", port, "-c", "10000"});
    if (!lxi.waitForFinished(300000)) {
        std::puts("lxi benchmark: did not run (is lxi-tools installed?)");
        return;
    }
    const auto match = QRegularExpression("Result: ([0-9.]+) requests/second")
                           .match(QString::fromUtf8(lxi.readAllStandardOutput()));
    std::printf("lxi benchmark --raw: %s requests/second\n",
                match.hasMatch() ? match.captured(1).toUtf8().constData() : "(no result)");
}

} // namespace

int main() {
    QProcess server;
    server.start(KAVLONCLI, {"serve", "--simulate", "--listen", "127.0.0.1:0"});
    while (!server.canReadLine() && server.state() != QProcess::NotRunning)
        server.waitForReadyRead(100);
    const QString port =
        QRegularExpression(":(\\d+)$").match(QString::fromUtf8(server.readLine()).trimmed()).captured(1);
    {
        Client client(port.toInt());
        if (port.isEmpty() || !client.ok()) {
            std::puts("the server did not start");
            return 1;
        }
        roundTrips(client);
        waveforms(client);
        lxiBenchmark(port);
    }
    ::kill(pid_t(server.processId()), SIGTERM);
    server.waitForFinished();
    return 0;
}
