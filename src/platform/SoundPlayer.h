#pragma once

#include <QString>

namespace tavro {

// Short sounds played asynchronously, by name ("Tokeidai", "VOtukare", the spoken digits), and the
// system beep.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString &name) = 0;
    virtual void beep() = 0;
};

} // namespace tavro
