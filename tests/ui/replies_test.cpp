// SPDX-License-Identifier: MIT
// Controller replies arriving through a real pseudo-terminal, in awkward chunkings, and while
// a message box is open.
#include "editor_fixture.h"
#include "protocol/packets.h"
#include "pty_port.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

class RepliesTest : public ConnectedEditorTest {
  protected:
    // Sends each piece as a chunk of its own: the next goes only once the editor has had time
    // to take the previous one.
    void sendInPieces(const std::vector<Bytes>& pieces) {
        for (const Bytes& piece : pieces) {
            ASSERT_TRUE(pty.send(piece));
            spinFor(80ms);
        }
    }

    bool waitForBoxes(std::size_t count) {
        return spinUntil([&] { return boxes.shown.size() >= count; });
    }
};

const Bytes kDone{0x23, 0x23, 0x23, 0x64, 0xFE, 0xFE, 0xFE, 0x0A};

Bytes slice(const Bytes& bytes, std::size_t from, std::size_t to) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes.begin() + static_cast<std::ptrdiff_t>(to));
}

TEST_F(RepliesTest, DoneReplyShowsSaveDoneHoweverItIsSplit) {
    const std::vector<std::size_t> splits = {7, 6, 3};
    for (std::size_t split : splits) {
        boxes.shown.clear();
        sendInPieces({slice(kDone, 0, split)});
        EXPECT_TRUE(boxes.shown.empty()) << split;
        sendInPieces({slice(kDone, split, kDone.size())});
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
    record.nextPage = 5;
    record.repeat = 3;
    record.position[0] = 17;
    PagePacket reply = buildPagePacket(record, command::kPage);
    reply[208] ^= 0x5A;  // a wrong checksum is not checked
    const Bytes bytes(reply.begin(), reply.end());
    dlg->writeUnsigned(1000, 77);
    sendInPieces({slice(bytes, 0, 3), slice(bytes, 3, 100), slice(bytes, 100, 215)});
    ASSERT_TRUE(spinUntil([&] { return motionPage.getRecord() == record; }));
    EXPECT_EQ(dlg->readText(id::kPageNameEdit), "Robot");
    EXPECT_EQ(dlg->readText(id::kPageNumCombo), "12");
    EXPECT_EQ(dlg->readText(id::kNextPageCombo), "5");
    EXPECT_EQ(dlg->readText(id::kRepeatCombo), "3");
    EXPECT_EQ(dlg->readText(1000), "77");  // step fields are not page controls
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(pty.drain(200ms).empty());  // nothing goes back to the controller
}

TEST_F(RepliesTest, FailureLineAndNoiseAreReported) {
    sendInPieces({text("aaa"), text("aa\n")});
    ASSERT_TRUE(waitForBoxes(1));
    Bytes noise(300, 0x41);
    ASSERT_TRUE(pty.send(noise));
    ASSERT_TRUE(waitForBoxes(2));
    spinFor(100ms);
    EXPECT_EQ(boxes.texts(), (std::vector<QString>{"Failed!!", "Bad communication"}));
    for (const MessageRequest& box : boxes.shown) {
        EXPECT_EQ(box.owner, dlg.get());
        EXPECT_EQ(box.icon, MessageIcon::None);
    }
}

TEST_F(RepliesTest, AReplyArrivingWhileABoxIsOpenWaitsAndIsThenHandled) {
    std::size_t shownWhileOpen = 0;
    boxes.whileOpen = [&](const MessageRequest& request) {
        if (boxes.shown.size() == 1) {
            EXPECT_EQ(request.text, "Save done!");
            EXPECT_TRUE(pty.send(kDone));
            spinFor(300ms);  // the user takes a while to press OK
            shownWhileOpen = boxes.shown.size();
        }
    };
    ASSERT_TRUE(pty.send(kDone));
    ASSERT_TRUE(waitForBoxes(2));
    EXPECT_EQ(shownWhileOpen, 1u);
    EXPECT_EQ(boxes.texts(), (std::vector<QString>{"Save done!", "Save done!"}));
}

TEST_F(RepliesTest, RepliesAreStillHandledWhileTheDisconnectMessageIsUp) {
    boxes.whileOpen = [&](const MessageRequest& request) {
        if (request.text == "COM1 is closed.") {
            EXPECT_TRUE(pty.send(kDone));
            EXPECT_TRUE(spinUntil([&] { return boxes.shown.size() == 2; }, 2s));
        }
    };
    dlg->onDisconnect();
    EXPECT_EQ(boxes.texts(), (std::vector<QString>{"COM1 is closed.", "Save done!"}));
    EXPECT_EQ(dlg->port().connected, 0);
}

}  // namespace
}  // namespace kestrova::test
