// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "src/ui/detected_port.h"
#include "src/ui/dialog_builder.h"
#include "src/ui/system_port_enumerator.h"

class QComboBox;

// The port and baud-rate dialog (template 140). Its choices last for the run: OK copies the
// two lists' selections into the members, Cancel and the close button keep them. The PORT
// list offers COM1 to COM5, then the serial devices the system reports at each opening.
class CSetupDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CSetupDlg(QWidget* parent = nullptr);

    // Shows the dialog modally, its lists showing the current choices.
    int doModal();

    void accept() override;

    QComboBox* portList() const;
    QComboBox* baudList() const;

    // Where the detected devices come from; nullptr restores the system's list.
    void setPortEnumerator(const kestrova::PortEnumerator* enumerator);

    // The detected device chosen with OK, or nothing when a COM choice is.
    const std::optional<kestrova::DetectedPort>& chosenDevice() const { return device; }

    int baudIndex = 3;  // "9600"
    int portIndex = 0;  // "COM1"; past the COM choices, the entry the device had at OK

  private:
    void listDetectedPorts();
    // The chosen device's place among `listed`, by its path; listed.size() when absent.
    int deviceEntry() const;

    kestrova::BuiltDialog built;
    int comChoices = 0;  // the template's own entries
    kestrova::SystemPortEnumerator systemPorts;
    const kestrova::PortEnumerator* ports = &systemPorts;
    std::vector<kestrova::DetectedPort> listed;  // the entries after the COM choices
    std::optional<kestrova::DetectedPort> device;
};
