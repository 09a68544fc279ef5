#include "mainwnd/Commands.h"

namespace orvanta {

const Command* CommandTable::find(CommandId id) const
{
    for (const Command& command : commands_) {
        if (command.id == id) {
            return &command;
        }
    }
    return nullptr;
}

bool CommandTable::run(CommandId id) const
{
    const Command* command = find(id);
    if (!command || !gate_(command->needs)) {
        return false;
    }
    command->action();
    return true;
}

Refusal refusalFor(unsigned needs, const CommandState& state)
{
    if (state.busy) {
        return Refusal::Silent;
    }
    if ((needs & kRegistered) && !state.callsAllowed) {
        return Refusal::NotRegistered;
    }
    if ((needs & kIdleLine) && state.selectedLineInUse) {
        // Without the Internet the line is about to be freed: no word then.
        return state.internetAvailable ? Refusal::CallInProgress : Refusal::Silent;
    }
    return Refusal::None;
}

}
