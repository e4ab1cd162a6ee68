#pragma once
// The program state as every layer sees it: what the main window's rules look
// at, the information line, the current language's texts, and Busy.

#include <cstddef>
#include <string>

#include "holder/holder_context.h"

namespace quarnel {

/// Program state read from the own record at start-up: Affiliated, then
/// UpdateNecessary when line 3 is all zeros (update pending), then
/// VersionChanged when the stored version code differs from the program's,
/// then NotAffiliated when only 2 lines exist.
ProgramState StartupStateFromOwnRecord(const Record& own, bool versionChanged);

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
