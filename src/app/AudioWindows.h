#pragma once

#include "mainwnd/Commands.h"

namespace orvanta {

class AudioFeature;
class CZebSoftPhoneDlg;
class WindowCoordinator;

// The sound's windows: "Voice Test" (the selected line idle) shows the
// voice test panel, "Audio" the device page; each is made on first use.
void addAudioCommands(CommandTable& commands, WindowCoordinator& windows, AudioFeature& audio);

// The main window's sound controls: its volume sliders, its "Voice Test"
// button, the sound-card check when it opens and the device notices in
// its banner.
void bindAudioControls(CZebSoftPhoneDlg& window, AudioFeature& audio);

// What the main window says when it finds no sound card.
inline constexpr const char* kSoundCardMissing = "Sound Card Not Detected ";

}
