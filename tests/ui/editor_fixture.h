// SPDX-License-Identifier: MIT
#pragma once

// The main window under test: recording seams instead of modal boxes and file dialogs, a
// pseudo-terminal behind COM1, and helpers that give input as the user does and read back
// what the window drew, none of which can block a test run.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "resources/resource_ids.h"
#include "src/model/page_file.h"
#include "src/protocol/packets.h"
#include "src/ui/editor_dlg.h"
#include "src/ui/file_dialogs.h"
#include "src/ui/message_boxes.h"
#include "src/ui/motor_panel.h"
#include "src/ui/step_table_view.h"
#include "tests/support/pty_pair.h"
#include "tests/support/sample_page.h"
#include "tests/support/spin_until.h"
#include "tests/support/temp_dir.h"

namespace kestrova::test {

namespace id = res::id;
using namespace std::chrono_literals;

// Records every box instead of showing it; `whileOpen` runs where a real box would run its
// own event loop.
class RecordingMessageBoxes : public MessageBoxes {
  public:
    void show(const MessageRequest& request) override {
        shown.push_back(request);
        if (whileOpen) {
            whileOpen(request);
        }
    }
    std::vector<QString> texts() const {
        std::vector<QString> result(shown.size());
        std::ranges::transform(shown, result.begin(), &MessageRequest::text);
        return result;
    }
    std::vector<MessageRequest> shown;
    std::function<void(const MessageRequest&)> whileOpen;
};

// The real page-file dialogs with the user's choice prepared; nothing means cancelled.
class ScriptedFileDialogs : public QtPageFileDialogs {
  public:
    std::optional<std::filesystem::path> chooseSavePath() override { return savePath; }
    std::optional<std::filesystem::path> chooseOpenPath() override { return openPath; }
    std::optional<std::filesystem::path> chooseProfilePath(bool save) override {
        return save ? profileSavePath : profileOpenPath;
    }
    std::optional<std::filesystem::path> savePath, openPath, profileSavePath, profileOpenPath;
};

// Hands the first modal window other than `outer` to `action`. Until that window is gone, a
// watchdog closes every modal window after five seconds, so a test whose action leaves it
// open fails instead of hanging. The application owns the poll, so none outlives the run.
inline void whenModalShown(QWidget* outer, std::function<void(QWidget*)> action) {
    auto* poll = new QTimer(qApp);
    auto started = std::make_shared<QElapsedTimer>();
    auto shown = std::make_shared<std::optional<QPointer<QWidget>>>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!*shown && modal != nullptr && modal != outer && modal->isVisible()) {
            *shown = modal;
            action(modal);
        }
        const bool waiting = !*shown || (**shown != nullptr && (**shown)->isVisible());
        if (waiting && started->elapsed() <= 5000) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        for (int i = 0; waiting && i < 10 && QApplication::activeModalWidget() != nullptr; ++i) {
            QApplication::activeModalWidget()->close();
        }
    });
    poll->start(10);
}

// A control of a dialog built from a template, found by its identifier.
template <typename W>
W* childControl(const QWidget* dialog, int controlId) {
    return dialog->findChild<W*>(QStringLiteral("control%1").arg(controlId));
}

// A main window on the default page, shown so that input reaches it.
class EditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dlg = std::make_unique<CEditorDlg>(&boxes, &files);
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    }
    void TearDown() override { dlg.reset(); }

    EditorSession& session() const { return dlg->session(); }
    const PageRecord& page() const { return dlg->session().page(); }
    // Shows `record` as To PC Load does (one undoable change), from a file of the test's own.
    void load(const PageRecord& record) {
        ASSERT_TRUE(writePageFile(pageDir / "shown.kpf", record, noFlush));
        session().onPcLoad(pageDir / "shown.kpf");
        ASSERT_EQ(page(), record);
    }
    // A step field's value as an arrow key or a slider gives it.
    void setField(int controlId, int value) const {
        const int index = controlId == id::kAccEdit    ? int(kAccIndex)
                          : controlId == id::kRateEdit ? int(kRateIndex)
                                                       : controlId - id::kMotorEdit0;
        session().setDraftValue(static_cast<std::size_t>(index), value);
    }
    // A menu item, by its command.
    QAction* item(int command) const {
        return dlg->findChild<QAction*>(QStringLiteral("command%1").arg(command));
    }
    template <typename W>
    W* widget(int controlId) const {
        return qobject_cast<W*>(dlg->control(controlId));
    }
    QStringList readTexts(std::initializer_list<int> controlIds) const {
        QStringList texts;
        std::ranges::for_each(controlIds, [&](int c) { texts << dlg->readText(c); });
        return texts;
    }
    void click(int controlId) const { QTest::mouseClick(dlg->control(controlId), Qt::LeftButton); }
    // The step table as drawn, over dark grey where it draws nothing.
    QImage renderedTable() const {
        QImage image(dlg->stepTableView()->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::darkGray);
        dlg->stepTableView()->render(&image);
        return image;
    }

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

    RecordingMessageBoxes boxes;
    ScriptedFileDialogs files;
    TempDir pageDir;
    std::unique_ptr<CEditorDlg> dlg;
};

// COM1 is a pseudo-terminal: the editor opens the slave, the test plays the controller on the
// master.
class PtyEditorTest : public EditorTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pty.fd.valid());
        qputenv("KESTROVA_COM1", QByteArray(pty.path().c_str()));
        EditorTest::SetUp();
    }
    void TearDown() override {
        EditorTest::TearDown();
        qunsetenv("KESTROVA_COM1");
    }

    // Opens COM1 and forgets the message that says so.
    void connect() {
        dlg->onConnect();
        ASSERT_TRUE(session().port().isConnected());
        boxes.shown.clear();
    }

    Bytes drain() const { return pty.drain(); }

    PtyPair pty;
};

}  // namespace kestrova::test
