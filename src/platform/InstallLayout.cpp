#include "platform/InstallLayout.h"

#include "orvanta/InstallLayout.h"

namespace orvanta::platform {

std::filesystem::path engineLibraryFor(const std::filesystem::path& programFolder,
                                       const std::string& fileName)
{
    const std::filesystem::path beside = programFolder / fileName;
    if (std::filesystem::exists(beside)) {
        return beside;
    }
    return (programFolder / ORVANTA_ENGINE_FOLDER_FROM_PROGRAM / fileName).lexically_normal();
}

std::filesystem::path soundFolderFor(const std::filesystem::path& programFolder)
{
    if (std::filesystem::exists(programFolder / "ring.wav")) {
        return programFolder;
    }
    return (programFolder / ORVANTA_DATA_FOLDER_FROM_PROGRAM / "sounds").lexically_normal();
}

}
