#include "cli/SettingOptions.h"

namespace kavlon::cli {

namespace {

std::optional<std::string> single(const QCommandLineParser& p, const QCommandLineOption& o) {
    if (!p.isSet(o))
        return std::nullopt;
    return p.value(o).toStdString();
}

std::vector<std::string> all(const QCommandLineParser& p, const QCommandLineOption& o) {
    std::vector<std::string> values;
    for (const QString& v : p.values(o))
        values.push_back(v.toStdString());
    return values;
}

} // namespace

void SettingOptions::addTo(QCommandLineParser& parser) const {
    parser.addOptions({timebase, volts, channels, coupling, invert, run});
}

SettingTexts SettingOptions::texts(const QCommandLineParser& p) const {
    return {single(p, timebase), all(p, volts),  single(p, channels),
            all(p, coupling),    all(p, invert), single(p, run)};
}

} // namespace kavlon::cli
