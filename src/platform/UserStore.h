#pragma once

#include <QString>

namespace tavro {

// Per-user integer values under "Software\Tavro\<section>" (the registry on Windows). A value that
// is missing or cannot be read gives the default; a write that cannot be made is skipped.
class UserStore {
public:
    virtual ~UserStore() = default;
    virtual int readInt(const QString &section, const QString &name, int def = 0) const = 0;
    virtual void writeInt(const QString &section, const QString &name, int value) = 0;
};

} // namespace tavro
