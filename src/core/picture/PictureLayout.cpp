#include "core/picture/PictureLayout.h"

#include <array>

namespace kavlon {

namespace {

// Columns of the four texts of a header or footer row.
constexpr std::array<int, 4> kColumns = {30, 170, 310, 450};
constexpr int kHeaderRow = 0;
constexpr int kTriggerRow = 15;
// The screen paint box's height plus 7 and plus 21.
constexpr int kVoltsRow = 417;
constexpr int kZeroRow = 431;

} // namespace

std::string pictureHeader(std::string_view dateTime, std::string_view caption) {
    std::string header = "Quorvel - Kavlon Series  -  ";
    header.append(dateTime);
    header += " - ";
    header.append(caption);
    return header;
}

std::vector<PictureText> pictureTexts(const ShotSettings& shot, std::string_view caption,
                                      std::string_view dateTime) {
    constexpr int headerBand = kTriggerRow - kHeaderRow;
    constexpr int triggerBand = kPictureScreenTop - kTriggerRow;
    constexpr int voltsBand = kZeroRow - kVoltsRow;
    constexpr int zeroBand = kPictureHeight - kZeroRow;
    std::vector<PictureText> texts = {
        {kColumns[0], kHeaderRow, headerBand, pictureHeader(dateTime, caption)},
        {kColumns[0], kTriggerRow, triggerBand, shot.TimebaseText},
        {kColumns[1], kTriggerRow, triggerBand, shot.TriggerText},
        {kColumns[2], kTriggerRow, triggerBand, shot.TriggerLevelText},
    };
    for (std::size_t c = 0; c < kChannels; ++c)
        texts.push_back({kColumns[c], kVoltsRow, voltsBand,
                         "Volt CH " + std::to_string(c + 1) + " : " + shot.VoltsPerDivText[c]});
    for (std::size_t c = 0; c < kChannels; ++c)
        texts.push_back({kColumns[c], kZeroRow, zeroBand, shot.ZeroText[c]});
    return texts;
}

long long roundHalfEven(long long numerator, long long denominator) {
    long long quotient = numerator / denominator;
    const long long remainder = numerator % denominator;
    const long long twice = 2 * remainder;
    if (twice > denominator || (twice == denominator && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

PageRect printTarget(int pageWidth, int pageHeight) {
    // Exact in integers: a page of 2550 rows has its margin at 127.5, which a
    // binary fraction would not promise to round the same way everywhere.
    const int marginX = int(roundHalfEven(pageWidth, 20));
    const int marginY = int(roundHalfEven(pageHeight, 20));
    return {marginX, marginY, pageWidth - marginX, pageHeight - marginY};
}

} // namespace kavlon
