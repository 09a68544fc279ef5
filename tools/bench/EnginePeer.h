#pragma once

#include <string>

namespace orvanta::bench {

// The engine library driven without a window: loads libOrvanta.so from
// binDir, registers user at registrar and then reads commands from standard
// input, one a line: "call <uri>", "hangup", "quit". Prints "registered
// <code>" and call states ("call <state>") on standard output.
int runEnginePeer(const std::string& binDir, const std::string& registrar, const std::string& user,
                  const std::string& password);

}
