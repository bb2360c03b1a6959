#include "platform/Sound.h"

namespace {
ISoundPlayer* g_player = nullptr;
} // namespace

void SetSoundPlayer(ISoundPlayer* player)
{
    g_player = player;
}

void G_PlaySound(int resourceId)
{
    if (g_player)
        g_player->PlayLoop(resourceId);
}

void G_StopSound()
{
    if (g_player)
        g_player->Stop();
}
