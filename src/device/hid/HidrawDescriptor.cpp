#include "device/hid/HidrawDescriptor.h"

#ifdef __linux__
#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <fstream>
#endif

namespace kavlon {

#ifdef __linux__

namespace {

// The kernel's bound on a descriptor (HID_MAX_DESCRIPTOR_SIZE).
constexpr std::size_t kMaxDescriptor = 4096;

std::optional<std::vector<std::uint8_t>> fromSysfs(const std::string& devicePath) {
    const auto slash = devicePath.find_last_of('/');
    const std::string node = devicePath.substr(slash == std::string::npos ? 0 : slash + 1);
    if (node.rfind("hidraw", 0) != 0 || node.find("..") != std::string::npos)
        return std::nullopt;
    std::ifstream file("/sys/class/hidraw/" + node + "/device/report_descriptor", std::ios::binary);
    if (!file)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    char c;
    while (bytes.size() <= kMaxDescriptor && file.get(c))
        bytes.push_back(std::uint8_t(c));
    if (bytes.empty() || bytes.size() > kMaxDescriptor)
        return std::nullopt;
    return bytes;
}

std::optional<std::vector<std::uint8_t>> fromNode(const std::string& devicePath) {
    const int fd = ::open(devicePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<std::vector<std::uint8_t>> result;
    int size = 0;
    if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) == 0 && size > 0 &&
        std::size_t(size) <= HID_MAX_DESCRIPTOR_SIZE) {
        hidraw_report_descriptor descriptor{};
        descriptor.size = std::uint32_t(size);
        if (::ioctl(fd, HIDIOCGRDESC, &descriptor) == 0)
            result.emplace(descriptor.value, descriptor.value + size);
    }
    ::close(fd);
    return result;
}

} // namespace

std::optional<std::vector<std::uint8_t>> readReportDescriptor(const std::string& devicePath) {
    if (auto bytes = fromSysfs(devicePath))
        return bytes;
    return fromNode(devicePath);
}

#else

std::optional<std::vector<std::uint8_t>> readReportDescriptor(const std::string&) {
    return std::nullopt;
}

#endif

} // namespace kavlon
