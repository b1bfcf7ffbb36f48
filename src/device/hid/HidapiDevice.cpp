#include "device/hid/HidapiDevice.h"

#include "device/hid/HidrawDescriptor.h"

#include "core/link/ReportDescriptor.h"

#include <climits>
#include <filesystem>

namespace kavlon {

HidapiDevice::HidapiDevice(HidDeviceInfo info) : m_info(std::move(info)) {
    // hidapi has no call for report lengths; the descriptor states them.
    if (auto descriptor = readReportDescriptor(m_info.path)) {
        if (auto lengths = parseReportDescriptor(*descriptor)) {
            m_caps = {lengths->input, lengths->output};
            m_numbered = lengths->numbered;
        }
    }
}

HidapiDevice::~HidapiDevice() {
    close();
}

bool HidapiDevice::open() {
    close();
    m_writeHandle = hid_open_path(m_info.path.c_str());
    m_readHandle = hid_open_path(m_info.path.c_str());
    if (!m_writeHandle || !m_readHandle) {
        close();
        return false;
    }
    return true;
}

void HidapiDevice::close() {
    if (m_readHandle)
        hid_close(m_readHandle);
    if (m_writeHandle)
        hid_close(m_writeHandle);
    m_readHandle = m_writeHandle = nullptr;
}

bool HidapiDevice::WriteReport(std::span<const std::uint8_t> report) {
    // hidapi takes the report ID first for every device, 0 for unnumbered
    // reports, which is how the program builds its reports already.
    if (!m_writeHandle || report.empty())
        return false;
    return hid_write(m_writeHandle, report.data(), report.size()) == int(report.size());
}

bool HidapiDevice::present() const {
    // hidraw's path is the device node, which goes when the device does.
    // Other platforms' paths are no file; there the bound on failed reads decides.
    if (!m_info.path.starts_with("/dev/"))
        return true;
    std::error_code error;
    return std::filesystem::exists(m_info.path, error);
}

int HidapiDevice::ReadReport(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) {
    if (!m_readHandle || buffer.size() < 2)
        return -1;
    const int ms = int(std::min<long long>(timeout.count(), INT_MAX));
    if (m_numbered)
        return hid_read_timeout(m_readHandle, buffer.data(), buffer.size(), ms);
    // Unnumbered reports arrive without their ID byte; put the 0 back in front
    // so every report looks the same to the rest of the program.
    const int got = hid_read_timeout(m_readHandle, buffer.data() + 1, buffer.size() - 1, ms);
    if (got <= 0)
        return got;
    buffer[0] = 0;
    return got + 1;
}

} // namespace kavlon
