// SPDX-License-Identifier: MIT
// kestrova-board against the real simulator, over loopback TCP and over a pseudo-terminal.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "src/model/page_file.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"
#include "tools/board/commands.h"

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
    ASSERT_TRUE(
        writePageFile(pageFile(in, 3), page(3, 0xFE), test::noFlush));  // trailer bytes inside
    ASSERT_TRUE(
        writePageFile(pageFile(in, 19), page(19, 0x23), test::noFlush));  // header bytes inside
    ASSERT_TRUE(writePageFile(dir / "refused.kpf", page(kPageCount), test::noFlush));
    const std::string out = dir / "out", page3 = pageFile(in, 3);
    // The simulator's options; commands run one after the other, the last one's exit status and
    // what it says.
    const std::vector<std::tuple<Args, std::vector<Args>, int, const char*>> cases{
        {{}, {{"backup", out}}, 0, "page 19 \"Noname\": saved to"},
        {{}, {{"restore", in}, {"backup", out}}, 0, "page 3 \"Noname\": saved to"},
        {{}, {{"verify", page3}}, 1, "byte 8 (step 0, M1): file 254, board 100; 176"},
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

// What backup and read write is made durable: each page file before its rename, then its
// folder, and the index.
TEST_P(BoardProgram, BackupAndReadFlushWhatTheyWrite) {
    static std::map<std::string, int> flushed;
    const FlushToDisk recorded = [](const fs::path& path) {
        ++flushed[path.extension() == ".tmp" ? "page file" : path.filename().string()];
        return true;
    };
    SimProcess sim(GetParam(), link, {});
    const std::string port =
        GetParam() == Transport::Tcp ? "tcp:127.0.0.1:" + std::to_string(sim.port()) : link;
    std::ostringstream out;
    board::Report report(out, out, false);
    board::BoardCommands commands({parsePortDevice(port), 9600, std::chrono::seconds(2)}, report,
                                  recorded);
    flushed.clear();
    commands.backup(dir / "saved");
    commands.read(7, dir / "seven.kpf");
    EXPECT_EQ(report.finish(), 0) << out.str();
    EXPECT_EQ(flushed, (std::map<std::string, int>{{"page file", int{kPageCount} + 1},
                                                   {"saved", int{kPageCount}},
                                                   {"index.txt", 1},
                                                   {dir.path().filename().string(), 1}}));
}

}  // namespace
