// SPDX-License-Identifier: MIT
#pragma once

// The editor window, connected through its own serial port to a kestrova-sim child process,
// over the network port (COM5) or over a pseudo-terminal (COM1).
#include <QComboBox>
#include <QPushButton>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "support/sim_process.h"
#include "support/temp_dir.h"
#include "ui/editor_fixture.h"

namespace kestrova::test {

enum class Transport { Tcp, Pty };

inline std::string transportName(const ::testing::TestParamInfo<Transport>& info) {
    return info.param == Transport::Tcp ? "Tcp" : "Pty";
}

class SimEditorTest : public EditorTest, public ::testing::WithParamInterface<Transport> {
  protected:
    void TearDown() override {
        EditorTest::TearDown();  // the window closes its port first
        sim.reset();
        unsetenv(variable().c_str());
    }

    // Starts the simulator with these extra arguments and connects the editor to it the way
    // a user does: Community > Setup picks the port, Community > Connect opens it.
    void startAndConnect(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args = GetParam() == Transport::Tcp
                                            ? std::vector<std::string>{"--port", "0"}
                                            : std::vector<std::string>{"--pty", "--link", link()};
        args.insert(args.end(), extra.begin(), extra.end());
        sim = std::make_unique<SimProcess>(args);
        ASSERT_TRUE(sim->started());
        const std::string device =
            GetParam() == Transport::Tcp ? "tcp:127.0.0.1:" + std::to_string(sim->port()) : link();
        setenv(variable().c_str(), device.c_str(), 1);
        choosePort(GetParam() == Transport::Tcp ? 4 : 0);
        connect();
    }

    void connect() {
        boxes.shown.clear();
        dlg->onConnect();
        ASSERT_EQ(boxes.texts(), std::vector<QString>{portName() + " open."});
        boxes.shown.clear();
    }

    void disconnect() {
        boxes.shown.clear();
        dlg->onDisconnect();
        ASSERT_EQ(boxes.texts(), std::vector<QString>{portName() + " is closed."});
        boxes.shown.clear();
    }

    // The Setup dialog, as the user fills it in: the port list, then OK.
    void choosePort(int index) {
        whenModalShown(dlg.get(), [index](QWidget* setup) {
            setup->findChild<QComboBox*>("control" + QString::number(id::kPortCombo))
                ->setCurrentIndex(index);
            QTest::mouseClick(setup->findChild<QPushButton*>("control" + QString::number(id::kOk)),
                              Qt::LeftButton);
        });
        dlg->onSetup();
    }

    QString portName() const { return GetParam() == Transport::Tcp ? "COM5" : "COM1"; }

    // Waits, handling the window's events, until `count` boxes have been shown.
    bool waitForBoxes(std::size_t count) {
        return spinUntil([&] { return boxes.shown.size() >= count; });
    }

    // Waits, handling the window's events, for a simulator line that holds `text`.
    std::optional<std::size_t> waitForSimLine(const std::string& text, std::size_t from = 0) {
        std::optional<std::size_t> found;
        spinUntil([&] { return (found = sim->findLine(text, from)).has_value(); });
        return found;
    }

    // Puts a page into the editor through To PC Load, as a user would from a page file;
    // files may hold values that the editor's own controls never offer.
    void loadPageFile(const PageRecord& record) {
        const std::filesystem::path path = dir / "page.kpf";
        const PageBytes bytes = toBytes(record);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        files.openPath = path;
        click(id::kPcLoad);
        ASSERT_EQ(motionPage.getRecord(), record);
    }

    std::string link() const { return dir / "robot"; }
    std::string variable() const {
        return GetParam() == Transport::Tcp ? "KESTROVA_COM5" : "KESTROVA_COM1";
    }

    TempDir dir;
    std::unique_ptr<SimProcess> sim;
};

}  // namespace kestrova::test
