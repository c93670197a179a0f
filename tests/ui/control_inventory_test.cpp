// SPDX-License-Identifier: MIT
// The main window as built from its template: what the builder makes of each row, a few
// controls by name, the tab order and the window's start-up state.
#include <QCheckBox>
#include <QMenuBar>
#include <map>
#include <set>

#include "editor_fixture.h"
#include "resources/templates.h"
#include "ui/dialog_builder.h"

namespace kestrova::test {
namespace {

TEST_F(EditorTest, EveryControlIsBuiltFromItsTemplateRowInTemplateAndTabOrder) {
    const std::span<const res::ControlTemplate> rows = res::editorDialog.controls;
    ASSERT_EQ(dlg->controls().size(), rows.size());
    const DialogUnits units(dialogFont(res::editorDialog));
    std::vector<int> tabStops;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const res::ControlTemplate& row = rows[i];
        const QWidget* w = dlg->controls()[i];
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_EQ(w->property("controlId").toInt(), row.id);
        const int cy = row.kind == res::Kind::DropList ? kDropListClosedHeight : row.cy;
        EXPECT_EQ(w->geometry(), units.toPixels(row.x, row.y, row.cx, cy));
        EXPECT_EQ(w->isVisible(), (row.style & res::kHidden) == 0);
        EXPECT_EQ(w->property("readOnly").toBool(), (row.style & res::kReadOnly) != 0);
        EXPECT_EQ((w->focusPolicy() & Qt::TabFocus) != 0, (row.style & res::kTabStop) != 0);
        if (std::set{res::Kind::Label, res::Kind::GroupBox, res::Kind::PushButton,
                     res::Kind::CheckBox}
                .contains(row.kind)) {
            const char* caption = w->property("title").isValid() ? "title" : "text";
            EXPECT_EQ(w->property(caption).toString().toStdString(), row.text);
        }
        if (row.style & res::kTabStop) {
            tabStops.push_back(row.id);
        }
    }
    std::vector<int> chain;
    QWidget* w = dlg->control(id::kMotorEdit0);
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && w->property("controlId").isValid()) {
            chain.push_back(w->property("controlId").toInt());
        }
        w = w->nextInFocusChain();
    } while (w != dlg->control(id::kMotorEdit0) && chain.size() <= tabStops.size());
    EXPECT_EQ(chain, tabStops);

    const std::map<int, std::pair<const char*, QString>> spots{
        {id::kMotorEdit0, {"QLineEdit", ""}},
        {id::kStepCombo, {"QComboBox", "0"}},
        {id::kNextPageCombo, {"QComboBox", "None"}},
        {id::kPageNameEdit, {"QLineEdit", "Noname"}},
        {id::kGetStep, {"QPushButton", "Get Step"}},
        {id::kStepTable, {"CStepTableView", ""}},
        {id::kLinkToTarget, {"QCheckBox", "Link to Target"}},
        {id::kPictureFrame, {"QFrame", ""}},
        {id::kRobotPicture, {"QLabel", ""}},
        {id::kUpDown0, {"QWidget", ""}}};
    for (const auto& [controlId, spot] : spots) {
        EXPECT_STREQ(dlg->control(controlId)->metaObject()->className(), spot.first) << controlId;
        EXPECT_EQ(dlg->readText(controlId), spot.second) << controlId;
    }
}

TEST_F(EditorTest, WindowMenuAndStartUpState) {
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
    EXPECT_FALSE(widget<QCheckBox>(id::kLinkToTarget)->isChecked());
    EXPECT_FALSE(widget<QCheckBox>(id::kPositionLock)->isChecked());
    ASSERT_EQ(widget<QComboBox>(id::kRepeatCombo)->count(), 254);
    EXPECT_EQ(widget<QComboBox>(id::kRepeatCombo)->itemText(253), "254");
    EXPECT_EQ(dlg->control(id::kRobotPicture)->parentWidget(), dlg->control(id::kPictureFrame));
    EXPECT_FALSE(dlg->windowIcon().isNull());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(dlg->port().connected);
    EXPECT_EQ(dlg->minimumSize(), dlg->maximumSize());
    EXPECT_FALSE(dlg->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(dlg->windowFlags() & Qt::WindowMinimizeButtonHint);
}

}  // namespace
}  // namespace kestrova::test
