// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Names a sender or a person may give a file, against the names the program
// reads as its own: every place a name arrives from outside is tested with
// the same table.

#include <string>
#include <vector>

namespace quarnel::test {

/// Each is taken by the program for one of its files, now or at its next
/// start (in any letter case, and as a hidden temporary).
inline const std::vector<std::string> kProgramFileNames{
    "QuarnelTitCA.pem", "QuarnelTaPr.001", "QuarnelTit.kpr",  "QuarnelTitA.dat",
    "QuarnelTitR.dat",  "quarneltit.ini",  "QUARNELTAPR.0FF", "MsgChifE.dat",
    "MsgChifS.dat",     "QuarnelTit.lock", "QuarnelTit.msg",  ".QuarnelTit.kpr.tmp42"};

/// Names that merely look alike, kept as they are.
inline const std::vector<std::string> kOrdinaryNames{"Quarnel.txt", "devis QuarnelTit.pdf",
                                                     "MsgChi.dat", "_QuarnelTit.kpr"};

}  // namespace quarnel::test
