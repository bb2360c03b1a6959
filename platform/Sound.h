#pragma once
// Sound seam: the looping sound of the running saver. A player loops the complete RIFF
// WAVE image of a raw-data resource (found through the resources seam) and stops it.
// Each program installs its platform's player (the system's on Windows, SDL's in the
// Linux saver); tests install a fake. Without a player the saver is silent. Players are
// silent too on failure: a missing resource, an image the player refuses or no sound
// device means no sound and no message.

class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    // Starts resource resourceId looping in the background, replacing what played before.
    virtual void PlayLoop(int resourceId) = 0;
    // Stops what PlayLoop started; harmless when nothing plays.
    virtual void Stop() = 0;
};

// The player G_PlaySound and G_StopSound go to; null for none. The player must outlive
// its use.
void SetSoundPlayer(ISoundPlayer* player);

void G_PlaySound(int resourceId);
void G_StopSound();
