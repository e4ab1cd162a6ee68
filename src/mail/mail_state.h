#pragma once
// The mail subsystem's data: the outgoing queue and the logs of sent and
// received messages, loaded at start-up and kept for the whole run.

#include "store/record_list.h"

namespace quarnel {

struct MailState {
    /// The sending window runs for the queue (not for one message).
    bool queueMode = false;
    RecordList outgoingQueue;  ///< QuarnelTit.msg in the data folder
    RecordList sentLog;        ///< MsgChifS.dat in the sent-encrypted folder
    RecordList receivedLog;    ///< MsgChifE.dat in the received-encrypted folder
};

}  // namespace quarnel
