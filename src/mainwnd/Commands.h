#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace orvanta {

// The main window's commands, as the "Menu" and the tray menu list them.
// Later windows add their own id.
enum class CommandId {
    AccountLogin,
    About,
    RechargePage,
    Exit,
    // The operator's account services
    FriendList,
    CallRecords,
    Rates,
    RechargeTransfer,
    Sms,
    Contacts,
    RecentCalls,
    Settings,
    ManualLogin,
    VoiceTest,
    Audio,
};

// What a command needs before it runs; combined with |.
enum Precondition : unsigned {
    kNoPrecondition = 0,
    kRegistered = 1,  // calls are allowed
    kIdleLine = 2,    // the selected line has no call
};

// Why a command did not run.
enum class Refusal {
    None,
    NotRegistered,   // "You are not Registered"
    CallInProgress,  // "Call is in progress"
    Silent,          // dropped without a word (a message box or a wait is open)
};

struct Command {
    CommandId id;
    QString label;
    unsigned needs = kNoPrecondition;
    std::function<void()> action;
    bool inMenu = true;  // listed in the menus; otherwise reached by a button only
};

// The table of commands: one row per command, run through one gate that
// checks the preconditions and shows a refusal.
class CommandTable {
public:
    using Gate = std::function<bool(unsigned needs)>;

    explicit CommandTable(Gate gate) : gate_(std::move(gate)) {}

    void add(Command command) { commands_.push_back(std::move(command)); }
    const std::vector<Command>& commands() const { return commands_; }
    const Command* find(CommandId id) const;

    // Runs the command when the gate lets it through; false otherwise.
    bool run(CommandId id) const;

private:
    Gate gate_;
    std::vector<Command> commands_;
};

// The state the preconditions are judged on.
struct CommandState {
    bool callsAllowed = false;
    bool selectedLineInUse = false;
    bool internetAvailable = true;
    bool busy = false;  // a message box or a wait that blocks input is open
};

Refusal refusalFor(unsigned needs, const CommandState& state);

}
