// SPDX-License-Identifier: MIT
#include "tools/sim/sim_options.h"

#include <gtest/gtest.h>

#include "serial/port_devices.h"

using namespace kestrova::sim;

TEST(SimOptions, ServesTheEditorsNetworkPortUnlessToldAndRefusesMistakesWithAReason) {
    const ParsedOptions defaults = parseOptions(std::vector<const char*>{});
    ASSERT_TRUE(defaults.options);
    EXPECT_EQ(defaults.options->port, kestrova::kNetworkPort);
    EXPECT_FALSE(defaults.options->pty);
    const std::vector<std::pair<std::vector<const char*>, const char*>> cases{
        {{"--bogus"}, "unknown option \"--bogus\""},
        {{"--port"}, "--port needs a number"},
        {{"--port", "65536"}, "from 0 to 65535"},
        {{"--port", "12x"}, "not \"12x\""},
        {{"--port", "-1"}, "--port needs a number"},
        {{"--chunk", "0"}, "--chunk needs a number from 1"},
        {{"--drop-after", "0"}, "--drop-after needs a number from 1"},
        {{"--link", "/tmp/x"}, "--link needs --pty"},
        {{"--pty", "--port", "5000"}, "exclude each other"},
        {{"--pty", "--link"}, "--link needs a path"},
    };
    for (const auto& [args, says] : cases) {
        const ParsedOptions parsed = parseOptions(args);
        EXPECT_FALSE(parsed.options) << says;
        EXPECT_NE(parsed.error.find(says), std::string::npos) << parsed.error;
    }
}
