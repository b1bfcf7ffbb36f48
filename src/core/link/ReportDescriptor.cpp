#include "core/link/ReportDescriptor.h"

#include <algorithm>
#include <array>
#include <vector>

namespace kavlon {

namespace {

enum ItemType { Main = 0, Global = 1, Local = 2 };
enum MainTag { Input = 8, Output = 9, Feature = 11 };
enum GlobalTag { ReportSize = 7, ReportId = 8, ReportCount = 9, Push = 10, Pop = 11 };

constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::size_t kMaxPushDepth = 16;
constexpr std::uint64_t kMaxReportBits = std::uint64_t(kMaxReportBytes) * 8;

struct GlobalState {
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint32_t reportId = 0;
};

// Bits declared so far per report kind (input, output, feature) and report ID.
using BitTotals = std::array<std::array<std::uint64_t, 256>, 3>;

int lengthOf(const std::array<std::uint64_t, 256>& bits) {
    const std::uint64_t longest = *std::max_element(bits.begin(), bits.end());
    return longest == 0 ? 0 : int((longest + 7) / 8) + 1;
}

} // namespace

std::optional<ReportLengths> parseReportDescriptor(std::span<const std::uint8_t> d) {
    GlobalState global;
    std::vector<GlobalState> stack;
    BitTotals bits{};
    bool numbered = false;

    std::size_t pos = 0;
    while (pos < d.size()) {
        const std::uint8_t prefix = d[pos];
        if (prefix == kLongItemPrefix) {
            // Long items carry vendor data only; skip them whole.
            if (d.size() - pos < 3)
                return std::nullopt;
            const std::size_t dataSize = d[pos + 1];
            if (d.size() - pos - 3 < dataSize)
                return std::nullopt;
            pos += 3 + dataSize;
            continue;
        }
        const std::size_t dataSize = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (d.size() - pos - 1 < dataSize)
            return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < dataSize; ++i)
            value |= std::uint32_t(d[pos + 1 + i]) << (8 * i);
        pos += 1 + dataSize;

        const int type = (prefix >> 2) & 3;
        const int tag = prefix >> 4;
        if (type == Main && (tag == Input || tag == Output || tag == Feature)) {
            const int kind = tag == Input ? 0 : tag == Output ? 1 : 2;
            const std::uint64_t added = std::uint64_t(global.reportSize) * global.reportCount;
            std::uint64_t& total = bits[std::size_t(kind)][global.reportId];
            if (added > kMaxReportBits || total + added > kMaxReportBits)
                return std::nullopt;
            total += added;
        } else if (type == Global) {
            switch (tag) {
            case ReportSize:
                global.reportSize = value;
                break;
            case ReportCount:
                global.reportCount = value;
                break;
            case ReportId:
                if (value == 0 || value > 255)
                    return std::nullopt;
                global.reportId = value;
                numbered = true;
                break;
            case Push:
                if (stack.size() == kMaxPushDepth)
                    return std::nullopt;
                stack.push_back(global);
                break;
            case Pop:
                if (stack.empty())
                    return std::nullopt;
                global = stack.back();
                stack.pop_back();
                break;
            default:
                break;
            }
        }
        // Local items, collections and the remaining global items do not change lengths.
    }

    ReportLengths lengths;
    lengths.input = lengthOf(bits[0]);
    lengths.output = lengthOf(bits[1]);
    lengths.feature = lengthOf(bits[2]);
    lengths.numbered = numbered;
    return lengths;
}

} // namespace kavlon
