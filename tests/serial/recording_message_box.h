// SPDX-License-Identifier: MIT
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "serial/app_message_box.h"

namespace kestrova::test {

// Records what the application-wide box would show; installed for its lifetime.
class RecordingMessageBox : public AppMessageBox {
  public:
    RecordingMessageBox() : previous_(installAppMessageBox(this)) {}
    ~RecordingMessageBox() override { installAppMessageBox(previous_); }
    RecordingMessageBox(const RecordingMessageBox&) = delete;
    RecordingMessageBox& operator=(const RecordingMessageBox&) = delete;

    void show(std::string_view text) override {
        std::lock_guard lock(mutex_);
        texts_.emplace_back(text);
    }
    std::vector<std::string> texts() const {
        std::lock_guard lock(mutex_);
        return texts_;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        texts_.clear();
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> texts_;
    AppMessageBox* previous_;
};

}  // namespace kestrova::test
