// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program state as every layer sees it: what the main window's rules look
// at, the information line, the current language's texts, and Busy.

#include <cstddef>
#include <string>

#include "holder/holder_context.h"

namespace quarnel {

/// The events that move the program state, one function each: nothing else
/// changes it (HolderContext::State reads it).
namespace state {
/// The start-up begins: NotInitialised, which a folder without settings or
/// key store keeps.
void Starting(HolderContext& ctx);
/// The start-up read the own record: Affiliated, then UpdateNecessary when
/// line 3 is all zeros (an update pending), then VersionChanged when the
/// stored version code differs from the program's, then NotAffiliated when
/// only 2 lines exist (each test overrides the ones before).
void Loaded(HolderContext& ctx, const Record& own, bool versionChanged);
/// Affiliated, the settings are not those the TA sealed: SettingsAltered.
void SettingsAltered(HolderContext& ctx);
/// Affiliated, the texts shown changed language, and with them the version
/// code the TA knows: VersionChanged (the affiliation must be updated).
void VersionChanged(HolderContext& ctx);
/// The affiliation request was built and the settings saved: NotAffiliated.
void AffiliationRequested(HolderContext& ctx);
/// The TA sealed the settings (its private-key or update reply): Affiliated.
void Affiliated(HolderContext& ctx);
/// The acknowledgement or an update did not go through: UpdateNecessary
/// (the caller zeroes the seal, so that the next start knows).
void UpdateFailed(HolderContext& ctx);
}  // namespace state

/// The affiliation is confirmed (Affiliated or one of the states that ask for
/// an update).
inline bool IsAffiliatedState(ProgramState s) {
    return s >= ProgramState::Affiliated;
}

/// Everything the main window's rules look at.
struct StateFacts {
    ProgramState programState = ProgramState::NotInitialised;
    bool busy = false;
    bool anyCorrespondent = false;  ///< one of the three lists has a record
    std::size_t ownRecordLines = 0;
    bool queueEmpty = true;
    /// VersionChanged by a switch of the language, the program's version
    /// being the one affiliated (the shell's to say).
    bool languageChanged = false;
};
/// The facts of the holder core; the outgoing queue is the mail
/// subsystem's, so its emptiness comes from the caller.
StateFacts FactsOf(const HolderContext& ctx, bool queueEmpty);

/// The text of a resource number in the current language (code page 1252).
std::string CurrentText(const HolderContext& ctx, int id);

/// Sets the information line (without a note) and tells the main window.
void SetInformation(HolderContext& ctx, int id);

/// The note under the information line after a save kept the damaged file
/// of a correspondent list aside at `kept`.
void NoteKeptDamagedList(HolderContext& ctx, const std::filesystem::path& kept);

/// Busy for the life of a command: set on construction, cleared on every way
/// out.
class BusyGuard {
  public:
    explicit BusyGuard(HolderContext& ctx) : ctx_(ctx) { ctx_.busy = true; }
    ~BusyGuard() { ctx_.busy = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

  private:
    HolderContext& ctx_;
};

}  // namespace quarnel
