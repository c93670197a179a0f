// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

// The About box (template 100), modal over the main window; its button, Enter and Escape
// close it.
class CAboutDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
