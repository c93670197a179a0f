// SPDX-License-Identifier: MIT
// Controller replies arriving through a real pseudo-terminal while a message box is open.
// Page and done replies split at every byte, noise and failure lines run end to end against
// the simulator.
#include "editor_fixture.h"

namespace kestrova::test {
namespace {

TEST_F(PtyEditorTest, RepliesArrivingWhileABoxIsOpenWaitAndAreThenHandled) {
    connect();
    const Bytes done{0x23, 0x23, 0x23, 0x64, 0xFE, 0xFE, 0xFE, 0x0A};
    std::size_t shownWhileOpen = 0;
    boxes.whileOpen = [&](const MessageRequest& request) {
        if (boxes.shown.size() == 1) {
            EXPECT_TRUE(pty.send(done));
            spinFor(300ms);  // the user takes a while to press OK
            shownWhileOpen = boxes.shown.size();
        } else if (request.text == "COM1 is closed.") {  // the port is still open meanwhile
            EXPECT_TRUE(pty.send(done));
            EXPECT_TRUE(spinUntil([&] { return boxes.shown.size() == 4; }, 2s));
        }
    };
    ASSERT_TRUE(pty.send(done));
    ASSERT_TRUE(spinUntil([&] { return boxes.shown.size() == 2; }));
    EXPECT_EQ(shownWhileOpen, 1u);
    EXPECT_EQ(boxes.shown[0].owner, dlg.get());
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(boxes.shown[0].caption, "ui_tests");
    dlg->onDisconnect();
    EXPECT_EQ(boxes.texts(),
              (std::vector<QString>{"Save done!", "Save done!", "COM1 is closed.", "Save done!"}));
}

}  // namespace
}  // namespace kestrova::test
