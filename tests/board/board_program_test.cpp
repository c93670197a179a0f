// SPDX-License-Identifier: MIT
// kestrova-board run as the user does: its command line, export and import of page files (the
// JSON round trip also over random records), and its commands against the real simulator over
// loopback TCP and over a pseudo-terminal.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>

#include "src/model/page_file.h"
#include "tests/support/sample_page.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"
#include "tools/board/commands.h"
#include "tools/board/page_exchange.h"

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
    return static_cast<std::size_t>(std::ranges::count(contentOf(file), '\n'));
}

// Runs kestrova-board: its exit status, and a line of what it said holds `text`.
void expectRun(const Args& args, int status, const std::string& text) {
    SimProcess board(args, KESTROVA_BOARD_PATH);
    EXPECT_EQ(board.stop(0), status) << text;
    EXPECT_TRUE(board.findLine(text)) << ::testing::PrintToString(board.lines());
}

int exitStatus(const Args& args) {
    return SimProcess(args, KESTROVA_BOARD_PATH).stop(0);
}

class BoardProgram : public ::testing::TestWithParam<Transport> {
  protected:
    TempDir dir;
    const fs::path in = dir / "in";
    const std::string link = dir / "robot";
    // The board program's --port for the simulator.
    std::string portOf(SimProcess& sim) const {
        return GetParam() == Transport::Tcp ? "tcp:127.0.0.1:" + std::to_string(sim.port()) : link;
    }
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
        {{}, {{"restore", in, "3", "19"}}, 0, "2 pages restored from " + in.string()},
        {{}, {{"restore", in, "19", "3"}, {"backup", out}}, 0, "page 3 \"Noname\": read"},
        {{}, {{"verify", page3}}, 1, "byte 8 (step 0, M1): file 254, board 100; 176"},
        {{}, {{"verify", repeat7}}, 1, "byte 202 (repeat): file 7, board 1; 1 byte differs"},
        {{}, {{"write", dir / "refused.kpf"}}, 2, "holds page 20; the board holds pages 0 to 19"},
        // Gone for longer than the tool waits: the pages after the first wait fail at once.
        {{"--drop-after", "3", "--away", "3"},
         {{"backup", out, "--wait", "1"}},
         1,
         "pages read are in " + out + ".incomplete"},
        {{"--drop-after", "3", "--away", "2"}, {{"backup", out}}, 0, "waiting up to 10 s"},
        // Each page reply comes after the timeout: taken as the answer to its own request.
        {{"--slow", "6"}, {{"restore", in, "3", "19"}}, 0, "2 pages restored"},
        {{"--bad-checksum"}, {{"verify", page3}}, 1, "the board answered with a bad checksum"},
        {{"--noise", "20", "--chunk", "1"}, {{"write", page3}}, 0, "written and verified"},
    };
    for (const auto& [simArgs, commands, expectedStatus, says] : cases) {
        SCOPED_TRACE(says);
        fs::remove_all(out + ".incomplete");
        fs::remove_all(out);
        SimProcess sim(GetParam(), link, simArgs);
        const std::string port = portOf(sim);
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
        // The link lost at page 3 is waited for in vain: one line for page 3, pages 0 to 2 kept.
        const std::size_t pagesKept = says.ends_with(".incomplete") ? 3 : 0;
        const auto lost = board->findLine("page 3: not read: the link was lost");
        EXPECT_EQ(lost.has_value(), pagesKept != 0);
        EXPECT_FALSE(lost && board->findLine("page 3: not read", *lost + 1)) << "said twice";
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
            {9, [](const fs::path& f) { fs::remove(f), fs::create_directory(f); },
             "not a regular file"},
            {10, [](const fs::path& f) { fs::remove(f); }, "page-10.kpf is missing"},
        };
    SimProcess sim(GetParam(), link, {});
    const std::string port = portOf(sim);
    for (const auto& [number, spoil, says] : cases) {
        SCOPED_TRACE(says);
        fs::remove_all(in);
        fs::create_directory(in);
        for (std::size_t n = 0; n < kPageCount; ++n) {
            ASSERT_TRUE(writePageFile(pageFile(in, n), page(n, 0x11), test::noFlush));
        }
        spoil(pageFile(in, number));
        expectRun({"restore", in, "--port", port}, 2, says);
        if (number < 8 || number == 9) {  // what write is not given, or may send
            expectRun({"write", pageFile(in, number), "--port", port}, 2, says);
        }
    }
    EXPECT_FALSE(sim.findLine("<-")) << "the board received a packet";
}

