// SPDX-License-Identifier: MIT
// Setup's detected serial devices: the PORT list, a device that goes away, and Connect and
// Disconnect on a device, with its messages.
#include <QPushButton>

#include "src/ui/port_enumerator.h"
#include "tests/ui/editor_fixture.h"

namespace kestrova::test {
namespace {

// COM1's own device, and an adapter that KESTROVA_COM2 names, as the system lists them.
#ifdef _WIN32
constexpr const char* kCom1Device = R"(\\.\COM1)";
constexpr const char* kAdapter = "COM17";
constexpr const char* kAdapterDevice = R"(\\.\COM17)";
#else
constexpr const char* kCom1Device = "/dev/ttyS0";
constexpr const char* kAdapter = "/dev/ttyUSB7";
constexpr const char* kAdapterDevice = "/dev/ttyUSB7";
#endif

struct ListedPorts : PortEnumerator {
    std::vector<DetectedPort> detectedPorts() const override { return ports; }
    std::vector<DetectedPort> ports;
};

class SetupPortsTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        dlg->setup().setPortEnumerator(&enumerator);
    }

    // Opens Setup, returns its PORT entries and the selected one, and confirms `entry` with
    // OK (an empty one cancels).
    std::pair<QStringList, QString> runSetup(const QString& entry = {}) {
        std::pair<QStringList, QString> shown;
        whenModalShown(dlg.get(), [&](QWidget* setup) {
            auto* list = setup->findChild<QComboBox*>("control1057");
            for (int i = 0; i < list->count(); ++i) {
                shown.first << list->itemText(i);
            }
            shown.second = list->currentText();
            list->setCurrentIndex(list->findText(entry));
            const char* button = entry.isEmpty() ? "control2" : "control1";
            QTest::mouseClick(setup->findChild<QPushButton*>(button), Qt::LeftButton);
        });
        dlg->onSetup();
        return shown;
    }

    ListedPorts enumerator;
};

TEST_F(SetupPortsTest, ListsDetectedDevicesAfterTheComChoicesOnceEach) {
    const QStringList com{"COM1", "COM2", "COM3", "COM4", "COM5"};
    qputenv("KESTROVA_COM2", QByteArray(kAdapter));
    const struct {
        std::vector<DetectedPort> ports;
        QStringList after;
    } cases[] = {
        {{}, {}},
        {{{"ttyUSB0", "FT232R USB UART", "/dev/ttyUSB0"}, {"ttyACM0", "", "/dev/ttyACM0"}},
         {"ttyUSB0 (FT232R USB UART)", "ttyACM0"}},
        {{{"ttyS0", "", kCom1Device}, {"ttyUSB7", "CP2102", kAdapterDevice}}, {}},  // COM1, COM2
    };
    for (const auto& [ports, after] : cases) {
        enumerator.ports = ports;
        EXPECT_EQ(runSetup(), std::make_pair(com + after, QString("COM1")));
    }
    qunsetenv("KESTROVA_COM2");
}

TEST_F(SetupPortsTest, AChosenDeviceThatHasGoneStaysChosenAndFailsToOpen) {
    enumerator.ports = {{"ttyUSB0", "", "/nonexistent/ttyUSB0"}, {"ttyACM0", "", "/dev/ttyACM0"}};
    runSetup("ttyUSB0");
    enumerator.ports = {{"ttyACM0", "", "/dev/ttyACM0"}};
    const auto [entries, selected] = runSetup();
    EXPECT_EQ(entries.mid(5), (QStringList{"ttyACM0", "ttyUSB0"}));
    EXPECT_EQ(selected, "ttyUSB0");
    dlg->onConnect();
    EXPECT_EQ(session().port().isConnected(), false);
    EXPECT_EQ(boxes.texts(), std::vector<QString>{"ttyUSB0 open fail."});
}

// Which port a message names, open or chosen, is the session's test.
TEST_F(SetupPortsTest, ConnectOpensTheChosenDeviceAndItsMessagesNameIt) {
    PtyPair pty;
    enumerator.ports = {{"pty0", "pseudo-terminal", QString::fromStdString(pty.path())}};
    runSetup("pty0 (pseudo-terminal)");
    dlg->onConnect();
    session().sendPageRead();
    EXPECT_EQ(pty.receive(9), (Bytes{0x23, 0x23, 0x23, 'r', 0, 0xFE, 0xFE, 0xFE, 0x0A}));
    dlg->onDisconnect();
    EXPECT_EQ(boxes.texts(), (std::vector<QString>{"pty0 open.", "pty0 is closed."}));
    for (const MessageRequest& box : boxes.shown) {
        EXPECT_EQ(std::tuple(box.icon, box.caption, box.owner),
                  std::tuple(MessageIcon::Exclamation, QString("ui_tests"), dlg.get()));
    }
}

}  // namespace
}  // namespace kestrova::test
