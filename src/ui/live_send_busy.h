// SPDX-License-Identifier: MIT
#pragma once

namespace kestrova {

// 1 while a live-positions packet is being sent and while the motor fields are written in
// bulk; no live-positions packet starts meanwhile. User-interface thread only.
extern int liveSendBusy;

// Holds liveSendBusy at 1 for its lifetime and clears it however the work ends.
class LiveSendBusyScope {
  public:
    LiveSendBusyScope() { liveSendBusy = 1; }
    ~LiveSendBusyScope() { liveSendBusy = 0; }
    LiveSendBusyScope(const LiveSendBusyScope&) = delete;
    LiveSendBusyScope& operator=(const LiveSendBusyScope&) = delete;
};

}  // namespace kestrova
