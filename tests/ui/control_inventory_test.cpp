// SPDX-License-Identifier: MIT
// Every control of the main window against the window's layout: identifier, class, caption,
// position in dialog units, visibility, read-only state and tab order.
#include <QLineEdit>
#include <QMenuBar>
#include <string>
#include <vector>

#include "editor_fixture.h"
#include "resources/templates.h"
#include "ui/dialog_builder.h"

namespace kestrova::test {
namespace {

struct Expected {
    int id;
    const char* className;
    QString caption;
    int x, y, cx, cy;
    bool visible = true;
    bool readOnly = false;
    bool tabStop = false;
};

std::vector<Expected> expectedControls() {
    std::vector<Expected> rows;
    for (int k = 0; k < 22; ++k) {
        rows.push_back({1000 + k, "QLineEdit", "", 235, 31 + 14 * k, 21, 12, true, true, true});
    }
    rows.push_back({1022, "QLineEdit", "", 235, 339, 21, 12, true, true, true});
    rows.push_back({1023, "QLineEdit", "", 235, 353, 21, 12, true, true, true});
    for (int k = 0; k < 22; ++k) {
        rows.push_back({-1, "QLabel", QString::number(k + 1), 210, 34 + 14 * k, 24, 8});
    }
    const std::vector<Expected> rest = {
        {-1, "QLabel", "ACC", 210, 342, 24, 8},
        {-1, "QLabel", "Rate", 210, 356, 24, 8},
        {-1, "QGroupBox", "Step edit", 207, 5, 53, 418},
        {1025, "QComboBox", "0", 235, 17, 21, 12, true, false, true},
        {-1, "QLabel", "STEP", 214, 21, 19, 8},
        {1027, "QPushButton", "Get Step", 216, 386, 37, 14, true, false, true},
        {1028, "QPushButton", "Set Step", 216, 368, 37, 13, true, false, true},
        {-1, "QGroupBox", "Page Information", 263, 5, 225, 438},
        {-1, "QLabel", "Page Num", 268, 375, 35, 8},
        {-1, "QLabel", "Page Name", 343, 375, 39, 8},
        {-1, "QLabel", "Enable Step", 268, 392, 40, 8},
        {-1, "QLabel", "Next Page", 343, 393, 35, 8},
        {-1, "QLabel", "Repeat", 419, 393, 23, 8},
        {1030, "QComboBox", "0", 309, 372, 25, 12, true, false, true},
        {1031, "QComboBox", "0", 309, 390, 25, 12, true, false, true},
        {1032, "QComboBox", "None", 384, 390, 29, 12, true, false, true},
        {1033, "QLineEdit", "Noname", 384, 373, 48, 12, true, false, true},
        {1035, "QPushButton", "PLAY", 448, 419, 35, 16, true, false, true},
        {1043, "CStepTableView", "", 269, 13, 219, 346},
        {-1, "QGroupBox", "To Target", 267, 408, 78, 31},
        {1036, "QPushButton", "Save", 272, 419, 33, 15, true, false, true},
        {1037, "QPushButton", "Load", 307, 419, 33, 15, true, false, true},
        {-1, "QGroupBox", "To PC", 352, 408, 78, 31},
        {1038, "QPushButton", "Save", 357, 419, 33, 15, true, false, true},
        {1039, "QPushButton", "Load", 392, 419, 33, 15, true, false, true},
        {-1, "QGroupBox", "Motor Position", 7, 5, 197, 402},
        {1040, "QCheckBox", "Position Lock", 80, 394, 59, 10, true, false, true},
        {1041, "QCheckBox", "Link to Target", 140, 394, 60, 10, true, false, true},
        {1046, "QComboBox", "1", 448, 391, 29, 12, true, false, true},
        {1, "QPushButton", "Button1", 57, 420, 50, 15, false, false, true},
        {2, "QPushButton", "Button2", 133, 416, 43, 21, false, false, true},
        {1053, "QFrame", "", 11, 14, 187, 376},
        {1055, "QLabel", "", 0, 0, 189, 336, false},
    };
    rows.insert(rows.end(), rest.begin(), rest.end());
    const int spinX[22] = {198, 197, 198, 197, 197, 196, 197, 196, 196, 195, 196,
                           195, 195, 194, 195, 194, 197, 196, 197, 196, 196, 195};
    const int spinY[22] = {42,  53,  63,  75,  88,  100, 109, 122, 134, 146, 155,
                           168, 181, 193, 202, 214, 226, 237, 247, 260, 273, 285};
    for (int k = 0; k < 22; ++k) {
        rows.push_back(
            {1062 + k, "QWidget", "", spinX[k], spinY[k], k % 2 == 0 ? 7 : 6, 12, false});
    }
    rows.push_back({1084, "QWidget", "", 196, 293, 7, 12, false});
    rows.push_back({1085, "QWidget", "", 195, 306, 6, 12, false});
    rows.push_back({1029, "QPushButton", "Reset", 216, 404, 37, 14, true, false, true});
    rows.push_back({1034, "QPushButton", "Reset", 442, 367, 37, 14, true, false, true});
    return rows;
}

TEST_F(EditorTest, EveryControlMatchesTheWindowLayoutInTemplateOrder) {
    const std::vector<Expected> rows = expectedControls();
    const std::vector<QWidget*>& controls = dlg->controls();
    ASSERT_EQ(controls.size(), rows.size());
    const DialogUnits units(dialogFont(res::editorDialog));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Expected& row = rows[i];
        QWidget* w = controls[i];
        SCOPED_TRACE("control #" + std::to_string(i) + " id " + std::to_string(row.id));
        EXPECT_EQ(w->property("controlId").toInt(), row.id);
        EXPECT_STREQ(w->metaObject()->className(), row.className);
        if (row.id != -1) {
            EXPECT_EQ(dlg->control(row.id), w);
        }
        if (row.id != 1055) {  // the picture now lives in the frame
            EXPECT_EQ(w->parentWidget(), controls.front()->parentWidget());
        }
        const QString caption =
            row.id == -1 ? (w->property("title").isValid() ? w->property("title").toString()
                                                           : w->property("text").toString())
                         : dlg->readText(row.id);
        EXPECT_EQ(caption, row.caption);
        EXPECT_EQ(w->geometry(), units.toPixels(row.x, row.y, row.cx, row.cy));
        EXPECT_EQ(w->isVisible(), row.visible);
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            EXPECT_EQ(edit->isReadOnly(), row.readOnly);
        }
        EXPECT_EQ((w->focusPolicy() & Qt::TabFocus) != 0, row.tabStop);
    }
}

