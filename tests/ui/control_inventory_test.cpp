// SPDX-License-Identifier: MIT
// Every control of the main window against the window's layout: identifier, class, caption,
// position in dialog units, visibility, read-only state and tab order; and the window itself
// with its start-up state.
#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <string>
#include <vector>

#include "editor_fixture.h"
#include "resources/templates.h"
#include "ui/dialog_builder.h"

namespace kestrova::test {
namespace {

enum Flags { kHidden = 0, kShown = 1, kReadOnly = 2, kTab = 4, kShownTab = kShown | kTab };

struct Expected {
    int id;
    const char* className;
    QString caption;
    int x, y, cx, cy;
    int flags = kShown;
};

std::vector<Expected> expectedControls() {
    std::vector<Expected> rows;
    for (int k = 0; k < 24; ++k) {  // M1..M22, ACC, Rate
        rows.push_back(
            {1000 + k, "QLineEdit", "", 235, 31 + 14 * k, 21, 12, kShownTab | kReadOnly});
    }
    for (int k = 0; k < 22; ++k) {
        rows.push_back({-1, "QLabel", QString::number(k + 1), 210, 34 + 14 * k, 24, 8});
    }
    const std::vector<Expected> rest = {
        {-1, "QLabel", "ACC", 210, 342, 24, 8},
        {-1, "QLabel", "Rate", 210, 356, 24, 8},
        {-1, "QGroupBox", "Step edit", 207, 5, 53, 418},
        {1025, "QComboBox", "0", 235, 17, 21, 12, kShownTab},
        {-1, "QLabel", "STEP", 214, 21, 19, 8},
        {1027, "QPushButton", "Get Step", 216, 386, 37, 14, kShownTab},
        {1028, "QPushButton", "Set Step", 216, 368, 37, 13, kShownTab},
        {-1, "QGroupBox", "Page Information", 263, 5, 225, 438},
        {-1, "QLabel", "Page Num", 268, 375, 35, 8},
        {-1, "QLabel", "Page Name", 343, 375, 39, 8},
        {-1, "QLabel", "Enable Step", 268, 392, 40, 8},
        {-1, "QLabel", "Next Page", 343, 393, 35, 8},
        {-1, "QLabel", "Repeat", 419, 393, 23, 8},
        {1030, "QComboBox", "0", 309, 372, 25, 12, kShownTab},
        {1031, "QComboBox", "0", 309, 390, 25, 12, kShownTab},
        {1032, "QComboBox", "None", 384, 390, 29, 12, kShownTab},
        {1033, "QLineEdit", "Noname", 384, 373, 48, 12, kShownTab},
        {1035, "QPushButton", "PLAY", 448, 419, 35, 16, kShownTab},
        {1043, "CStepTableView", "", 269, 13, 219, 346},
        {-1, "QGroupBox", "To Target", 267, 408, 78, 31},
        {1036, "QPushButton", "Save", 272, 419, 33, 15, kShownTab},
        {1037, "QPushButton", "Load", 307, 419, 33, 15, kShownTab},
        {-1, "QGroupBox", "To PC", 352, 408, 78, 31},
        {1038, "QPushButton", "Save", 357, 419, 33, 15, kShownTab},
        {1039, "QPushButton", "Load", 392, 419, 33, 15, kShownTab},
        {-1, "QGroupBox", "Motor Position", 7, 5, 197, 402},
        {1040, "QCheckBox", "Position Lock", 80, 394, 59, 10, kShownTab},
        {1041, "QCheckBox", "Link to Target", 140, 394, 60, 10, kShownTab},
        {1046, "QComboBox", "1", 448, 391, 29, 12, kShownTab},
        {1, "QPushButton", "Button1", 57, 420, 50, 15, kTab},
        {2, "QPushButton", "Button2", 133, 416, 43, 21, kTab},
        {1053, "QFrame", "", 11, 14, 187, 376},
        {1055, "QLabel", "", 0, 0, 189, 336, kHidden},
    };
    rows.insert(rows.end(), rest.begin(), rest.end());
    // The hidden up-downs of the 24 step fields.
    const int spinX[24] = {198, 197, 198, 197, 197, 196, 197, 196, 196, 195, 196, 195,
                           195, 194, 195, 194, 197, 196, 197, 196, 196, 195, 196, 195};
    const int spinY[24] = {42,  53,  63,  75,  88,  100, 109, 122, 134, 146, 155, 168,
                           181, 193, 202, 214, 226, 237, 247, 260, 273, 285, 293, 306};
    for (int k = 0; k < 24; ++k) {
        rows.push_back({1062 + k, "QWidget", "", spinX[k], spinY[k], 7 - k % 2, 12, kHidden});
    }
    rows.push_back({1029, "QPushButton", "Reset", 216, 404, 37, 14, kShownTab});
    rows.push_back({1034, "QPushButton", "Reset", 442, 367, 37, 14, kShownTab});
    return rows;
}

TEST_F(EditorTest, EveryControlMatchesTheWindowLayoutInTemplateAndTabOrderAtStartUp) {
    const std::vector<Expected> rows = expectedControls();
    const std::vector<QWidget*>& controls = dlg->controls();
    ASSERT_EQ(controls.size(), rows.size());
    const DialogUnits units(dialogFont(res::editorDialog));
    std::vector<int> tabStops;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Expected& row = rows[i];
        QWidget* w = controls[i];
        SCOPED_TRACE("control #" + std::to_string(i) + " id " + std::to_string(row.id));
        EXPECT_EQ(w->property("controlId").toInt(), row.id);
        EXPECT_STREQ(w->metaObject()->className(), row.className);
        EXPECT_TRUE(row.id == -1 || dlg->control(row.id) == w);
        // The picture lives in the frame; everything else on the dialog itself.
        EXPECT_TRUE(row.id == 1055 || w->parentWidget() == controls.front()->parentWidget());
        const char* captionProperty = w->property("title").isValid() ? "title" : "text";
        EXPECT_EQ(row.id == -1 ? w->property(captionProperty).toString() : dlg->readText(row.id),
                  row.caption);
        EXPECT_EQ(w->geometry(), units.toPixels(row.x, row.y, row.cx, row.cy));
        EXPECT_EQ(w->isVisible(), (row.flags & kShown) != 0);
        EXPECT_EQ(w->property("readOnly").toBool(), (row.flags & kReadOnly) != 0);
        EXPECT_EQ((w->focusPolicy() & Qt::TabFocus) != 0, (row.flags & kTab) != 0);
        if (row.flags & kTab) {
            tabStops.push_back(row.id);
        }
    }
    std::vector<int> chain;
    QWidget* w = dlg->control(1000);
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && w->property("controlId").isValid()) {
            chain.push_back(w->property("controlId").toInt());
        }
        w = w->nextInFocusChain();
    } while (w != dlg->control(1000) && chain.size() <= tabStops.size());
    EXPECT_EQ(chain, tabStops);

    EXPECT_EQ(dlg->windowTitle(), "Kestrova");
    QStringList menus;
    for (QAction* action : dlg->menuBar()->actions()) {
        menus << action->text();
        for (QAction* item : action->menu()->actions()) {
            menus << item->text();
        }
    }
    EXPECT_EQ(menus, QStringList({"&File", "&Exit", "", QString::fromUtf8("Tandrel 정보(&A)..."),
                                  "&Community", "&Connect", "&Disconnect", "&Setup"}));
    // The start-up state beyond the controls' texts.
    EXPECT_FALSE(widget<QCheckBox>(id::kLinkToTarget)->isChecked());
    EXPECT_FALSE(widget<QCheckBox>(id::kPositionLock)->isChecked());
    ASSERT_EQ(widget<QComboBox>(id::kRepeatCombo)->count(), 254);
    EXPECT_EQ(widget<QComboBox>(id::kRepeatCombo)->itemText(253), "254");
    EXPECT_EQ(widget<QLabel>(id::kRobotPicture)->parentWidget(), dlg->control(id::kPictureFrame));
    EXPECT_FALSE(dlg->windowIcon().isNull());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(dlg->port().connected);
    EXPECT_EQ(dlg->minimumSize(), dlg->maximumSize());
    EXPECT_FALSE(dlg->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(dlg->windowFlags() & Qt::WindowMinimizeButtonHint);
}

}  // namespace
}  // namespace kestrova::test
