#pragma once

// One volume's place in a set of volumes.
class TZAVolumeNumberInfo
{
public:
    enum Kinds { First = 0, Last = 1, Numbered = 2, Unknown = 3 };

    int Kind = Unknown;
    int Number = -1;     // 0 = first volume, -1 unknown
    int LastNumber = -1; // -1 while unknown

    bool IsFirst() const { return Number == 0; }
    bool IsLast() const { return LastNumber >= 0 ? Number == LastNumber : Kind == Last; }
    void SetFirst(bool first);
    void SetLast(bool last);
    void SetNumber(int number);
    void Reset() { *this = TZAVolumeNumberInfo(); }

    static bool SameVolume(const TZAVolumeNumberInfo &a, const TZAVolumeNumberInfo &b);
};
