// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QTest>
#include <memory>

#include "model/motion_page.h"
#include "recording_seams.h"
#include "resources/resource_ids.h"
#include "ui/editor_dlg.h"

namespace kestrova::test {

namespace id = res::id;

// A main window on the default page with recording seams; shown, so that input reaches it.
class EditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        motionPage.reset();
        dlg = std::make_unique<CEditorDlg>(&boxes, &files);
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    }
    void TearDown() override { dlg.reset(); }

    template <typename W>
    W* widget(int controlId) const {
        return qobject_cast<W*>(dlg->control(controlId));
    }

    QStringList readTexts(std::initializer_list<int> controlIds) const {
        QStringList texts;
        for (int controlId : controlIds) {
            texts << dlg->readText(controlId);
        }
        return texts;
    }

    void click(int controlId) const { QTest::mouseClick(dlg->control(controlId), Qt::LeftButton); }

    // Chooses a list entry as the user does: open the list, pick with the keyboard.
    void choose(int controlId, int index) const {
        auto* combo = widget<QComboBox>(controlId);
        combo->setFocus();
        combo->showPopup();
        QAbstractItemView* list = combo->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
        list->setCurrentIndex(combo->model()->index(index, 0));
        QTest::keyClick(list, Qt::Key_Return);
    }

    // Types characters beyond ASCII, which QTest's key helpers cannot.
    static void typeText(QWidget* target, const QString& text) {
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(target, &press);
        }
    }

    RecordingMessageBoxes boxes;
    ScriptedFileDialogs files{boxes};
    std::unique_ptr<CEditorDlg> dlg;
};

}  // namespace kestrova::test