// backup and read replace no file that holds something else unless --force says so.
TEST_P(BoardProgram, ReplacesADifferingFileOnlyWhenForced) {
    SimProcess sim(GetParam(), link, {});
    const std::string port = portOf(sim);
    const std::string out = dir / "out", wave = dir / "wave.kpf";
    PageRecord changed = page(5, 0x22);
    changed.nextPage = 9;  // index.txt differs too
    changed.repeat = 3;
    ASSERT_TRUE(writePageFile(wave, changed, test::noFlush));
    // Each command, the exit status, what it says, and the page that page-05.kpf and
    // wave.kpf hold afterwards (0 where there is none).
    const std::vector<std::tuple<Args, int, std::string, int, int>> cases{
        {{"backup", out}, 0, "20 pages saved in " + out, 100, 0x22},
        {{"backup", out}, 0, "20 pages saved in " + out, 100, 0x22},
        {{"write", wave}, 0, "written and verified", 100, 0x22},
        {{"backup", out}, 2, out + "/page-05.kpf already holds something else", 100, 0x22},
        {{"backup", out, "--force"}, 0, "20 pages saved in", 0x22, 0x22},
        {{"write", pageFile(in, 5)}, 0, "written and verified", 0x22, 0x22},
        {{"read", "5", wave}, 2, wave + " already holds something else; --force", 0x22, 0x22},
        {{"read", "5", wave, "--force"}, 0, "saved to " + wave, 0x22, 0x33},
    };
    fs::create_directory(in);
    ASSERT_TRUE(writePageFile(pageFile(in, 5), page(5, 0x33), test::noFlush));
    for (const auto& [command, expectedStatus, says, inBackup, inWave] : cases) {
        SCOPED_TRACE(says);
        Args args = command;
        args.insert(args.end(), {"--port", port});
        expectRun(args, expectedStatus, says);
        EXPECT_EQ(firstPosition(pageFile(out, 5)), inBackup);
        EXPECT_EQ(firstPosition(wave), inWave);
        EXPECT_EQ(lineCount(fs::path(out) / "index.txt"), kPageCount + 1);
        // A refused backup keeps the pages it read.
        const bool refused = command.front() == "backup" && expectedStatus != 0;
        EXPECT_EQ(lineCount(out + ".incomplete/index.txt"), refused ? kPageCount + 1 : 0);
        fs::remove_all(out + ".incomplete");
    }
    EXPECT_NE(contentOf(fs::path(out) / "index.txt")
                  .find("\n4\tNoname\t0\t0\t1\tNone\n5\tNoname\t9\t0\t3\t9\n"),
              std::string::npos);
    // A folder where a page file belongs is replaced by nothing; the folder's other files stay.
    fs::remove(pageFile(out, 7));
    fs::create_directory(pageFile(out, 7));
    writeBytes(fs::path(out) / "notes.txt", "mine");
    expectRun({"backup", out, "--force", "--port", port}, 2,
              out + " was left as it was; the pages read are in " + out + ".incomplete");
    EXPECT_EQ(lineCount(out + ".incomplete/index.txt"), kPageCount + 1);
    EXPECT_EQ(firstPosition(pageFile(out, 5)), 0x22) << "the board's page 5 holds 0x33";
    fs::remove(pageFile(out, 7));
    expectRun({"backup", out, "--force", "--port", port}, 0, "20 pages saved in " + out);
    EXPECT_EQ(firstPosition(pageFile(out, 5)), 0x33);
    EXPECT_EQ(contentOf(fs::path(out) / "notes.txt"), "mine");
    EXPECT_EQ(fs::file_size(pageFile(out, 7)), kPageRecordSize);
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
    std::ostringstream out;
    board::Report report(out, out, false);
    board::BoardCommands commands({parsePortDevice(portOf(sim)), 9600, std::chrono::seconds(2)},
                                  {false, recorded}, report);
    flushed.clear();
    commands.backup(dir / "saved");
    commands.read(7, dir / "seven.kpf");
    EXPECT_EQ(report.finish(), 0) << out.str();
    EXPECT_EQ(flushed, (std::map<std::string, int>{{"page file", int{kPageCount} + 2},
                                                   {"saved.incomplete", int{kPageCount} + 1},
                                                   {dir.path().filename().string(), 2}}));
}

