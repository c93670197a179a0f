// SPDX-License-Identifier: MIT
// The editor window with its own serial port, driven as a user drives it, against a
// kestrova-sim child process over the network port (COM5) or a pseudo-terminal (COM1). A
// hang-up and the recovery by Disconnect and Connect are the serial port's own tests.
#include "src/model/page_file.h"
#include "tests/support/sample_page.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/editor_fixture.h"

namespace kestrova::test {
namespace {

class SimEditorTest : public EditorTest, public ::testing::WithParamInterface<Transport> {
  protected:
    void TearDown() override {
        EditorTest::TearDown();  // the window closes its port first
        sim.reset();
        qunsetenv(variable());
    }

    bool tcp() const { return GetParam() == Transport::Tcp; }
    const char* variable() const { return tcp() ? "KESTROVA_COM5" : "KESTROVA_COM1"; }
    QString portName() const { return tcp() ? "COM5" : "COM1"; }

    // Starts the simulator with these arguments; Connect opens its port.
    void startAndConnect(std::vector<std::string> args = {}) {
        sim.emplace(GetParam(), link, args);
        const std::string device = tcp() ? "tcp:127.0.0.1:" + std::to_string(sim->port()) : link;
        qputenv(variable(), QByteArray(device.c_str()));
        dlg->setup().portIndex = tcp() ? 4 : 0;  // the Setup dialog runs in the window's tests
        dlg->onConnect();
        ASSERT_EQ(boxes.texts(), std::vector<QString>{portName() + " open."});
        boxes.shown.clear();
    }

    // Waits for as many boxes as `texts`, which they must show.
    void expectBoxes(const std::vector<QString>& texts) {
        spinUntil([&] { return boxes.shown.size() >= texts.size(); });
        EXPECT_EQ(boxes.texts(), texts);
    }

    // Handles the window's events meanwhile.
    std::optional<std::size_t> waitForSimLine(const std::string& text) {
        std::optional<std::size_t> found;
        spinUntil([&] { return (found = sim->findLine(text)).has_value(); });
        return found;
    }

    TempDir dir;
    const std::string link = (dir / "robot").string();
    std::optional<SimProcess> sim;
};

// The replies come a byte at a time (the recogniser's tests cut them at every position); a
// name from the editor reaches the simulator's console escaped.
TEST_P(SimEditorTest, SavedPageComesBackByteForByte) {
    startAndConnect({"--chunk", "1"});
    load(samplePage());
    click(id::kTargetSave);
    expectBoxes({"Save done!"});
    EXPECT_TRUE(waitForSimLine("<- write page 11 \"Edge\\x1B\\x22#\", checksum good"));
    boxes.shown.clear();
    click(id::kResetPage);
    ASSERT_EQ(page(), defaultPageRecord());
    choose(id::kPageNumCombo, 11);
    click(id::kTargetLoad);
    EXPECT_TRUE(spinUntil([&] { return page() == samplePage(); }));
    EXPECT_EQ(readTexts({id::kRepeatCombo, id::kEnableStepCombo}), QStringList({"254", "2"}));
    EXPECT_TRUE(boxes.shown.empty()) << "a page reply shows no box";
    EXPECT_TRUE(waitForSimLine("-> page 11"));
}

// Play reaches the board, which plays the page and answers nothing. What a play walks
// through, and the refusal of a page the board lacks, are the board's own tests; live
// positions reach the line in the window's and the session's.
TEST_P(SimEditorTest, PlayReachesTheBoardUnanswered) {
    startAndConnect();
    load(samplePage());
    click(id::kPlay);
    EXPECT_TRUE(
        waitForSimLine("positions 30 31 32 33 34 35 36 37 38 39 40 41 42 43 44 45 46 47 48 "
                       "49 50 51  (page 11 \"Edge\\x1B\\x22#\" step 2 round 254)"));
    EXPECT_TRUE(boxes.shown.empty()) << "a play is not answered";
}

INSTANTIATE_TEST_SUITE_P(Transports, SimEditorTest, ::testing::ValuesIn(simTransports()));

}  // namespace
}  // namespace kestrova::test
