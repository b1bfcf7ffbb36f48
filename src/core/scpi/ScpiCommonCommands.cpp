// The IEEE 488.2 common commands and the SYSTem subsystem.
#include "core/scpi/ScpiCommands.h"

#include "core/scpi/ScpiValues.h"

#include <cmath>

namespace kavlon::scpi {

namespace {

// An *IDN? field: the device's strings come from USB, so nothing in them may split the
// response or the field.
std::string idnField(std::string_view text) {
    std::string out;
    for (char c : text.substr(0, 64)) {
        const auto u = static_cast<unsigned char>(c);
        const bool plain = u >= 0x20 && u <= 0x7E && c != ',' && c != ';' && c != '"' && c != '\'';
        if (plain && !(c == ' ' && (out.empty() || out.back() == ' ')))
            out += c;
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out.empty() ? "0" : out;
}

Reply identity(Call& call) {
    const InstrumentIdentity id = call.instrument.identity();
    return Reply::answer(idnField(id.maker) + "," + idnField(id.model) + "," + idnField(id.serial) + "," +
                         idnField(id.version));
}

// *ESE and *SRE: a register mask from 0 to 255.
Reply setMask(Call& call, void (ScpiStatus::*set)(std::uint8_t)) {
    if (auto bad = expectParameters(call, 1, 1))
        return *bad;
    const Parameter& p = call.unit.parameters[0];
    if (p.kind != Parameter::Kind::Numeric || !p.suffix.empty())
        return Reply::fail(Error::DataType, call.unit.written);
    const double rounded = std::round(p.number);
    if (rounded < 0 || rounded > 255)
        return Reply::fail(Error::DataOutOfRange, p.text + " is not a mask from 0 to 255");
    (call.client.status.*set)(std::uint8_t(rounded));
    return Reply::none();
}

Reply number(int value) {
    return Reply::answer(std::to_string(value));
}

} // namespace

void addCommonCommands(std::vector<Command>& tree) {
    const auto add = std::bind_front(addCommand, std::ref(tree));
    add("*IDN", true, plain(identity));
    add("*RST", false, plain([](Call&) { return Reply::act({InstrumentAction::Kind::AutoScale}); }));
    add("*CLS", false, plain([](Call& c) {
            c.client.status.clear();
            return Reply::none();
        }));
    // Commands run one at a time to their end, so whatever came before is complete.
    add("*OPC", true, plain([](Call&) { return Reply::answer("1"); }));
    add("*OPC", false, plain([](Call& c) {
            c.client.status.setEvents(esr::OperationComplete);
            return Reply::none();
        }));
    add("*WAI", false, plain([](Call&) { return Reply::none(); }));
    add("*ESR", true, plain([](Call& c) { return number(c.client.status.takeEvents()); }));
    add("*ESE", true, plain([](Call& c) { return number(c.client.status.eventEnable()); }));
    add("*ESE", false, [](Call& c) { return setMask(c, &ScpiStatus::setEventEnable); });
    add("*SRE", true, plain([](Call& c) { return number(c.client.status.serviceEnable()); }));
    add("*SRE", false, [](Call& c) { return setMask(c, &ScpiStatus::setServiceEnable); });
    add("*STB", true, plain([](Call& c) { return number(c.client.status.statusByte(c.responded)); }));
    add("*TST", true, plain([](Call& c) { return Reply::answer(c.instrument.healthy() ? "0" : "1"); }));
    add("SYSTem:ERRor[:NEXT]", true,
        plain([](Call& c) { return Reply::answer(c.client.status.takeNext()); }));
    add("SYSTem:VERSion", true, plain([](Call&) { return Reply::answer("1999.0"); }));
}

} // namespace kavlon::scpi
