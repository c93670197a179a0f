// SPDX-License-Identifier: MIT
// kestrova-board against the real simulator, over loopback TCP and over a pseudo-terminal.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
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

// M1 of step 0 in a page file; -1 without one.
int firstPosition(const fs::path& file) {
    const std::optional<PageRecord> page = readPageFile(file);
    return page ? page->position[0] : -1;
}

void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

std::size_t lineCount(const fs::path& file) {
    std::ifstream in(file);
    return static_cast<std::size_t>(std::count(std::istreambuf_iterator<char>(in), {}, '\n'));
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
    PageRecord page5 = page(5);
    page5.repeat = 7;  // the record's last byte alone differs from the board's page 5
    const std::string out = dir / "out", page3 = pageFile(in, 3), repeat7 = dir / "repeat7.kpf";
    ASSERT_TRUE(writePageFile(repeat7, page5, test::noFlush));
    // The simulator's options; commands run one after the other, the last one's exit status and
    // what it says.
    const std::vector<std::tuple<Args, std::vector<Args>, int, std::string>> cases{
        {{}, {{"backup", out}}, 0, "20 pages saved in"},
        {{}, {{"restore", in}}, 0, "2 pages restored from " + in.string()},
        {{}, {{"restore", in}, {"backup", out}}, 0, "page 3 \"Noname\": read"},
        {{}, {{"verify", page3}}, 1, "byte 8 (step 0, M1): file 254, board 100; 176"},
        {{}, {{"verify", repeat7}}, 1, "byte 202 (repeat): file 7, board 1; 1 byte differs"},
        {{}, {{"write", dir / "refused.kpf"}}, 2, "holds page 20; the board holds pages 0 to 19"},
        {{"--drop-after", "3"}, {{"backup", out}}, 1, "pages read are in " + out + ".incomplete"},
        {{"--noise", "20", "--chunk", "1"}, {{"write", page3}}, 0, "written and verified"},
    };
    for (const auto& [simArgs, commands, expectedStatus, says] : cases) {
        SCOPED_TRACE(says);
        fs::remove_all(out + ".incomplete");
        fs::remove_all(out);
        SimProcess sim(GetParam(), link, simArgs);
        const std::string port =
            GetParam() == Transport::Tcp ? "tcp:127.0.0.1:" + std::to_string(sim.port()) : link;
        std::optional<SimProcess> board;
        int status = -1;
        for (const Args& command : commands) {
            Args args = command;  // the link options after the command's own arguments
            args.insert(args.end(), {"--timeout", "1000", "--port", port});
            status = board.emplace(args, KESTROVA_BOARD_PATH).stop(0);
        }
        EXPECT_EQ(status, expectedStatus);
        EXPECT_TRUE(board->findLine(says)) << ::testing::PrintToString(board->lines());
        // A failed backup makes no folder of that name; its pages are in one marked incomplete.
        const bool backedUp = status == 0 && commands.back().front() == "backup";
        EXPECT_EQ(fs::exists(out), backedUp);
        for (std::size_t n = 0; backedUp && n < kPageCount; ++n) {
            const bool restored = commands.size() > 1 && fs::exists(pageFile(in, n));
            EXPECT_EQ(fs::file_size(pageFile(out, n)), kPageRecordSize);
            EXPECT_EQ(readPageFile(pageFile(out, n)),
                      restored ? readPageFile(pageFile(in, n)) : page(n));
        }
        EXPECT_EQ(lineCount(fs::path(out) / "index.txt"), backedUp ? kPageCount + 1 : 0);
        const fs::path incomplete = out + ".incomplete";
        // The link lost at page 3 is made again for page 4: one line for page 3, the rest read.
        const std::size_t pagesKept = says.ends_with(".incomplete") ? kPageCount - 1 : 0;
        EXPECT_EQ(std::ranges::count_if(board->lines(),
                                        [](const std::string& line) {
                                            return line.starts_with(
                                                "page 3: not read: the link "
                                                "was lost");
                                        }),
                  pagesKept != 0 ? 1 : 0);
        EXPECT_FALSE(board->findLine("disconnect")) << "the editor's advice";
        EXPECT_EQ(lineCount(incomplete / "index.txt"), pagesKept == 0 ? 0 : pagesKept + 1);
        EXPECT_EQ(fs::exists(pageFile(incomplete, 2)) + fs::exists(pageFile(incomplete, 3)),
                  pagesKept == 0 ? 0 : 1);
        EXPECT_EQ(sim.stop(SIGINT), 0);
    }
}

