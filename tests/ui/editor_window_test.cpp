// SPDX-License-Identifier: MIT
// The main window as built from its template, its menu, keys and About box, Connect,
// Disconnect and Setup with their messages, replies that arrive while a box is open, how the
// window and the program end; the page controls against the page object, and To PC Save and
// Load with the real page-file dialogs. The page file's edge cases are the model's tests; a
// load that refreshes the controls runs end to end.
#include <QFileDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

#include "resources/templates.h"
#include "src/platform/system_menu.h"
#include "src/ui/dialog_builder.h"
#include "src/ui/editor_app.h"
#include "tests/ui/editor_fixture.h"

namespace kestrova::test {
namespace {

// Worked by hand: units x base / 4 across, units x base / 8 down, halves rounded up.
TEST(DialogUnitsTest, ScaleAsThePlatformRounds) {
    // Base width and height, x, y, cx, cy in units; the pixels.
    const std::tuple<int, int, int, int, int, int, QRect> cases[] = {
        {6, 13, 9, 57, 50, 14, QRect(14, 93, 75, 23)},
        {7, 16, 1, 3, 2, 1, QRect(2, 6, 4, 2)},
        {5, 12, 2, 5, 0, 8, QRect(3, 8, 0, 12)}};
    for (const auto& [width, height, x, y, cx, cy, pixels] : cases) {
        EXPECT_EQ(DialogUnits(width, height).toPixels(x, y, cx, cy), pixels)
            << width << "x" << height;
    }
}

TEST_F(EditorTest, EveryControlIsBuiltFromItsTemplateRowInTemplateOrder) {
    const std::span<const res::ControlTemplate> rows = res::editorDialog.controls;
    ASSERT_EQ(dlg->controls().size(), rows.size());
    // The test's font, DejaVu Sans at 10 points: its alphabets are 417 px wide on Linux and
    // 420 under Wine, so a character is (417 / 26 + 1) / 2 = (420 / 26 + 1) / 2 = 8 px wide on
    // average either way, and 15 high.
    const QFontMetrics metrics(dlg->font());
    ASSERT_EQ(std::tuple(QFontInfo(dlg->font()).family(), metrics.height()),
              std::tuple(QString("DejaVu Sans"), 15));
    const int alphabet =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    ASSERT_TRUE(alphabet == 417 || alphabet == 420) << alphabet;
    const DialogUnits units(8, 15);
    // PLAY at 448, 419, 35 x 16 units; Page Num at 309, 372, 25 x 12 closed: halves round up.
    EXPECT_EQ(dlg->control(id::kPlay)->geometry(), QRect(896, 786, 70, 30));
    EXPECT_EQ(dlg->control(id::kPageNumCombo)->geometry(), QRect(618, 698, 50, 23));
    std::vector<int> tabStops;  // the shown ones, in template order
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const res::ControlTemplate& row = rows[i];
        const QWidget* w = dlg->controls()[i];
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_EQ(w->property("controlId").toInt(), row.id);
        const int cy = row.kind == res::Kind::DropList ? kDropListClosedHeight : row.cy;
        EXPECT_EQ(w->geometry(), units.toPixels(row.x, row.y, row.cx, cy));
        EXPECT_EQ(w->isVisible(), (row.style & res::kHidden) == 0);
        EXPECT_EQ(w->property("readOnly").toBool(), (row.style & res::kReadOnly) != 0);
        // The step table takes the keyboard too, right after the step fields.
        const bool tabStop = (row.style & res::kTabStop) != 0 || row.id == id::kStepTable;
        EXPECT_EQ((w->focusPolicy() & Qt::TabFocus) != 0, tabStop);
        if (row.kind != res::Kind::Edit && row.kind != res::Kind::Bitmap) {  // captions
            const char* caption = w->property("title").isValid() ? "title" : "text";
            EXPECT_EQ(w->property(caption).toString().toStdString(), row.text);
        }
        if (tabStop && (row.style & res::kHidden) == 0 && row.id != id::kStepTable) {
            tabStops.push_back(row.id);
        }
    }
    tabStops.insert(std::ranges::find(tabStops, id::kRateEdit) + 1, id::kStepTable);
    // Tab goes round the tab stops in template order and never lands on a trackbar.
    std::vector<int> chain;
    dlg->control(tabStops.back())->setFocus();
    for (std::size_t i = 0; i < tabStops.size(); ++i) {
        QTest::keyClick(dlg->focusWidget(), Qt::Key_Tab);
        chain.push_back(dlg->focusWidget()->property("controlId").toInt());
    }
    EXPECT_EQ(chain, tabStops);
    EXPECT_EQ(readTexts({id::kNextPageCombo, id::kPageNameEdit}), QStringList({"None", "Noname"}));
    // Title, fixed size, icon, minimize and maximize buttons.
    const Qt::WindowFlags flags = dlg->windowFlags();
    EXPECT_EQ(std::tuple(dlg->windowTitle(), dlg->minimumSize() == dlg->maximumSize(),
                         dlg->windowIcon().isNull(), flags.testFlag(Qt::WindowMinimizeButtonHint),
                         flags.testFlag(Qt::WindowMaximizeButtonHint)),
              std::tuple(QString("Kestrova"), true, false, true, false));
}

// Triggers the menu item with this text, as the user does. The About item ends the File menu
// where the platform gives programs no system menu.
void chooseMenu(const CEditorDlg& dlg, const QString& text) {
    for (QAction* popup : dlg.menuBar()->actions()) {
        for (QAction* item : popup->menu()->actions()) {
            if (item->text() == text) {
                item->trigger();
            }
        }
    }
}

// The About item, and the system commands 16 to 31, open the About box; its Escape and its
// button close it alone.
TEST_F(EditorTest, EnterEscapeAndTheAboutBoxNeverCloseTheWindowPressAButtonOrHideAPanel) {
    QSignalSpy finished(dlg.get(), &QDialog::finished);
    QSignalSpy resetClicked(widget<QPushButton>(id::kResetStep), &QPushButton::clicked);
    for (QWidget* focused : {dlg->control(id::kResetStep), dlg->control(id::kPageNameEdit),
                             static_cast<QWidget*>(dlg->motorPanel(3)->trackbarControl())}) {
        focused->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(focused, key);
        }
    }
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    QStringList about;
    whenModalShown(dlg.get(), [&](QWidget* box) {
        about << box->windowTitle() << box->findChild<QLabel*>("static1")->text();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    if (kestrova::platformHasSystemMenu()) {  // the native window's test chooses its item
        dlg->onSysCommand(id::kAboutBox);
    } else {
        chooseMenu(*dlg, QString::fromUtf8("Tandrel 정보(&A)..."));
    }
    whenModalShown(dlg.get(), [&](QWidget* box) {
        about << box->windowTitle() << childControl<QPushButton>(box, id::kOk)->text();
        QTest::mouseClick(childControl<QPushButton>(box, id::kOk), Qt::LeftButton);
    });
    dlg->onSysCommand(id::kAboutBox + 15);  // the low four bits are the system's own
    EXPECT_EQ(about, QStringList({"Tandrel 정보", "Tandrel 정보 1.0", "Tandrel 정보", "OK"}));
    // The window and panel shown, no end, no press; step Reset would have written 100.
    EXPECT_EQ(std::tuple(dlg->isVisible(), dlg->motorPanel(3)->isVisible(), finished.count(),
                         resetClicked.count(), dlg->readText(id::kMotorEdit0)),
              std::tuple(true, true, 0, 0, QString()));
}

// File > Exit ends the run as the close button does.
TEST_F(PtyEditorTest, CloseButtonAndFileExitEndTheModalRunAndTheOpenPortCloses) {
    connect();
    dlg->hide();
    for (const bool exitMenu : {false, true}) {
        bool shownAfter = true;  // the run's watchdog would close it too, but later
        whenModalShown(nullptr, [&](QWidget* window) {
            if (exitMenu) {
                chooseMenu(*dlg, "&Exit");
            } else {
                window->close();
            }
            shownAfter = window->isVisible();
        });
        EXPECT_EQ(dlg->doModal(), QDialog::Rejected);
        EXPECT_FALSE(shownAfter) << (exitMenu ? "File > Exit" : "close button");
    }
    dlg.reset();  // the window object goes, and its port with it
    // The application's run ends the same way, with 0.
    QString title;
    whenModalShown(nullptr, [&](QWidget* window) {
        title = window->windowTitle();
        window->close();
    });
    EXPECT_EQ(CEditorApp().initInstance(), 0);
    EXPECT_EQ(title, "Kestrova");
    // The device is free again: a new window can open it.
    dlg = std::make_unique<CEditorDlg>(&boxes, &files);
    dlg->onConnect();
    EXPECT_EQ(boxes.texts(), std::vector<QString>{"COM1 open."});
}

// The page lists store the chosen entry; choosing a STEP loads nothing, and a name being typed
// leaves the step fields alone.
TEST_F(EditorTest, PageListsStoreTheChosenEntry) {
    const std::tuple<int, int, std::uint8_t PageRecord::*, int> cases[] = {
        {id::kPageNumCombo, 19, &PageRecord::pageNum, 19},
        {id::kNextPageCombo, 0, &PageRecord::nextPage, 0},  // "None"
        {id::kEnableStepCombo, 7, &PageRecord::enableStep, 7},
        {id::kRepeatCombo, 253, &PageRecord::repeat, 254},
        {id::kStepCombo, 3, &PageRecord::repeat, 254},
    };
    for (const auto& [controlId, index, field, stored] : cases) {
        choose(controlId, index);
        EXPECT_EQ(+(page().*field), stored) << controlId << " entry " << index;
    }
    EXPECT_EQ(session().step(), 3);
    QTest::keyClicks(dlg->control(id::kPageNameEdit), "x");
    EXPECT_EQ(dlg->readText(id::kMotorEdit0), "");
}

TEST_F(EditorTest, PageNameStoresUpToSevenSingleByteCharactersNulPadded) {
    auto* edit = widget<QLineEdit>(id::kPageNameEdit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "ABCDEFGH");
    EXPECT_EQ(page().pageName, (PageName{'A', 'B', 'C', 'D', 'E', 'F', 'G'}));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(page().pageName, PageName{});
    // Latin-1 beyond ASCII is one byte each; wider characters are refused.
    for (QChar c : QString::fromUtf8("\u00e9한t\u00e9")) {  // beyond what QTest can type
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
    }
    EXPECT_EQ(edit->text(), QString::fromUtf8("\u00e9t\u00e9"));
    EXPECT_EQ(page().pageName, (PageName{0xE9, 't', 0xE9, 0, 0, 0, 0}));
}

TEST_F(EditorTest, RefreshShowsThePageAndLeavesStepFieldsAlone) {
    setField(id::kMotorEdit0 + 5, 42);
    choose(id::kStepCombo, 5);
    PageRecord record = defaultPageRecord();
    record.pageName = {'S', 'E', 'V', 'E', 'N', 'C', 'H'};
    // No entry shows that Page Num or that Repeat.
    std::tie(record.pageNum, record.enableStep, record.nextPage, record.repeat) =
        std::tuple(kPageCount, 7, 3, 0);
    load(record);
    EXPECT_EQ(readTexts({id::kPageNameEdit, id::kEnableStepCombo, id::kNextPageCombo,
                         id::kStepCombo, id::kMotorEdit0 + 5}),
              QStringList({"SEVENCH", "7", "3", "0", "42"}));
    EXPECT_EQ(
        std::pair(dlg->selectedIndex(id::kPageNumCombo), dlg->selectedIndex(id::kRepeatCombo)),
        std::pair(-1, -1));
    EXPECT_EQ(page(), record);  // showing the values stored nothing back
}

TEST_F(EditorTest, SaveWritesThePageCancelChangesNothingAndFailuresShowErrorBoxes) {
    TempDir dir;
    click(id::kPcSave);  // cancelled: no path
    click(id::kPcLoad);
    files.savePath = dir / "page.kpf";
    click(id::kPcSave);
    EXPECT_EQ(readPageFile(*files.savePath), defaultPageRecord());
    files.savePath = dir / "no-such-folder" / "page.kpf";
    click(id::kPcSave);  // a load that fails runs through the real dialog in hostile_input_test
    EXPECT_EQ(boxes.texts(), std::vector<QString>{"can't save file!"});
    for (const MessageRequest& box : boxes.shown) {
        EXPECT_EQ(std::tuple(box.caption, box.owner, box.icon),
                  std::tuple(QString("error"), nullptr, MessageIcon::None));
    }
}

// The real dialogs offer only page files, add the suffix, confirm an overwrite, and give
// nothing when cancelled.
TEST(PageFileDialogs, OfferOnlyPageFilesAndReturnNothingWhenCancelled) {
    QtPageFileDialogs dialogs;
    for (bool saving : {true, false}) {
        QStringList seen;
        whenModalShown(nullptr, [&](QWidget* modal) {
            if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                seen = dialog->nameFilters() << dialog->defaultSuffix();
                EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
            }
            modal->close();
        });
        EXPECT_EQ(saving ? dialogs.chooseSavePath() : dialogs.chooseOpenPath(), std::nullopt);
        EXPECT_EQ(seen, QStringList({"Kestrova Page File (*.kpf)", "kpf"}));
    }
}

}  // namespace
}  // namespace kestrova::test
