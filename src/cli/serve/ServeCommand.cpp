// kavloncli serve: the instrument for SCPI clients on TCP (VISA libraries, lab scripts).
#include "cli/CommandLine.h"
#include "cli/serve/ListenAddress.h"
#include "cli/serve/ScpiServer.h"
#include "cli/serve/SessionInstrument.h"

#include "cli/EventWait.h"
#include "cli/Interruption.h"

#include "KavlonVersion.h"

#include <cstdio>

namespace kavlon::cli {

namespace {

constexpr const char* kDefaultListen = "127.0.0.1:5025";

QString shown(const ListenAddress& at, quint16 port) {
    const QString host = at.address.protocol() == QAbstractSocket::IPv6Protocol
                             ? "[" + at.address.toString() + "]"
                             : at.address.toString();
    return host + ":" + QString::number(port);
}

// Serves until a termination signal or until the instrument goes away.
Outcome serve(CommandSession& session, const ListenAddress& at) {
    SessionInstrument instrument(session, kVersion);
    ScpiServer server(instrument);
    instrument.onAnswered([&server](const scpi::ActionResult& result) { server.answered(result); });
    if (const auto why = server.listen(at.address, at.port))
        return Outcome::failure(ExitCode::Usage, "cannot listen on " + shown(at, at.port).toStdString() +
                                                     ": " + why->toStdString());
    if (!at.address.isLoopback())
        print(stderr, "kavloncli serve: warning: listening on " + shown(at, server.port()) +
                          ", not on loopback: anyone who can reach this port can operate the instrument\n");
    print(stdout, "listening on " + shown(at, server.port()) + "\n");

    // Serving until told to stop is the command's whole work: a signal ends it as done.
    while (!session.lost() && interruptingSignal() == 0)
        runEventsUntil([&session] { return session.lost(); }, std::chrono::hours(1));
    server.close();
    if (session.lost() && interruptingSignal() == 0)
        return Outcome::failure(ExitCode::LinkLost, "the instrument went away; the server has stopped");
    return Outcome::success();
}

} // namespace

int runServe(const QStringList& arguments, const BackendMaker& makeBackend) {
    CommandLine line("serve",
                     "Lets SCPI clients (VISA libraries, lab scripts) operate the instrument over TCP:\n"
                     "one command per line, one response line per query, any number of clients,\n"
                     "their commands run one at a time in the order they came.\n"
                     "Listens on 127.0.0.1:5025 unless told otherwise; any other address lets\n"
                     "everyone who can reach it operate the instrument. Port 0 takes a free one.\n"
                     "The address and port listened on are printed: \"listening on 127.0.0.1:5025\".\n"
                     "Ends on Ctrl+C or SIGTERM (exit code 0), or with exit code 3 when the\n"
                     "instrument goes away.");
    const QCommandLineOption listen("listen",
                                    "Listen on <address:port> (default " + QString(kDefaultListen) + ").",
                                    "address:port", kDefaultListen);
    line.parser().addOption(listen);
    if (auto done = line.parse(arguments))
        return *done;
    const QString wanted = line.parser().value(listen);
    const auto at = parseListenAddress(wanted);
    if (!at)
        return finish(Outcome::failure(ExitCode::Usage, "--listen " + wanted.toStdString() +
                                                            ": expected ADDRESS:PORT, e.g. 127.0.0.1:5025"));
    CommandSession session(makeBackend(line.simulate()), line.sessionOptions());
    Outcome outcome = session.connect();
    if (outcome.ok())
        outcome = serve(session, *at);
    return finish(outcome);
}

} // namespace kavlon::cli