// With --profile, check lists the values of played steps outside the limits; write, restore and
// play refuse such pages before anything reaches the board, unless --force.
TEST(BoardProfile, CheckListsValuesOutsideTheLimitsAndSendingRefusesThem) {
    TempDir dir;
    const std::string profile = dir / "wren.kprofile.json", bad = dir / "bad.kpf",
                      good = dir / "good.kpf", in = dir / "in";
    std::ofstream(profile) << R"({"version": 1, "motors": [{"motor": 5, "name": "left elbow",
                                "min": 20}]})";
    fs::create_directory(in);
    // M5 is at 14 in step 0; steps 3 to 7 hold 254s but never play.
    for (const std::string& file : {bad, pageFile(in, 11).string()}) {
        ASSERT_TRUE(writePageFile(file, samplePage(), test::noFlush));
    }
    for (const std::string& file : {good, pageFile(in, 3).string()}) {
        ASSERT_TRUE(writePageFile(file, page(3), test::noFlush));
    }
    const std::string breach =
        "page 11 \"Edge\\x1B\\x22#\" step 0: M5 left elbow is 14, below its limit 20";
    SimProcess sim(Transport::Tcp, "", {});
    const std::string port = "tcp:127.0.0.1:" + std::to_string(sim.port());
    const std::vector<std::tuple<Args, int, std::string>> refused{
        {{"check", bad}, 1, bad + ": " + breach},
        {{"check", in}, 1, "1 value outside the limits in 1 of 2 pages"},
        {{"check", good}, 0, "1 page within the limits"},
        {{"write", bad}, 2, "outside the limits of the profile; nothing was sent to the board"},
        {{"restore", in, "3", "11"}, 2, pageFile(in, 11).string() + ": " + breach},
        {{"play", bad}, 2, bad + ": " + breach},
    };
    const std::vector<std::tuple<Args, int, std::string>> sent{
        {{"write", bad, "--force"}, 0, "written and verified"},
        {{"play", "11"}, 2, "11: " + breach},
        {{"play", "11", "--force"}, 0, "played"},
        {{"write", good}, 0, "written and verified"},
    };
    expectRun({"write", good, "--profile", good, "--port", port}, 2, good + ":1: syntax error");
    for (const auto& cases : {refused, sent}) {
        for (auto [args, status, text] : cases) {
            args.insert(args.end(), {"--profile", profile, "--port", port});
            expectRun(args, status, text);
        }
        EXPECT_EQ(sim.findLine("<-").has_value(), cases.size() == sent.size())
            << "a packet reached the board";
    }
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

TEST(BoardFiles, CommandLineNamesWhatIsWrongAndOptionsGoAnywhere) {
    TempDir dir;
    PageRecord page = samplePage();
    page.nextPage = 0;
    ASSERT_TRUE(writePageFile(dir / "wave.kpf", page, test::noFlush));
    const std::string wave = dir / "wave.kpf";
    const std::vector<std::tuple<Args, int, std::string>> cases{
        {{"frob", wave}, 2, "unknown command \"frob\""},
        {{"--port", "COM2", "frob"}, 2, "unknown command \"frob\""},
        {{"show", wave, "--port", "COM2"}, 0, "next page None  enable step 2"},
        {{"show", wave, "--json"}, 0, "\"nextPage\": \"None\""},
        {{"verify", wave, "--port", "tcp:nosuch.invalid:2217"}, 1, "nosuch.invalid:2217: unknown"},
        {{"--port", "tcp:nosuch.invalid:2217", "verify", wave}, 1, "unknown host"},
        {{"read", "20", wave}, 2, "N: Value 20 not in range 0 to 19"},
        {{"read", "--help"}, 0, "N INT               the number of a page on the board, 0 to 19"},
        {{"backup", "--help"}, 0, "--port P"},
        {{"play", "--help"}, 0, "(0 to 19)"},
    };
    for (const auto& [args, status, text] : cases) {
        expectRun(args, status, text);
    }
}

