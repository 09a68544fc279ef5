#include "mainwnd/Commands.h"

#include <gtest/gtest.h>

namespace {

using namespace orvanta;

TEST(Commands, PreconditionsDecideTheRefusal)
{
    const struct {
        const char* name;
        unsigned needs;
        CommandState state;
        Refusal refusal;
    } cases[] = {
        {"no needs", kNoPrecondition, {false, true, true, false}, Refusal::None},
        {"registered", kRegistered, {true, false, true, false}, Refusal::None},
        {"not registered", kRegistered, {false, false, true, false}, Refusal::NotRegistered},
        {"idle line", kIdleLine, {true, false, true, false}, Refusal::None},
        {"call on the line", kIdleLine, {true, true, true, false}, Refusal::CallInProgress},
        {"call without Internet", kIdleLine, {true, true, false, false}, Refusal::Silent},
        {"registration is asked first",
         kRegistered | kIdleLine,
         {false, true, true, false},
         Refusal::NotRegistered},
        {"both hold", kRegistered | kIdleLine, {true, false, true, false}, Refusal::None},
        {"a wait drops everything", kNoPrecondition, {true, false, true, true}, Refusal::Silent},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(refusalFor(c.needs, c.state), c.refusal) << c.name;
    }
}

TEST(Commands, TheGateRunsOrHoldsEachRow)
{
    std::vector<unsigned> asked;
    bool open = true;
    CommandTable table([&](unsigned needs) {
        asked.push_back(needs);
        return open;
    });
    int ran = 0;
    table.add({CommandId::About, "About...", kIdleLine, [&] { ++ran; }});
    table.add({CommandId::Exit, "Exit", kNoPrecondition, [&] { ran += 10; }});
    EXPECT_TRUE(table.run(CommandId::Exit));
    open = false;
    EXPECT_FALSE(table.run(CommandId::About));
    EXPECT_FALSE(table.run(CommandId::RechargePage)) << "no such row";
    EXPECT_EQ(ran, 10);
    EXPECT_EQ(asked, (std::vector<unsigned>{kNoPrecondition, kIdleLine}));
}

}
