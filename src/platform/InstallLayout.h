#pragma once

#include <filesystem>
#include <string>

namespace orvanta::platform {

// The engine library of a program in programFolder: beside the program
// (a build tree), else in the private library folder of an installed tree.
// Never the working folder nor the loader's search path, where any folder
// the user starts from could plant a library.
std::filesystem::path engineLibraryFor(const std::filesystem::path& programFolder,
                                       const std::string& fileName);

// The folder of the dial tones and the ring sound: beside the program when
// they are there, else the installed tree's shared sound folder.
std::filesystem::path soundFolderFor(const std::filesystem::path& programFolder);

}
