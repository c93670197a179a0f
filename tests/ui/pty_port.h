// SPDX-License-Identifier: MIT
#pragma once

// A pseudo-terminal standing in for the controller's serial line: the editor opens the slave
// as COM1 (through KESTROVA_COM1), the test plays the controller on the master.
#include <cstdlib>
#include <limits>

#include "editor_fixture.h"
#include "serial/pty_pair.h"

namespace kestrova::test {

class PtyPort {
  public:
    PtyPort() {
        if (pty.valid()) {
            setenv("KESTROVA_COM1", pty.path().c_str(), 1);
        }
    }
    ~PtyPort() { unsetenv("KESTROVA_COM1"); }
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    bool isOpen() const { return pty.valid(); }
    bool send(const Bytes& bytes) const { return pty.send(bytes); }

    // Everything the editor has written within `wait`.
    Bytes drain(std::chrono::milliseconds wait = std::chrono::milliseconds(300)) {
        return receiveFrom(pty.master(), std::numeric_limits<std::size_t>::max(), wait);
    }

  private:
    PtyPair pty;
};

// A main window connected on COM1 to a pseudo-terminal, with the connect message cleared.
class ConnectedEditorTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        ASSERT_TRUE(pty.isOpen());
        dlg->onConnect();
        ASSERT_EQ(dlg->port().connected, 1);
        boxes.shown.clear();
    }

    PtyPort pty;
};

}  // namespace kestrova::test
