#pragma once

#include <functional>

// The refusal sound. Tests install an observer to see that a beep happened.
class Beep
{
public:
    static void beep();
    // Replaces the sound by a call of the observer; an empty function restores the sound.
    static void setObserver(std::function<void()> observer);
};