// restore and write check every file first: one bad file refuses the whole run, and the board
// hears nothing.
TEST_P(BoardProgram, RefusesBadPageFilesBeforeAnythingIsSent) {
    const std::vector<std::tuple<std::size_t, std::function<void(const fs::path&)>, std::string>>
        cases{
            {4, [](const fs::path& f) { fs::resize_file(f, 100); }, "100 bytes, not 203"},
            {5, [](const fs::path& f) { fs::resize_file(f, 0); }, "0 bytes, not 203"},
            {6, [](const fs::path& f) { fs::resize_file(f, 253); }, "253 bytes, not 203"},
            {7, [](const fs::path& f) { writeBytes(f, std::string(203, 'M')); }, "holds page 77"},
            {8, [](const fs::path& f) { writePageFile(f, page(9), test::noFlush); },
             "which backup names page-09.kpf"},
            {9,
             [](const fs::path& f) {
                 fs::remove(f);
                 fs::create_directory(f);
             },
             "not a regular file"},
        };
    SimProcess sim(GetParam(), link, {});
    const std::string port =
        GetParam() == Transport::Tcp ? "tcp:127.0.0.1:" + std::to_string(sim.port()) : link;
    for (const auto& [number, spoil, says] : cases) {
        SCOPED_TRACE(says);
        fs::remove_all(in);
        fs::create_directory(in);
        for (std::size_t n = 0; n < kPageCount; ++n) {
            ASSERT_TRUE(writePageFile(pageFile(in, n), page(n, 0x11), test::noFlush));
        }
        spoil(pageFile(in, number));
        std::vector<Args> commands{{"restore", in}};
        if (number != 8) {  // a page under another name is still a page to write
            commands.push_back({"write", pageFile(in, number)});
        }
        for (const Args& command : commands) {
            SimProcess board(Args{command[0], command[1], "--port", port}, KESTROVA_BOARD_PATH);
            EXPECT_EQ(board.stop(0), 2);
            EXPECT_TRUE(board.findLine(says)) << ::testing::PrintToString(board.lines());
        }
    }
    EXPECT_FALSE(sim.findLine("<-")) << "the board received a packet";
}

// backup and read replace no file that holds something else unless --force says so.
TEST_P(BoardProgram, ReplacesADifferingFileOnlyWhenForced) {
    SimProcess sim(GetParam(), link, {});
    const std::string port =
        GetParam() == Transport::Tcp ? "tcp:127.0.0.1:" + std::to_string(sim.port()) : link;
    const std::string out = dir / "out", wave = dir / "wave.kpf";
    ASSERT_TRUE(writePageFile(wave, page(5, 0x22), test::noFlush));
    // Each command, the exit status, what it says, and the page that page-05.kpf and
    // wave.kpf hold afterwards (0 where there is none).
    const std::vector<std::tuple<Args, int, std::string, int, int>> cases{
        {{"backup", out}, 0, "20 pages saved in " + out, 100, 0x22},
        {{"backup", out}, 0, "20 pages saved in " + out, 100, 0x22},
        {{"write", wave}, 0, "written and verified", 100, 0x22},
        {{"backup", out}, 2, out + "/page-05.kpf already holds something else", 100, 0x22},
        {{"backup", out, "--force"}, 0, "20 pages saved in", 0x22, 0x22},
        {{"write", pageFile(in, 5)}, 0, "written and verified", 0x22, 0x22},
        {{"read", "5", wave},
         2,
         wave + " already holds something else; --force replaces",
         0x22,
         0x22},
        {{"read", "5", wave, "--force"}, 0, "saved to " + wave, 0x22, 0x33},
    };
    fs::create_directory(in);
    ASSERT_TRUE(writePageFile(pageFile(in, 5), page(5, 0x33), test::noFlush));
    for (const auto& [command, expectedStatus, says, inBackup, inWave] : cases) {
        SCOPED_TRACE(says);
        Args args = command;
        args.insert(args.end(), {"--port", port});
        SimProcess board(args, KESTROVA_BOARD_PATH);
        EXPECT_EQ(board.stop(0), expectedStatus);
        EXPECT_TRUE(board.findLine(says)) << ::testing::PrintToString(board.lines());
        EXPECT_EQ(firstPosition(pageFile(out, 5)), inBackup);
        EXPECT_EQ(firstPosition(wave), inWave);
        EXPECT_EQ(lineCount(fs::path(out) / "index.txt"), kPageCount + 1);
        EXPECT_FALSE(fs::exists(out + ".incomplete"));
    }
}

INSTANTIATE_TEST_SUITE_P(Transports, BoardProgram,
                         ::testing::Values(Transport::Tcp, Transport::Pty));

// What backup and read write is made durable: each page file and the index before its rename,
// then its folder (a backup's pages are written beside the folder and then moved in).
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
    board::BoardCommands commands({parsePortDevice(port), 9600, std::chrono::seconds(2)},
                                  {false, recorded}, report);
    flushed.clear();
    commands.backup(dir / "saved");
    commands.read(7, dir / "seven.kpf");
    EXPECT_EQ(report.finish(), 0) << out.str();
    EXPECT_EQ(flushed, (std::map<std::string, int>{{"page file", int{kPageCount} + 2},
                                                   {"saved.incomplete", int{kPageCount} + 1},
                                                   {dir.path().filename().string(), 2}}));
}

}  // namespace