TEST(BoardFiles, ExportAndImportGiveBackThePageAndMalformedJsonWritesNothing) {
    TempDir dir;
    PageRecord page = samplePage();
    page.pageName = {'W', 'a', 0, 'v', 0xE9, 0, 1};  // bytes after the NUL, too
    ASSERT_TRUE(writePageFile(dir / "wave.kpf", page, test::noFlush));
    const std::string wave = dir / "wave.kpf", json = dir / "wave.json", back = dir / "back.kpf";
    EXPECT_EQ(exitStatus({"export", wave, json}), 0);
    EXPECT_EQ(exitStatus({"import", json, back}), 0);
    EXPECT_EQ(contentOf(back), contentOf(wave));
    EXPECT_EQ(exitStatus({"export", wave, dir / "wave.csv"}), 0);
    const std::string csv = contentOf(dir / "wave.csv");
    EXPECT_TRUE(csv.starts_with("M1,M2,M3,")) << csv;
    EXPECT_NE(csv.find(",M22,ACC,Rate\n10,11,12,"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",31,254,50\n"), std::string::npos) << "step 0 ends with M22, ACC, Rate";
    EXPECT_EQ(std::ranges::count(csv, '\n'), 9);

    const auto in = [good = contentOf(json)](const std::string& from, const std::string& to) {
        return replaced(good, from, to);
    };
    // How the file is spoiled, the line and reason reported.
    const std::vector<std::tuple<std::string, std::string>> cases{
        {in("\"enableStep\": 2,", "\"enableStep\": 2"), ":3: syntax error"},
        {in("\"enableStep\": 2,", "\"enableStep\": 256,"), ":2: /enableStep is 256, not"},
        {in("\"repeat\": 254,", ""), ":1: \"repeat\" is missing"},
        {in("\"name\": \"Wa\"", "\"name\": \"Wb\""), ":3: \"name\" and \"nameBytes\" differ"},
        {in("\"acc\": 254", "\"acc\": -1"), ":18: /steps/0/acc is -1"},
        {in("\"repeat\": 254", "\"repeat\": 1e309"), ":15: number overflow parsing"},
        {in("\"repeat\": 254", "\"page\": 9"), ":15: \"page\" is given twice"},
        {std::string(40'000, '['), ":1: nested deeper than a page is"},
        {"[]", ":1: not a page"},
    };
    for (const auto& [text, reason] : cases) {
        std::ofstream(dir / "bad.json") << text;
        expectRun({"import", dir / "bad.json", dir / "bad.kpf"}, 2,
                  (dir / "bad.json").string() + reason);
        EXPECT_FALSE(fs::exists(dir / "bad.kpf"));
    }
    fs::create_directory(dir / "d.json");
    expectRun({"export", wave, dir / "d.json"}, 2, "d.json is a folder, which is never replaced");
    // A CSV's steps go onto the page named with --into, which keeps all else.
    const std::string csvFile = dir / "wave.csv", onto = dir / "onto.kpf";
    expectRun({"import", csvFile, back}, 2, "a CSV holds only steps; name the page file they go");
    ASSERT_TRUE(writePageFile(onto, defaultPageRecord(), test::noFlush));
    EXPECT_EQ(exitStatus({"import", csvFile, back, "--into", onto, "--force"}), 0);
    PageRecord stepsOntoDefault = defaultPageRecord();
    std::tie(stepsOntoDefault.position, stepsOntoDefault.acc, stepsOntoDefault.rate) =
        std::tie(page.position, page.acc, page.rate);
    EXPECT_EQ(readPageFile(back), stepsOntoDefault);
    // A page file that holds something else is replaced only with --force.
    EXPECT_EQ(exitStatus({"import", json, dir / "bad.json"}), 2);
    EXPECT_EQ(exitStatus({"import", json, dir / "bad.json", "--force"}), 0);
    EXPECT_EQ(contentOf(dir / "bad.json"), contentOf(wave));
}

}  // namespace
