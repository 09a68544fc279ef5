#pragma once

#include "telephony/EngineLibrary.h"

#include <string>
#include <vector>

// An EngineApi whose entry points write one line per call into a journal,
// for tests of code that drives the engine.
namespace orvanta::test {

std::vector<std::string>& engineJournal();
// The id the next makeCall returns; each call takes the next one.
void setNextCallId(int id);
EngineApi recordingEngineApi();

}
