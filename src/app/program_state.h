#pragma once
// The main window's commands and EvaluateState: which commands are usable,
// which has the focus and what the information line says, as a pure function
// of the program state, the lists, the outgoing queue and the own record.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "store/holder_context.h"

namespace quarnel {

/// The main window's command buttons.
enum class Command {
    Correspondants,
    Entrant,
    MiseAJour,
    Expedition,
    Clefs,
    Certification,
    Sortie,
    Options,
    Aide,
};
inline constexpr std::size_t kCommandCount = 9;

/// A command of the main window and its applicability rule.
struct MainCommand {
    Command command;
    const char* objectName;  ///< "BitBtnCorrespondants" ...
    int caption;             ///< resource number of its caption
    bool blockedWhileBusy;   ///< its handler does nothing while Busy is set
};
std::span<const MainCommand> MainCommands();
const MainCommand& CommandInfo(Command command);

/// What the main window shows: enabled commands, the caption of
/// BitBtnOptions, the focused command and the information line.
struct MainView {
    std::array<bool, kCommandCount> enabled{};
    bool optionsCaptionIsOptions = false;  ///< "&Options" instead of "Initialisation"
    std::optional<Command> focus;
    int information = 0;  ///< resource number; 0 = empty line

    bool Enabled(Command c) const { return enabled[std::size_t(c)]; }
    void Enable(Command c, bool on) { enabled[std::size_t(c)] = on; }
    bool operator==(const MainView&) const = default;
};

/// The appearance at creation: only Sortie, Options and Aide usable.
MainView InitialView();

/// Everything EvaluateState looks at.
struct StateFacts {
    int programState = 0;
    bool busy = false;
    bool anyCorrespondent = false;  ///< one of the three lists has a record
    std::size_t ownRecordLines = 0;
    bool queueEmpty = true;
};
StateFacts FactsOf(const HolderContext& ctx);

/// The next view from the current one (what a state leaves alone stays).
MainView EvaluateState(const MainView& current, const StateFacts& facts);

/// A command may run: enabled, and not blocked by Busy.
bool CanRun(Command command, const MainView& view, bool busy);

/// The text of a resource number in the current language (code page 1252).
std::string CurrentText(const HolderContext& ctx, int id);

/// Sets the information line and tells the main window.
void SetInformation(HolderContext& ctx, int id);

/// FormDestroy: frees every working list; the key store's lines and the
/// secrets are overwritten with random text first.
void FreeWorkingLists(HolderContext& ctx);

}  // namespace quarnel
