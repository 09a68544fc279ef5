#pragma once

#include <filesystem>
#include <string>

namespace orvanta::platform {

// The one folder holding the application's record files.
// Linux: $ORVANTA_DATA_DIR, else $XDG_DATA_HOME/Orvanta,
// else ~/.local/share/Orvanta.
std::filesystem::path dataFolderPath();

// Creates the data folder (and missing parents) when absent. When it cannot
// be made, prints "CreateDirectory failed (<errno>)\n" on standard output and
// returns false; callers then abandon their read or write.
bool prepareDataFolder();

// The path of a record file of the given kind: "<kind>_Orvanta.bin".
std::filesystem::path recordFilePath(const char* kind);

// True for a record file's name, "<kind>_Orvanta.bin" with a kind.
bool isRecordFileName(const std::string& fileName);

}
