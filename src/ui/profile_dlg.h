// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "src/profile/robot_profile.h"

class QLineEdit;
class QTableWidget;

// Edit Profile: the profile's name and one row per motor (label, name, group, side, min, home,
// max, partner, invert). Numbers are checked as they are typed; the whole profile is checked
// as the profile reader checks a file when Save or Save As hands it on.
class CProfileDlg : public QDialog {
    Q_OBJECT

  public:
    enum Column { Label, Name, Group, SideColumn, Min, Home, Max, Partner, Invert, ColumnCount };
    // `save` gets the profile and whether the user asked for a new file; `refuse` shows why
    // the rows do not make a profile.
    using Save = std::function<void(const kestrova::RobotProfile&, bool saveAs)>;
    using Refuse = std::function<void(const QString&)>;
    CProfileDlg(const kestrova::RobotProfile& profile, Save save, Refuse refuse,
                QWidget* parent = nullptr);

    QTableWidget* table() const { return rows; }
    QLineEdit* nameEdit() const { return name; }
    // The rows as a profile, or nothing when the reader refuses them (the reason shown).
    std::optional<kestrova::RobotProfile> edited() const;

  private:
    void fillRow(int row, const kestrova::MotorProfile& motor);
    std::string rowText(int row) const;
    void onSave(bool saveAs);

    QLineEdit* name = nullptr;
    QTableWidget* rows = nullptr;
    Save save;
    Refuse refuse;
};
