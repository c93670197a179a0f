// SPDX-License-Identifier: MIT
// kestrova-board's command line and its page files' export and import, run as the user does;
// the JSON round trip also over random records.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "src/model/page_file.h"
#include "tests/support/sample_page.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"
#include "tools/board/page_exchange.h"

using namespace kestrova;
using namespace kestrova::test;
namespace fs = std::filesystem;

namespace {

using Args = std::vector<std::string>;

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Every byte random, the name's bytes after a NUL included.
PageRecord randomPage(std::mt19937& random) {
    PageBytes bytes{};
    std::uniform_int_distribution<int> byte(0, 255);
    std::ranges::generate(bytes, [&] { return static_cast<std::uint8_t>(byte(random)); });
    PageRecord page = fromBytes(bytes);
    page.pageName[random() % kPageNameSize] = 0;
    return page;
}

TEST(PageExchange, JsonGivesBackEveryByteOfRandomRecords) {
    std::mt19937 random(19);
    for (int i = 0; i < 500; ++i) {
        const PageRecord page = randomPage(random);
        const board::ImportedPage back = board::importJson(board::exportJson(page));
        ASSERT_EQ(back.page, page) << back.problem << "\n" << board::exportJson(page);
    }
}

class BoardFiles : public ::testing::Test {
  protected:
    // The exit status and what the program said.
    std::pair<int, std::vector<std::string>> run(const Args& args) {
        SimProcess board(args, KESTROVA_BOARD_PATH);
        const int status = board.stop(0);
        return {status, board.lines()};
    }
    bool says(const std::vector<std::string>& lines, const std::string& text) {
        return std::ranges::any_of(
            lines, [&](const std::string& l) { return l.find(text) != std::string::npos; });
    }
    TempDir dir;
};

TEST_F(BoardFiles, CommandLineNamesWhatIsWrongAndOptionsGoAnywhere) {
    PageRecord page = samplePage();
    page.nextPage = 0;
    ASSERT_TRUE(writePageFile(dir / "wave.kpf", page, test::noFlush));
    const std::string wave = dir / "wave.kpf";
    const std::vector<std::tuple<Args, int, std::string>> cases{
        {{"frob", wave}, 2, "unknown command \"frob\""},
        {{"--port", "COM2", "frob"}, 2, "unknown command \"frob\""},
        {{"show", wave, "--port", "COM2"}, 0, "next page None  enable step 2"},
        {{"show", wave, "--json"}, 0, "\"nextPage\": \"None\""},
        {{"verify", wave, "--port", "tcp:nosuch.invalid:2217"},
         1,
         "tcp:nosuch.invalid:2217: unknown host"},
        {{"--port", "tcp:nosuch.invalid:2217", "verify", wave}, 1, "unknown host"},
        {{"read", "20", wave}, 2, "N: Value 20 not in range 0 to 19"},
        {{"read", "--help"}, 0, "N INT               the number of a page on the board, 0 to 19"},
        {{"backup", "--help"}, 0, "--port P"},
        {{"play", "--help"}, 0, "(0 to 19)"},
    };
    for (const auto& [args, status, text] : cases) {
        const auto [got, lines] = run(args);
        EXPECT_EQ(got, status) << text;
        EXPECT_TRUE(says(lines, text)) << ::testing::PrintToString(lines);
    }
}

TEST_F(BoardFiles, ExportAndImportGiveBackThePageAndMalformedJsonWritesNothing) {
    PageRecord page = samplePage();
    page.pageName = {'W', 'a', 0, 'v', 0xE9, 0, 1};  // bytes after the NUL, too
    ASSERT_TRUE(writePageFile(dir / "wave.kpf", page, test::noFlush));
    const std::string wave = dir / "wave.kpf", json = dir / "wave.json", back = dir / "back.kpf";
    EXPECT_EQ(run({"export", wave, json}).first, 0);
    EXPECT_EQ(run({"import", json, back}).first, 0);
    EXPECT_EQ(contentOf(back), contentOf(wave));
    EXPECT_EQ(run({"export", wave, dir / "wave.csv"}).first, 0);
    const std::string csv = contentOf(dir / "wave.csv");
    EXPECT_TRUE(csv.starts_with("M1,M2,M3,")) << csv;
    EXPECT_NE(csv.find(",M22,ACC,Rate\n10,11,12,"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",31,254,50\n"), std::string::npos) << "step 0 ends with M22, ACC, Rate";
    EXPECT_EQ(std::ranges::count(csv, '\n'), 9);

    const std::string good = contentOf(json);
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        return text.replace(text.find(from), from.size(), to);
    };
    // How the file is spoiled, the line and reason reported.
    const std::vector<std::tuple<std::string, std::string>> cases{
        {replaced("\"enableStep\": 2,", "\"enableStep\": 2"), ":3: syntax error"},
        {replaced("\"enableStep\": 2,", "\"enableStep\": 256,"), ":2: /enableStep is 256, not"},
        {replaced("\"repeat\": 254,", ""), ":1: \"repeat\" is missing"},
        {replaced("\"name\": \"Wa\"", "\"name\": \"Wb\""), ":3: \"name\" and \"nameBytes\" differ"},
        {replaced("\"acc\": 254", "\"acc\": -1"), ":18: /steps/0/acc is -1"},
        {"[]", ":1: not a page"},
    };
    for (const auto& [text, reason] : cases) {
        std::ofstream(dir / "bad.json") << text;
        const auto [status, lines] = run({"import", dir / "bad.json", dir / "bad.kpf"});
        EXPECT_EQ(status, 2);
        EXPECT_TRUE(says(lines, (dir / "bad.json").string() + reason))
            << ::testing::PrintToString(lines);
        EXPECT_FALSE(fs::exists(dir / "bad.kpf"));
    }
    // A page file that holds something else is replaced only with --force.
    EXPECT_EQ(run({"import", json, dir / "bad.json"}).first, 2);
    EXPECT_EQ(run({"import", json, dir / "bad.json", "--force"}).first, 0);
    EXPECT_EQ(contentOf(dir / "bad.json"), contentOf(wave));
}

}  // namespace
