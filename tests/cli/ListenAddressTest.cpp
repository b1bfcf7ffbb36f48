#include "cli/serve/ListenAddress.h"

#include <gtest/gtest.h>

namespace kavlon::cli {
namespace {

TEST(ListenAddress, OnlyNumericAddressesWithAPortAreTaken) {
    const std::tuple<const char*, const char*, int> taken[] = {
        {"127.0.0.1:5025", "127.0.0.1", 5025},
        {"0.0.0.0:0", "0.0.0.0", 0},
        {"[::1]:65535", "::1", 65535},
        {"[::]:5025", "::", 5025},
    };
    for (const auto& [text, address, port] : taken) {
        const auto at = parseListenAddress(text);
        ASSERT_TRUE(at) << text;
        EXPECT_EQ(at->address, QHostAddress(address)) << text;
        EXPECT_EQ(at->port, port) << text;
    }
    for (const char* refused :
         {"127.0.0.1", "127.0.0.1:", ":5025", "127.0.0.1:65536", "127.0.0.1:-1", "127.0.0.1:+5",
          "127.0.0.1:50x", "localhost:5025", "::1:5025", "[::1:5025", "300.1.1.1:5025", ""})
        EXPECT_FALSE(parseListenAddress(refused)) << refused;
}

} // namespace
} // namespace kavlon::cli
