// SPDX-License-Identifier: MIT
// kestrova-board against the real simulator, over loopback TCP and over a pseudo-terminal.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "model/page_file.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

using namespace kestrova;
using namespace kestrova::test;
namespace fs = std::filesystem;

namespace {

using Args = std::vector<std::string>;

fs::path pageFile(const fs::path& folder, std::size_t number) {
    return folder / ((number < 10 ? "page-0" : "page-") + std::to_string(number) + ".kpf");
}

PageRecord page(std::size_t number, std::uint8_t position = kDefaultPosition) {
    PageRecord page = defaultPageRecord();
    page.pageNum = static_cast<std::uint8_t>(number);
    page.position.fill(position);
    return page;
}

class BoardProgram : public ::testing::TestWithParam<Transport> {
  protected:
    TempDir dir;
    const fs::path in = dir / "in";
    const std::string link = dir / "robot";
};

TEST_P(BoardProgram, BacksUpRestoresAndVerifiesPagesAndNamesThoseThatFail) {
    fs::create_directory(in);
    ASSERT_TRUE(writePageFile(pageFile(in, 3), page(3, 0xFE)));    // trailer bytes inside
    ASSERT_TRUE(writePageFile(pageFile(in, 19), page(19, 0x23)));  // header bytes inside
    ASSERT_TRUE(writePageFile(dir / "refused.kpf", page(kPageCount)));
    PageRecord page5 = page(5);
    page5.repeat = 7;  // the record's last byte alone differs from the board's page 5
    const std::string out = dir / "out", page3 = pageFile(in, 3), repeat7 = dir / "repeat7.kpf";
    ASSERT_TRUE(writePageFile(repeat7, page5));
    // The simulator's options; commands run one after the other, the last one's exit status and
    // what it says.
    const std::vector<std::tuple<Args, std::vector<Args>, int, const char*>> cases{
        {{}, {{"backup", out}}, 0, "page 19 \"Noname\": saved to"},
        {{}, {{"restore", in}, {"backup", out}}, 0, "page 3 \"Noname\": saved to"},
        {{}, {{"verify", page3}}, 1, "byte 8 (step 0, M1): file 254, board 100; 176"},
        {{}, {{"verify", repeat7}}, 1, "byte 202 (repeat): file 7, board 1; 1 byte differs"},
        {{}, {{"write", dir / "refused.kpf"}}, 1, "failed: page 20"},
        {{"--drop-after", "3"}, {{"backup", out}}, 1, "failed: pages 3, 4, 5,"},
        {{"--noise", "20", "--chunk", "1"}, {{"write", page3}}, 0, "written and verified"},
    };
    for (const auto& [simArgs, commands, expectedStatus, says] : cases) {
        SCOPED_TRACE(says);
        fs::remove_all(out);
        SimProcess sim(GetParam(), link, simArgs);
        const std::string port =
            GetParam() == Transport::Tcp ? "tcp:127.0.0.1:" + std::to_string(sim.port()) : link;
        std::optional<SimProcess> board;
        int status = -1;
        for (const Args& command : commands) {
            Args args{"--timeout", "1000", "--port", port};
            args.insert(args.end(), command.begin(), command.end());
            status = board.emplace(args, KESTROVA_BOARD_PATH).stop(0);
        }
        EXPECT_EQ(status, expectedStatus);
        EXPECT_TRUE(board->findLine(says)) << ::testing::PrintToString(board->lines());
        const bool backedUp = status == 0 && fs::exists(out);
        for (std::size_t n = 0; backedUp && n < kPageCount; ++n) {
            const bool restored = commands.size() > 1 && fs::exists(pageFile(in, n));
            EXPECT_EQ(fs::file_size(pageFile(out, n)), kPageRecordSize);
            EXPECT_EQ(readPageFile(pageFile(out, n)),
                      restored ? readPageFile(pageFile(in, n)) : page(n));
        }
        std::ifstream index(fs::path(out) / "index.txt");
        EXPECT_TRUE(!backedUp ||
                    std::count(std::istreambuf_iterator<char>(index), {}, '\n') == kPageCount + 1);
        EXPECT_EQ(sim.stop(SIGINT), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Transports, BoardProgram,
                         ::testing::Values(Transport::Tcp, Transport::Pty));

}  // namespace