TEST_F(EditorTest, TabOrderFollowsTheTemplate) {
    std::vector<int> expected;
    for (const Expected& row : expectedControls()) {
        if (row.tabStop) {
            expected.push_back(row.id);
        }
    }
    std::vector<int> chain;
    QWidget* first = dlg->control(1000);
    QWidget* w = first;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && w->property("controlId").isValid()) {
            chain.push_back(w->property("controlId").toInt());
        }
        w = w->nextInFocusChain();
    } while (w != first && chain.size() <= expected.size());
    EXPECT_EQ(chain, expected);
}

TEST_F(EditorTest, WindowHasItsCaptionMenuAndFixedSize) {
    EXPECT_EQ(dlg->windowTitle(), "Kestrova");
    QStringList menus;
    for (QAction* action : dlg->menuBar()->actions()) {
        menus << action->text();
    }
    EXPECT_EQ(menus, QStringList({"&File", "&Community"}));
    QStringList community;
    for (QAction* action : dlg->menuBar()->actions().at(1)->menu()->actions()) {
        community << action->text();
    }
    EXPECT_EQ(community, QStringList({"&Connect", "&Disconnect", "&Setup"}));
    EXPECT_EQ(dlg->minimumSize(), dlg->maximumSize());
    EXPECT_FALSE(dlg->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(dlg->windowFlags() & Qt::WindowMinimizeButtonHint);
}

}  // namespace
}  // namespace kestrova::test
