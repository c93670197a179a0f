// SPDX-License-Identifier: MIT
// The real page-file dialogs: their filter and suffix, cancelling, and a typed name.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

#include "recording_seams.h"
#include "support/temp_dir.h"

namespace kestrova::test {
namespace {

QFileDialog* asFileDialog(QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    EXPECT_NE(dialog, nullptr);
    return dialog;
}

TEST(PageFileDialogs, OfferOnlyPageFilesAndReturnNothingWhenCancelled) {
    RecordingMessageBoxes boxes;
    QtPageFileDialogs dialogs(boxes);
    for (bool saving : {true, false}) {
        QStringList filters;
        QString suffix;
        bool confirmsOverwrite = false;
        whenModalShown(nullptr, [&](QWidget* modal) {
            if (QFileDialog* dialog = asFileDialog(modal)) {
                filters = dialog->nameFilters();
                suffix = dialog->defaultSuffix();
                confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            }
            modal->close();
        });
        EXPECT_EQ(saving ? dialogs.chooseSavePath() : dialogs.chooseOpenPath(), std::nullopt);
        EXPECT_EQ(filters, QStringList{"Kestrova Page File (*.kpf)"});
        EXPECT_EQ(suffix, "kpf");
        EXPECT_TRUE(confirmsOverwrite);
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(PageFileDialogs, ANameTypedWithoutExtensionGetsKpf) {
    RecordingMessageBoxes boxes;
    QtPageFileDialogs dialogs(boxes);
    TempDir dir;
    whenModalShown(nullptr, [&](QWidget* modal) {
        if (QFileDialog* dialog = asFileDialog(modal)) {
            dialog->setDirectory(QString::fromStdString(dir.path().string()));
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setText("walk");
            QTest::keyClick(name, Qt::Key_Return);
        }
    });
    const auto chosen = dialogs.chooseSavePath();
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, dir / "walk.kpf");
}

}  // namespace
}  // namespace kestrova::test
