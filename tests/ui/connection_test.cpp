// SPDX-License-Identifier: MIT
// Connect, Disconnect and Setup: messages, the number in them, and the Setup dialog's choices.
#include <QComboBox>
#include <QPushButton>

#include "editor_fixture.h"
#include "pty_port.h"

namespace kestrova::test {
namespace {

// The speed out of the packed record, by value (gtest would bind a misaligned reference).
std::uint32_t baudOf(const PortSettings& settings) {
    return settings.baudRate;
}

std::uint32_t portOf(const PortSettings& settings) {
    return settings.portNumber;
}

// Opens Setup, picks the entries (-1 keeps a list as it is) and presses OK or Cancel.
void runSetup(CEditorDlg& dlg, int port, int baud, bool confirm,
              std::pair<int, int>* shownSelection = nullptr) {
    whenModalShown(&dlg, [=](QWidget* setup) {
        auto* ports = setup->findChild<QComboBox*>("control1057");
        auto* bauds = setup->findChild<QComboBox*>("control1058");
        if (shownSelection != nullptr) {
            *shownSelection = {ports->currentIndex(), bauds->currentIndex()};
        }
        if (port >= 0) {
            ports->setCurrentIndex(port);
        }
        if (baud >= 0) {
            bauds->setCurrentIndex(baud);
        }
        QTest::mouseClick(setup->findChild<QPushButton*>(confirm ? "control1" : "control2"),
                          Qt::LeftButton);
    });
    dlg.onSetup();
}

TEST_F(EditorTest, ConnectAndDisconnectReportWithTheChosenNumber) {
    PtyPort com1(1);
    dlg->onDisconnect();
    dlg->onConnect();
    dlg->onConnect();
    ASSERT_EQ(dlg->port().connected, 1);
    // The number follows the current choice, not the port that is open.
    runSetup(*dlg, 2, -1, true);
    dlg->onConnect();
    dlg->onDisconnect();
    EXPECT_EQ(dlg->port().connected, 0);
    EXPECT_EQ(boxes.texts(),
              (std::vector<QString>{"COM1 is not opened.", "COM1 open.", "COM1 already open.",
                                    "COM3 already open.", "COM3 is closed."}));
    for (const MessageRequest& box : boxes.shown) {
        EXPECT_EQ(box.icon, MessageIcon::Exclamation);
        EXPECT_EQ(box.caption, "ui_tests");
    }
}

TEST_F(EditorTest, DisconnectClosesOnlyAfterItsMessageIsDismissed) {
    PtyPort com1(1);
    dlg->onConnect();
    int connectedWhileShown = -1;
    boxes.whileOpen = [&](const MessageRequest&) { connectedWhileShown = dlg->port().connected; };
    dlg->onDisconnect();
    EXPECT_EQ(connectedWhileShown, 1);
    EXPECT_EQ(dlg->port().connected, 0);
}

TEST_F(EditorTest, ConnectToAMissingDeviceFails) {
    setenv("KESTROVA_COM4", "/nonexistent/kestrova-tty", 1);
    runSetup(*dlg, 3, -1, true);
    dlg->onConnect();
    unsetenv("KESTROVA_COM4");
    EXPECT_EQ(boxes.texts(), std::vector<QString>{"COM4 open fail."});
    EXPECT_EQ(dlg->port().connected, 0);
}

TEST_F(EditorTest, SetupKeepsItsChoicesAndCancelChangesNothing) {
    EXPECT_EQ(dlg->buildPortSettings(), buildPortSettings(0, 3));
    EXPECT_EQ(baudOf(dlg->buildPortSettings()), 9600u);
    runSetup(*dlg, 4, 4, true);
    EXPECT_EQ(dlg->setup().portIndex, 4);
    EXPECT_EQ(portOf(dlg->buildPortSettings()), 5u);
    EXPECT_EQ(baudOf(dlg->buildPortSettings()), 14400u);
    std::pair<int, int> shown{-1, -1};
    runSetup(*dlg, 1, 0, false, &shown);
    EXPECT_EQ(shown, std::make_pair(4, 4));
    EXPECT_EQ(dlg->setup().portIndex, 4);
    EXPECT_EQ(dlg->setup().baudIndex, 4);
    runSetup(*dlg, -1, -1, true, &shown);
    EXPECT_EQ(shown, std::make_pair(4, 4));
    runSetup(*dlg, 0, 0, true);
    EXPECT_EQ(dlg->buildPortSettings(), buildPortSettings(0, 0));
    EXPECT_EQ(baudOf(dlg->buildPortSettings()), 1200u);
}

}  // namespace
}  // namespace kestrova::test
