#include "ZAVolumeNumberInfo.h"

void TZAVolumeNumberInfo::SetFirst(bool first)
{
    if (first)
        Number = 0;
}

void TZAVolumeNumberInfo::SetLast(bool last)
{
    if (last)
        Number = LastNumber;
}
