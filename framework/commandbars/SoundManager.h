// Stand-in: the command-bars subsystem replaces this file with its own COSMSoundManager under the same name (the
// menu sounds on a thread of their own). Until then the sounds are asked for and nothing plays.
#pragma once

#include "classlib/ClassLib.h"

class COSMSoundManager
{
public:
    // 1 the menu-command sound, 2 the menu-popup sound.
    void PlaySystemSound(int kind) {}
};

inline COSMSoundManager* GetSoundManager()
{
    static COSMSoundManager manager;
    return &manager;
}
