// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <cstddef>
#include <memory>

#include "src/model/page_record.h"
#include "src/ui/curves_geometry.h"
#include "src/ui/curves_labels.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableView;
class QVBoxLayout;

namespace kestrova {

class CurvesPlot;
class CurvesTableModel;
class MessageBoxes;
class PicturePaths;

// The Curves window: the page as curves beside the list of the 22 motors, ACC and Rate to
// choose from, the points as a table, Interpolate and Save Picture. It is shown the page by
// its owner (showPage) and asks for changes (pageEdited, stepChosen); during a drag it only
// previews. It never sends anything to the robot.
//
// Test seams: `paths` chooses where Save Picture writes, `boxes` shows its failure; nullptr
// for the real dialogs.
class CurvesWindow : public QWidget {
    Q_OBJECT

  public:
    explicit CurvesWindow(QWidget* parent = nullptr, PicturePaths* paths = nullptr,
                          MessageBoxes* boxes = nullptr);
    ~CurvesWindow() override;

    CurvesPlot* plot() const { return plotView; }
    QListWidget* curveList() const { return list; }
    QTableView* pointsTable() const { return table; }
    QLabel* hoverLabel() const { return hoverText; }

    // Writes the chosen curves as they are shown, at the plot's size; false when it failed.
    bool savePicture(const QString& path);

  public slots:
    void showPage(const kestrova::PageRecord& page, int step);
    // Names, groups and limits from a robot profile; nullopt for none.
    void setProfile(const kestrova::OptionalProfile& profile);

  signals:
    // A finished change: one undo step named `label` ("Drag Point", "Move Point",
    // "Interpolate").
    void pageEdited(const kestrova::PageRecord& page, const QString& label);
    void stepChosen(int step);

  private:
    QWidget* buildChoicePane();
    QWidget* buildActionRow();
    void fillList();
    void rebuildGroupButtons();
    void choose(const CurveChoice& choice);
    void onListChanged();
    void onEdited(const PageRecord& page, const QString& label);
    void onInterpolate();
    void onSavePicture();

    std::unique_ptr<PicturePaths> ownPaths;
    std::unique_ptr<MessageBoxes> ownBoxes;
    PicturePaths& paths;
    MessageBoxes& boxes;
    OptionalProfile profile;
    CurvesPlot* plotView = nullptr;
    CurvesTableModel* model = nullptr;
    QListWidget* list = nullptr;
    QTableView* table = nullptr;
    QLabel* hoverText = nullptr;
    QVBoxLayout* groupButtons = nullptr;
    QComboBox* fromStep = nullptr;
    QComboBox* toStep = nullptr;
};

}  // namespace kestrova
