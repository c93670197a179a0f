// SPDX-License-Identifier: MIT
// The robot profile in the window: the Robot menu, the names and slider ranges it gives, the
// mirror items, and the Edit Profile dialog.
#include <QAccessible>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTableWidget>
#include <fstream>

#include "src/profile/profile_file.h"
#include "src/ui/profile_dlg.h"
#include "src/ui/profile_setting.h"
#include "tests/ui/editor_fixture.h"

namespace kestrova::test {
namespace {

class ProfileWindowTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        RobotProfile robot;
        robot.name = "Test bot";
        robot.motors[4] = {"left elbow", "left arm", Side::Left, 20, 180, 100, 5, true};
        robot.motors[5] = {"right elbow", "right arm", Side::Right, 30, 170, 110, 4, true};
        ASSERT_TRUE(writeProfileFile(profilePath, robot, noFlush));
        files.profileOpenPath = profilePath;
    }
    std::filesystem::path profilePath = pageDir / "bot.kprofile.json";
};

TEST_F(ProfileWindowTest, OpenAndCloseProfileSetNamesRangesAndMirrorItems) {
    const auto mirrorItems = [this] {
        return std::vector<bool>{
            item(id::kEditMirrorStep)->isEnabled(), item(id::kEditCopyLeftToRight)->isEnabled(),
            item(id::kEditCopyRightToLeft)->isEnabled(), item(id::kCloseProfile)->isEnabled()};
    };
    EXPECT_EQ(mirrorItems(), std::vector<bool>(4, false));
    item(id::kOpenProfile)->trigger();
    EXPECT_EQ(mirrorItems(), std::vector<bool>(4, true));
    QSlider* slider = dlg->motorPanel(4)->trackbarControl();
    EXPECT_EQ(
        QStringList({slider->accessibleName(), dlg->control(id::kMotorEdit0 + 4)->accessibleName(),
                     dlg->motorPanel(4)->toolTip()}),
        QStringList({"M5(PB4) left elbow", "M5(PB4) left elbow position", "M5(PB4) left elbow"}));
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(dlg->stepTableView())->tableInterface();
    EXPECT_EQ(QStringList({table->rowDescription(4), table->rowDescription(6)}),
              QStringList({"M5(PB4) left elbow", "M7"}));
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_End);
    EXPECT_EQ(dlg->readText(id::kMotorEdit0 + 4), "180");
    item(id::kEditMirrorStep)->trigger();
    EXPECT_EQ(session().undoLabel(), "Mirror Step");

    item(id::kCloseProfile)->trigger();
    EXPECT_EQ(mirrorItems(), std::vector<bool>(4, false));
    EXPECT_EQ(std::tuple(dlg->motorPanel(4)->toolTip(), slider->minimum(), slider->maximum()),
              std::tuple(QString(), 0, 200));
    // Closed, the names are those of the editor without a profile.
    EXPECT_EQ(QStringList(
                  {slider->accessibleName(), dlg->control(id::kMotorEdit0 + 4)->accessibleName()}),
              QStringList({"M5(PB4)", "M5(PB4) position"}));

    // A refused file is named with its line and reason, and nothing opens.
    const std::string version2 =
        replaced(contentOf(profilePath), "\"version\": 1", "\"version\": 2");
    std::ofstream(profilePath, std::ios::binary | std::ios::trunc) << version2;
    item(id::kOpenProfile)->trigger();
    EXPECT_EQ(session().profile(), std::nullopt);
    EXPECT_EQ(boxes.texts().back(), QString::fromStdString(profilePath.string()) +
                                        ":2: format version 2 is not one this program reads (1)");
}

// Save writes back the very bytes it read; a number is checked as it is typed; Save As writes
// the edited profile to a new file and the editor takes it.
TEST_F(ProfileWindowTest, EditProfileRoundTripsAndChecksTypedValues) {
    const std::string original = contentOf(profilePath);
    item(id::kOpenProfile)->trigger();
    std::filesystem::remove(profilePath);
    files.profileSavePath = pageDir / "copy.kprofile.json";
    whenModalShown(dlg.get(), [](QWidget* modal) {
        auto* dialog = qobject_cast<CProfileDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        QTest::mouseClick(buttons->button(QDialogButtonBox::Save), Qt::LeftButton);
        QTableWidget* table = dialog->table();
        table->editItem(table->item(4, CProfileDlg::Min));
        auto* editor = qobject_cast<QLineEdit*>(
            table->indexWidget(table->model()->index(4, CProfileDlg::Min)));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, "250");
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits the value once the key has been handled.
        spinUntil([&] { return table->item(4, CProfileDlg::Min)->text() != "20"; });
        for (QPushButton* button : buttons->findChildren<QPushButton*>()) {
            if (button->text() == "Save &As...") {
                QTest::mouseClick(button, Qt::LeftButton);
            }
        }
        dialog->reject();
    });
    item(id::kEditProfile)->trigger();
    EXPECT_EQ(contentOf(profilePath), original);
    // M5's limit: the 0 of 250 was refused as typed.
    EXPECT_EQ(contentOf(pageDir / "copy.kprofile.json"),
              replaced(original, "\"min\": 20,", "\"min\": 25,"));
    EXPECT_EQ(session().profilePath(), pageDir / "copy.kprofile.json");
    EXPECT_EQ(session().profile()->motors[4].min, 25);
}

// Each start of the editor, in a settings folder of the test's own: the last profile opened
// comes back until one is closed; --profile names one for its run alone.
TEST(ProfileSetting, TheLastProfileOpenedComesBackAtTheNextStart) {
    const TempDir dir;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(dir.path().string()));
    const std::filesystem::path wren = dir / "wren.kprofile.json", lark = dir / "lark.json";
    ASSERT_TRUE(writeProfileFile(wren, RobotProfile{}, noFlush) &&
                writeProfileFile(lark, RobotProfile{}, noFlush));
    const auto start = [](const std::optional<QString>& forThisRun = std::nullopt) {
        auto session = std::make_unique<EditorSession>();
        keepLastProfile(*session, forThisRun);
        return session;
    };
    EXPECT_EQ(start()->profilePath(), std::filesystem::path());
    start()->openProfile(wren);
    EXPECT_EQ(start()->profilePath(), wren);
    EXPECT_EQ(start(QString::fromStdString(lark.string()))->profilePath(), lark);
    const auto again = start();
    EXPECT_EQ(again->profilePath(), wren) << "--profile named one for its run alone";
    again->closeProfile();
    EXPECT_EQ(start()->profilePath(), std::filesystem::path());
}

}  // namespace
}  // namespace kestrova::test
