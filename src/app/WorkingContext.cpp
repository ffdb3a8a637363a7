#include "app/WorkingContext.h"

#include "common/DataPaths.h"

namespace tavro {

QString WorkingContext::yearFolder() const {
    return paths::yearFolder(dataFolder, nendo);
}

} // namespace tavro
