// SPDX-License-Identifier: MIT
#include "tools/sim/sim_options.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kestrova::sim;

namespace {

ParsedOptions parse(std::vector<const char*> args) {
    return parseOptions(args);
}

}  // namespace

TEST(SimOptions, DefaultsServeTheEditorsNetworkPort) {
    const ParsedOptions parsed = parse({});
    ASSERT_TRUE(parsed.options);
    EXPECT_FALSE(parsed.options->pty);
    EXPECT_EQ(parsed.options->port, 2217);
    EXPECT_EQ(parsed.options->chunk, 0u);
    EXPECT_EQ(parsed.options->noise, 0u);
    EXPECT_EQ(parsed.options->dropAfter, 0u);
    EXPECT_FALSE(parsed.options->seed);
}

TEST(SimOptions, ReadsEveryOption) {
    const ParsedOptions pty =
        parse({"--pty", "--link", "/tmp/robot", "--step-ms", "40", "--chunk", "7", "--noise", "12",
               "--noise-replies", "1", "--seed", "99", "--drop-after", "3", "--quiet", "--hex"});
    ASSERT_TRUE(pty.options) << pty.error;
    EXPECT_TRUE(pty.options->pty);
    EXPECT_EQ(pty.options->link, "/tmp/robot");
    EXPECT_EQ(pty.options->stepMs, 40u);
    EXPECT_EQ(pty.options->chunk, 7u);
    EXPECT_EQ(pty.options->noise, 12u);
    EXPECT_EQ(pty.options->noiseReplies, 1u);
    EXPECT_EQ(pty.options->seed, 99u);
    EXPECT_EQ(pty.options->dropAfter, 3u);
    EXPECT_TRUE(pty.options->quiet);
    EXPECT_TRUE(pty.options->hex);

    const ParsedOptions port = parse({"--port", "0"});
    ASSERT_TRUE(port.options);
    EXPECT_EQ(port.options->port, 0);
}

TEST(SimOptions, RefusesWhatItCannotDoWithAReason) {
    struct Case {
        std::vector<const char*> args;
        const char* says;
    };
    const std::vector<Case> cases{
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
    for (const Case& c : cases) {
        const ParsedOptions parsed = parse(c.args);
        EXPECT_FALSE(parsed.options) << c.says;
        EXPECT_NE(parsed.error.find(c.says), std::string::npos) << parsed.error;
    }
}

TEST(SimOptions, HelpWinsAndDescribesEveryOption) {
    const ParsedOptions parsed = parse({"--chunk", "3", "--help", "--bogus"});
    EXPECT_TRUE(parsed.help);
    EXPECT_FALSE(parsed.options);
    for (const char* option : {"--port", "--pty", "--link", "--quiet", "--hex", "--step-ms",
                               "--chunk", "--noise", "--noise-replies", "--seed", "--drop-after"}) {
        EXPECT_NE(helpText().find(option), std::string::npos) << option;
    }
}
