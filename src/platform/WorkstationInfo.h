#pragma once

#include <QString>

namespace tavro {

// Network user name and computer name, for the lock log.
class WorkstationInfo {
public:
    virtual ~WorkstationInfo() = default;
    virtual QString userName() const = 0;
    virtual QString computerName() const = 0;
};

} // namespace tavro
