// SPDX-License-Identifier: MIT
// Connect, Disconnect and Setup: messages, the number in them, and the Setup dialog's choices.
#include <QPushButton>

#include "editor_fixture.h"

namespace kestrova::test {
namespace {

// Opens Setup, picks the entries (-1 keeps a list as it is), presses OK or Cancel, and returns
// the entries the dialog showed when it opened.
std::pair<int, int> runSetup(CEditorDlg& dlg, int port, int baud, bool confirm) {
    std::pair<int, int> shown{-1, -1};
    whenModalShown(&dlg, [&shown, port, baud, confirm](QWidget* setup) {
        auto* ports = childControl<QComboBox>(setup, id::kPortCombo);
        auto* bauds = childControl<QComboBox>(setup, id::kBaudCombo);
        shown = {ports->currentIndex(), bauds->currentIndex()};
        ports->setCurrentIndex(port >= 0 ? port : ports->currentIndex());
        bauds->setCurrentIndex(baud >= 0 ? baud : bauds->currentIndex());
        QTest::mouseClick(childControl<QPushButton>(setup, confirm ? id::kOk : id::kCancel),
                          Qt::LeftButton);
    });
    dlg.onSetup();
    return shown;
}

TEST_F(PtyEditorTest, ConnectDisconnectReportWithTheChosenNumberAndAMissingDeviceFails) {
    dlg->onDisconnect();
    dlg->onConnect();
    dlg->onConnect();
    ASSERT_EQ(dlg->port().connected, 1);
    runSetup(*dlg, 2, -1, true);  // the number follows the choice, not the open port
    dlg->onConnect();
    // The port closes only once its message has been dismissed.
    int connectedWhileShown = -1;
    boxes.whileOpen = [&](const MessageRequest&) { connectedWhileShown = dlg->port().connected; };
    dlg->onDisconnect();
    boxes.whileOpen = nullptr;
    EXPECT_EQ(connectedWhileShown, 1);
    EXPECT_EQ(dlg->port().connected, 0);
    setenv("KESTROVA_COM4", "/nonexistent/kestrova-tty", 1);
    runSetup(*dlg, 3, -1, true);
    dlg->onConnect();
    unsetenv("KESTROVA_COM4");
    EXPECT_EQ(dlg->port().connected, 0);
    EXPECT_EQ(boxes.texts(),
              (std::vector<QString>{"COM1 is not opened.", "COM1 open.", "COM1 already open.",
                                    "COM3 already open.", "COM3 is closed.", "COM4 open fail."}));
    for (const MessageRequest& box : boxes.shown) {
        EXPECT_EQ(box.icon, MessageIcon::Exclamation);
        EXPECT_EQ(box.caption, "ui_tests");
    }
}

TEST_F(EditorTest, SetupKeepsItsChoicesAndCancelChangesNothing) {
    EXPECT_EQ(dlg->buildPortSettings(), buildPortSettings(0, 3));
    EXPECT_EQ(runSetup(*dlg, 4, 4, true), std::make_pair(0, 3));
    const PortSettings chosen = dlg->buildPortSettings();
    EXPECT_EQ(std::make_pair(+chosen.portNumber, std::uint32_t{chosen.baudRate}),
              std::make_pair(5, 14400u));
    EXPECT_EQ(runSetup(*dlg, 1, 0, false), std::make_pair(4, 4));
    EXPECT_EQ(runSetup(*dlg, -1, -1, true), std::make_pair(4, 4));
    EXPECT_EQ(dlg->buildPortSettings(), buildPortSettings(4, 4));
}

}  // namespace
}  // namespace kestrova::test
