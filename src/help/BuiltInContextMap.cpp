#include "BuiltInContextMap.h"

namespace help {

const THelpContextMap &FormsContextMap()
{
    static const THelpContextMap map = [] {
        THelpContextMap built;
        built.ReadFileData(FormsContextMapData());
        // The project's name makes the map answer "window_control" keys.
        built.SetLoadedFileName(QStringLiteral("Zentavo.hhp"));
        return built;
    }();
    return map;
}

} // namespace help
