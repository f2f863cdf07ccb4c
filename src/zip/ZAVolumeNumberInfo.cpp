#include "ZAVolumeNumberInfo.h"

void TZAVolumeNumberInfo::SetFirst(bool first)
{
    if (!first)
        return;
    Number = 0;
    Kind = First;
}

void TZAVolumeNumberInfo::SetLast(bool last)
{
    if (!last)
        return;
    Number = LastNumber;
    Kind = Last;
}

void TZAVolumeNumberInfo::SetNumber(int number)
{
    Kind = Numbered;
    Number = number;
}

bool TZAVolumeNumberInfo::SameVolume(const TZAVolumeNumberInfo &a, const TZAVolumeNumberInfo &b)
{
    if (a.IsLast())
        return b.IsLast();
    if (a.IsFirst())
        return b.IsFirst();
    if (a.Number < 0)
        return a.Kind == b.Kind;
    return a.Number == b.Number;
}
