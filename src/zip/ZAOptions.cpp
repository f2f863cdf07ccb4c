#include "ZAOptions.h"

#include "zip/ZAVolumeNumberInfo.h"

#include <algorithm>

namespace {
constexpr int64_t MinCustomVolumeSize = 65536;
}

void TZASpanningOptions::SetCustomVolumeSize(int64_t size)
{
    m_customVolumeSize = std::max(size, MinCustomVolumeSize);
}

int64_t TZASpanningOptions::GetVolumeSize(const TZAVolumeNumberInfo &volume) const
{
    if (volume.IsFirst() && FirstVolumeSize > 0)
        return FirstVolumeSize;
    switch (VolumeSize) {
    case vsAutoDetect: return -1;
    case vsCustom: return m_customVolumeSize;
    case vs1_44MB: return 1457664;
    case vs100MB: return 104857600;
    case vs200MB: return 209715200;
    case vs250MB: return 262144000;
    case vs600MB: return 629145600;
    case vs650MB: return 681574400;
    case vs700MB: return 734003200;
    case vs4700MB: return 4928307200;
    }
    return -1;
}
