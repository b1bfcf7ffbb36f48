#pragma once

#include "cli/CommandSession.h"

#include "device/hid/HidBackend.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

namespace kavlon::cli {

// Makes the device layer a command runs on: the simulated instrument or real HID.
using BackendMaker = std::function<std::unique_ptr<HidBackend>(bool simulate)>;

// The options one subcommand takes, parsed by QCommandLineParser, with the ones
// every command shares (--simulate, --wait, -t/--timeout, --device, --help) already in place.
class CommandLine {
public:
    CommandLine(const QString& command, const QString& description);

    QCommandLineParser& parser() { return m_parser; }
    // The exit status when the command ends here: 0 after --help, 1 after a usage
    // error (written to stderr); nothing when it goes on. Positional arguments
    // beyond maxPositional are a usage error.
    std::optional<int> parse(const QStringList& arguments, int maxPositional = 0);

    bool simulate() const { return m_parser.isSet(m_simulate); }
    const SessionOptions& sessionOptions() const { return m_session; }
    QString helpText() const;

private:
    std::optional<int> usageError(const QString& message) const;
    bool readSeconds(const QCommandLineOption& option, std::chrono::milliseconds& into, bool zeroAllowed);

    QString m_command;
    QCommandLineParser m_parser;
    QCommandLineOption m_simulate;
    QCommandLineOption m_wait;
    QCommandLineOption m_timeout;
    QCommandLineOption m_device;
    QCommandLineOption m_help;
    SessionOptions m_session;
};

// Text in the terminal's encoding, passed on at once: a script reading a pipe sees
// each line as it is written.
void print(FILE* stream, const QString& text);

// A whole number option within [low, high], or nothing.
std::optional<int> intValue(const QString& text, int low, int high);

// The program: "kavloncli [--simulate] COMMAND [options]". Returns the exit status.
int runCli(const QStringList& arguments, const BackendMaker& makeBackend);

int runList(const QStringList& arguments, const BackendMaker& makeBackend);
int runSet(const QStringList& arguments, const BackendMaker& makeBackend);
int runCapture(const QStringList& arguments, const BackendMaker& makeBackend);
int runMeasure(const QStringList& arguments, const BackendMaker& makeBackend);
int runServe(const QStringList& arguments, const BackendMaker& makeBackend);

} // namespace kavlon::cli
