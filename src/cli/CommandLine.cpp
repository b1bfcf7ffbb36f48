#include "cli/CommandLine.h"

#include <cmath>
#include <cstdio>

namespace kavlon::cli {

namespace {

constexpr double kLongestWait = 24 * 3600;

} // namespace

void print(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

CommandLine::CommandLine(const QString& command, const QString& description)
    : m_command(command), m_simulate("simulate", "Use a simulated instrument instead of one on USB."),
      m_wait("wait", "Wait up to <seconds> for an instrument to be plugged in (default 0).", "seconds"),
      m_timeout(QStringList{"t", "timeout"},
                "Give up when an answer of the instrument takes longer than <seconds> (default 15).",
                "seconds"),
      m_device("device", "Use the instrument with this serial number, where several are plugged in.",
               "serial"),
      m_help(QStringList{"h", "help"}, "Show this help.") {
    m_parser.setApplicationDescription(description);
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOptions({m_simulate, m_wait, m_timeout, m_device, m_help});
}

QString CommandLine::helpText() const {
    // The parser names the program by its path; a subcommand's usage names both.
    QString text = m_parser.helpText();
    const qsizetype lineEnd = text.indexOf('\n');
    const qsizetype options = text.indexOf(" [options]");
    if (options >= 0 && options < lineEnd)
        text.replace(0, options, "Usage: kavloncli " + m_command);
    return text;
}

std::optional<int> CommandLine::usageError(const QString& message) const {
    print(stderr,
          "kavloncli " + m_command + ": " + message + "\n" + "Try 'kavloncli " + m_command + " --help'.\n");
    return int(ExitCode::Usage);
}

bool CommandLine::readSeconds(const QCommandLineOption& option, std::chrono::milliseconds& into,
                              bool zeroAllowed) {
    if (!m_parser.isSet(option))
        return true;
    bool ok = false;
    const double seconds = m_parser.value(option).toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds < 0 || seconds > kLongestWait)
        return false;
    into = std::chrono::milliseconds(std::llround(seconds * 1000));
    return zeroAllowed || into.count() > 0;
}

std::optional<int> CommandLine::parse(const QStringList& arguments, int maxPositional) {
    if (!m_parser.parse(arguments))
        return usageError(m_parser.errorText());
    if (m_parser.isSet(m_help)) {
        print(stdout, helpText());
        return int(ExitCode::Ok);
    }
    if (m_parser.positionalArguments().size() > maxPositional)
        return usageError("unexpected argument '" + m_parser.positionalArguments().value(maxPositional) +
                          "'");
    if (!readSeconds(m_wait, m_session.plugWait, true))
        return usageError("--wait needs a number of seconds");
    // No time at all for an answer would fail every command.
    if (!readSeconds(m_timeout, m_session.answerWait, false))
        return usageError("--timeout needs a number of seconds above 0, at least a millisecond");
    if (m_parser.isSet(m_device)) {
        m_session.serial = m_parser.value(m_device).trimmed().toStdString();
        if (m_session.serial.empty())
            return usageError("--device needs a serial number (kavloncli list shows them)");
    }
    return std::nullopt;
}

std::optional<int> intValue(const QString& text, int low, int high) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace kavlon::cli
