// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include "ui/dialog_builder.h"

class QComboBox;

// The port and baud-rate dialog (template 140). Its choices last for the run: OK copies the
// two lists' selections into the members, Cancel and the close button keep them.
class CSetupDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CSetupDlg(QWidget* parent = nullptr);

    // Shows the dialog modally, its lists showing the current choices.
    int doModal();

    void accept() override;

    QComboBox* portList() const;
    QComboBox* baudList() const;

    int baudIndex = 3;  // "9600"
    int portIndex = 0;  // "COM1"

  private:
    kestrova::BuiltDialog built;
};
