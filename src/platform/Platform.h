#pragma once

namespace tavro {

class Prompter;
class Clipboard;
class UserStore;
class SoundPlayer;
class Clock;
class WorkstationInfo;

// The ports handed to the windows and to core code that needs them. Not owned.
struct Platform {
    Prompter *prompter = nullptr;
    Clipboard *clipboard = nullptr;
    UserStore *userStore = nullptr;
    SoundPlayer *sound = nullptr;
    Clock *clock = nullptr;
    WorkstationInfo *workstation = nullptr;
};

} // namespace tavro
