// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mail subsystem's data: the outgoing queue, loaded at start-up and kept
// for the whole run, and the logs of sent and received messages, which are
// only appended to and read from their files when needed.

#include "store/record_list.h"
#include "store/record_log.h"

namespace quarnel {

struct MailState {
    /// The sending window runs for the queue (not for one message).
    bool queueMode = false;
    RecordList outgoingQueue;  ///< QuarnelTit.msg in the data folder
    RecordLog sentLog;         ///< MsgChifS.dat in the sent-encrypted folder
    RecordLog receivedLog;     ///< MsgChifE.dat in the received-encrypted folder
};

}  // namespace quarnel
