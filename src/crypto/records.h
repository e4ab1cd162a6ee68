// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// In-memory record lists: the container of the key store, the correspondent
// lists, the outgoing queue and the logs. A record is a list of text lines
// (code page 1252 bytes).

#include <string>
#include <vector>

namespace quarnel {

using Record = std::vector<std::string>;
using RecordList = std::vector<Record>;

}  // namespace quarnel
