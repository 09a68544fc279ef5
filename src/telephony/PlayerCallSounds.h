#pragma once

#include "platform/SoundPlayer.h"
#include "telephony/CallPorts.h"

#include <filesystem>

namespace orvanta {

// The call sounds as WAV files of one folder, played by the sound player.
class PlayerCallSounds : public CallSounds {
public:
    static constexpr const char* kRingFile = "ring.wav";

    PlayerCallSounds(platform::SoundPlayer& player, std::filesystem::path folder)
            : player_(player), folder_(std::move(folder))
    {
    }

    void playRingLoop() override { player_.play(folder_ / kRingFile, true); }
    void playTone(const QString& fileName) override
    {
        player_.play(folder_ / fileName.toStdString());
    }
    void stop() override { player_.stop(); }

private:
    platform::SoundPlayer& player_;
    std::filesystem::path folder_;
};

}
