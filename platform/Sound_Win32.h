#pragma once
// The Windows program's sound player: the system's own, playing the image in place from
// the resource memory.
#include "platform/Sound.h"

ISoundPlayer& SystemSoundPlayer();
