#include "device/hid/HidapiBackend.h"

#include "device/hid/HidapiDevice.h"

#ifdef __linux__
#include "device/hid/UdevMonitor.h"
#else
namespace kavlon {
class UdevMonitor {};
} // namespace kavlon
#endif

#include <hidapi.h>

namespace kavlon {

namespace {

// hidapi hands out wide strings: UTF-32 on Linux and macOS, UTF-16 on Windows.
std::string toUtf8(const wchar_t* text) {
    std::string out;
    if (!text)
        return out;
    for (const wchar_t* p = text; *p; ++p) {
        char32_t c = char32_t(*p);
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0xD800 && c <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(p[1]) - 0xDC00);
                ++p;
            }
        }
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = U'?';
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace

HidapiBackend::HidapiBackend() {
    hid_init();
}

HidapiBackend::~HidapiBackend() {
    m_monitor.reset();
    hid_exit();
}

std::vector<HidDeviceInfo> HidapiBackend::enumerate() {
    std::vector<HidDeviceInfo> devices;
    hid_device_info* list = hid_enumerate(0, 0);
    for (const hid_device_info* d = list; d; d = d->next) {
        devices.push_back({d->path ? d->path : "", toUtf8(d->manufacturer_string), toUtf8(d->product_string),
                           toUtf8(d->serial_number)});
    }
    hid_free_enumeration(list);
    return devices;
}

std::unique_ptr<TJvHidDevice> HidapiBackend::makeDevice(const HidDeviceInfo& info) {
    return std::make_unique<HidapiDevice>(info);
}

void HidapiBackend::watch(std::function<void()> changed) {
#ifdef __linux__
    m_monitor.reset();
    if (changed)
        m_monitor = std::make_unique<UdevMonitor>(std::move(changed));
#else
    (void)changed;
#endif
}

bool HidapiBackend::watching() const {
#ifdef __linux__
    return m_monitor && m_monitor->active();
#else
    return false;
#endif
}

} // namespace kavlon
