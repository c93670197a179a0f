// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "src/app/noise_box_gate.h"
#include "src/app/port_choice.h"
#include "src/app/session_message.h"
#include "src/app/step_draft.h"
#include "src/model/motion_page.h"
#include "src/model/page_history.h"
#include "src/profile/mirror.h"
#include "src/profile/robot_profile.h"
#include "src/protocol/reply_recognizer.h"
#include "src/serial/comm.h"
#include "src/serial/comm_owner.h"

namespace kestrova {

// The editor without its widgets: the page being edited with its undo history, STEP and the
// step draft, the port with the controller's replies. Views show what it says through its
// signals and forward the user's actions to it; it lives on the user-interface thread.
//
// Every message box goes out through message(), which returns once the box is closed, so the
// order of boxes, sends and port changes is the view's to show, not to arrange.
class EditorSession : public QObject, public CommOwner, public ReplySink {
    Q_OBJECT

  public:
    using Clock = NoiseBoxGate::Clock;
    using ClockSource = std::function<Clock::time_point()>;

    // `clock` times the quiet spells of the noise gate.
    explicit EditorSession(ClockSource clock = &Clock::now, QObject* parent = nullptr);
    ~EditorSession() override;

    // The page as stored, and STEP (0..7), the step the step commands work on.
    const PageRecord& page() const { return motionPage.recordRef(); }
    int step() const { return currentStep; }
    void setStep(int step);

    // Any undoable change a view makes: the page becomes what `edit` makes of it, one step
    // of the history named `label`. Sends nothing.
    void changePage(std::string_view label,
                    const std::function<PageRecord(const PageRecord&)>& edit);

    // The page fields, each one undoable change. Keystrokes of the name make one change until
    // endNameTyping().
    void onPageNameChange(const PageName& name);
    void endNameTyping() { history.endMerge(); }
    void onPageNumChange(std::uint8_t value);
    void onEnableStepChange(std::uint8_t value);
    void onNextPageChange(std::uint8_t value);
    void onRepeatChange(std::uint8_t value);
    void onResetPage();

    // The step draft. A motor's value, even an unchanged one, sends the live positions.
    const StepDraft& draft() const { return stepDraft; }
    void setDraftValue(std::size_t index, int value);
    void onGetStep();
    // Refused while any field is unset: it would be stored as 0, and PLAY would drive that
    // servo to an extreme.
    void onSetStep();
    void onResetStep();

    // Undo and redo show the page as a load does but keep STEP and the draft.
    void onUndo();
    void onRedo();
    std::string_view undoLabel() const { return history.undoLabel(); }
    std::string_view redoLabel() const { return history.redoLabel(); }

    // The Edit menu's step commands at STEP. Paste takes clipboard text: false (and nothing
    // changed) when it holds no step lines.
    std::string copyStepText() const;
    bool onPasteStep(std::string_view text);
    void onInsertStep();
    void onDeleteStep();
    void onTableValueTyped(int step, int row, std::uint8_t value);

    // To PC: the path is the view's choice; a failure shows "can't save file!" or "can't load
    // file!".
    void onPcSave(const std::filesystem::path& path);
    void onPcLoad(const std::filesystem::path& path);

    // The connection, on the port Setup chose.
    void setPortChoice(const PortChoice& choice) { chosenPort = choice; }
    const PortChoice& portChoice() const { return chosenPort; }
    void onConnect();
    void onDisconnect();
    CComm& port() { return comm; }

    // Sending. Live positions go out only while linked, never while another live packet or a
    // bulk write of the draft is under way, and never with an unset motor field (it would go
    // out as 0, an extreme); each packet is followed by a 100 ms pause.
    void setLinkedToTarget(bool linked) { linkedToTarget = linked; }
    bool isLinkedToTarget() const { return linkedToTarget; }
    int liveSendBusy() const { return liveBusy; }
    void sendLivePositions();
    int sendPagePacket(const PageRecord& record, std::uint8_t command);
    void sendPagePlay();
    void sendPageWrite();
    void sendPageRead();

    // The robot profile, if one is open: its limits hold for every value the user gives a
    // motor, its home pose is the fresh step's, and a page breaking them is sent only if the
    // user says so.
    const std::optional<RobotProfile>& profile() const { return robot; }
    void setProfile(std::optional<RobotProfile> profile);
    // Opens a profile file; a refused one is named in a box with its line and reason, and the
    // profile open before stays. The path is the one Edit Profile saves to.
    bool openProfile(const std::filesystem::path& path);
    void closeProfile();
    // Edit Profile's Save: the file is written and the profile becomes the session's.
    bool saveProfile(const std::filesystem::path& path, const RobotProfile& profile);
    const std::filesystem::path& profilePath() const { return robotPath; }
    // "M5(PB4) left elbow", or "M5(PB4)" without a profile or a name.
    QString motorCaption(std::size_t motor) const;
    // Mirror Step and the two copies at STEP: one undoable change, nothing sent.
    void onMirror(MirrorCommand command);

    // Overflows of the reply buffer that showed no "Bad communication" box.
    std::size_t discardedNoiseOverflows() const { return noiseGate.discardedOverflows(); }

    // CommOwner: a chunk handed over by the watcher runs on this object's thread, also inside
    // the nested loop of a modal box.
    void postToOwner(std::function<void()> task) override;
    void onCommRead(std::span<const std::uint8_t> chunk) override;
    // A failed open or write: the device and the reason on standard error; "ERROR" for a write.
    void onCommFailure(const CommFailure& failure) override;

  signals:
    // The page changed, whatever changed it.
    void pageChanged();
    void stepChanged(int step);
    void draftChanged(int index);
    void historyChanged();
    void connectionChanged(bool open);
    void profileChanged();
    // A box to show; returns when it has been closed.
    void message(const kestrova::SessionMessage& box);
    // A command the session would not carry out (Set Step with a field unset): the view beeps.
    void refused();

  private:
    void recordChange(std::string_view label, const std::function<void()>& change,
                      PageHistory::Merge merge = PageHistory::Merge::No);
    void editSteps(std::string_view label,
                   const std::function<PageRecord(const PageRecord&, std::size_t)>& edit);
    // After a load from a file or the board and a page reset: STEP goes back to 0.
    void showLoaded();
    void showFromHistory(const std::optional<PageRecord>& page);
    void writeDraft(std::size_t index, int value);
    void showAppMessage(const QString& text);
    void showPortMessage(const QString& name, const char* what);
    void showReplyMessage(const char* text);
    void showNoiseBox();
    // Profile checks: false (and a box shown or answered No) when the action must not go on.
    bool allowedPositions(std::span<const std::uint8_t, kMotorCount> positions);
    bool sendAnyway();
    StepPositions freshPositions() const;

    // ReplySink
    void showSaveDone() override;
    void replacePage(const PageRecord& record) override;
    void showFailed() override;
    void showBadCommunication() override;

    ClockSource clock;
    CMotionPage motionPage;
    PageHistory history;
    int currentStep = 0;
    std::optional<RobotProfile> robot;
    std::filesystem::path robotPath;
    StepDraft stepDraft{};
    bool linkedToTarget = false;
    int liveBusy = 0;
    PortChoice chosenPort;
    QString openPortName;  // as it was chosen when the port opened
    ReplyRecognizer replies;
    NoiseBoxGate noiseGate;
    bool noiseBoxPending = false;                   // posted, not yet shown
    std::vector<const char*> repliesAfterNoiseBox;  // boxes of the same chunk, shown after it
    CComm comm;  // last: its watcher may post to the members above until it is closed
};

}  // namespace kestrova
