#include "app/AudioFeature.h"

#include "audio/RouteFollowers.h"

namespace orvanta {

AudioFeature::AudioFeature()
{
    followRoute(devices_, AudioRole::Output, mainSpeaker_);
    followRoute(devices_, AudioRole::Input, mainMicrophone_);
    followRoutes(devices_, threads_);
    followRoute(devices_, AudioRole::Output, testSpeaker_);
    followRoute(devices_, AudioRole::Input, testMicrophone_);
}

void AudioFeature::start()
{
    devices_.load();
    soundCardCheck_.start();
}

void AudioFeature::enableVoiceTestLines()
{
    testSpeaker_.EnableLine();
    testMicrophone_.EnableLine();
}

}
