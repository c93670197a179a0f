// SPDX-License-Identifier: MIT
// Controller replies arriving through a real pseudo-terminal, in awkward chunkings, and while
// a message box is open.
#include "editor_fixture.h"
#include "protocol/packets.h"
#include "pty_port.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

const Bytes kDone{0x23, 0x23, 0x23, 0x64, 0xFE, 0xFE, 0xFE, 0x0A};

class RepliesTest : public ConnectedEditorTest {
  protected:
    // Sends bytes [cuts[i], cuts[i+1]) as chunks of their own: the next goes only once the
    // editor has had time to take the previous one.
    void sendInPieces(const Bytes& bytes, const std::vector<std::size_t>& cuts) {
        for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
            ASSERT_TRUE(pty.send(Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(cuts[i]),
                                       bytes.begin() + static_cast<std::ptrdiff_t>(cuts[i + 1]))));
            spinFor(80ms);
        }
    }

    bool waitForBoxes(std::size_t count) {
        return spinUntil([&] { return boxes.shown.size() >= count; });
    }
};

TEST_F(RepliesTest, DoneReplyShowsSaveDoneHoweverItIsSplit) {
    for (std::size_t split : {7u, 6u, 3u}) {
        boxes.shown.clear();
        sendInPieces(kDone, {0, split});
        EXPECT_TRUE(boxes.shown.empty()) << split;
        sendInPieces(kDone, {split, kDone.size()});
        ASSERT_TRUE(waitForBoxes(1)) << split;
        EXPECT_EQ(boxes.texts(), std::vector<QString>{"Save done!"});
        EXPECT_EQ(boxes.shown[0].owner, dlg.get());
        EXPECT_EQ(boxes.shown[0].icon, MessageIcon::None);
        EXPECT_EQ(boxes.shown[0].caption, "ui_tests");
    }
}

TEST_F(RepliesTest, PageReplyReplacesThePageAndRefreshesTheControls) {
    PageRecord record = defaultPageRecord();
    record.pageName = {'R', 'o', 'b', 'o', 't', 0, 0};
    record.pageNum = 12;
    record.repeat = 3;
    record.position[0] = 17;
    PagePacket reply = buildPagePacket(record, command::kPage);
    reply[208] ^= 0x5A;  // a wrong checksum is not checked
    dlg->writeUnsigned(1000, 77);
    sendInPieces(Bytes(reply.begin(), reply.end()), {0, 3, 100, 215});
    ASSERT_TRUE(spinUntil([&] { return motionPage.getRecord() == record; }));
    EXPECT_EQ(dlg->readText(id::kPageNameEdit), "Robot");
    EXPECT_EQ(dlg->readText(id::kPageNumCombo), "12");
    EXPECT_EQ(dlg->readText(id::kRepeatCombo), "3");
    EXPECT_EQ(dlg->readText(1000), "77");  // step fields are not page controls
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(pty.drain(200ms).empty());  // nothing goes back to the controller
}

TEST_F(RepliesTest, FailureLineAndNoiseAreReported) {
    sendInPieces(text("aaaaa\n"), {0, 3, 6});
    ASSERT_TRUE(waitForBoxes(1));
    ASSERT_TRUE(pty.send(Bytes(300, 0x41)));
    ASSERT_TRUE(waitForBoxes(2));
    spinFor(100ms);
    EXPECT_EQ(boxes.texts(), (std::vector<QString>{"Failed!!", "Bad communication"}));
    EXPECT_EQ(boxes.shown[1].owner, dlg.get());
    EXPECT_EQ(boxes.shown[1].icon, MessageIcon::None);
}

TEST_F(RepliesTest, RepliesArrivingWhileABoxIsOpenWaitAndAreThenHandled) {
    std::size_t shownWhileOpen = 0;
    boxes.whileOpen = [&](const MessageRequest& request) {
        if (boxes.shown.size() == 1) {
            EXPECT_TRUE(pty.send(kDone));
            spinFor(300ms);  // the user takes a while to press OK
            shownWhileOpen = boxes.shown.size();
        } else if (request.text == "COM1 is closed.") {  // the port is still open meanwhile
            EXPECT_TRUE(pty.send(kDone));
            EXPECT_TRUE(spinUntil([&] { return boxes.shown.size() == 4; }, 2s));
        }
    };
    ASSERT_TRUE(pty.send(kDone));
    ASSERT_TRUE(waitForBoxes(2));
    EXPECT_EQ(shownWhileOpen, 1u);
    dlg->onDisconnect();
    EXPECT_EQ(boxes.texts(),
              (std::vector<QString>{"Save done!", "Save done!", "COM1 is closed.", "Save done!"}));
    EXPECT_EQ(dlg->port().connected, 0);
}

}  // namespace
}  // namespace kestrova::test
