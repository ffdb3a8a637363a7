#pragma once

#include <QDateTime>

namespace tavro {

// Today's date and time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

} // namespace tavro
