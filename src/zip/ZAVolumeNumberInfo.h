#pragma once

// One volume's place in a set of volumes.
class TZAVolumeNumberInfo {
public:
    int Number = -1;     // 0 = first volume, -1 unknown
    int LastNumber = -1; // -1 while unknown

    bool IsFirst() const { return Number == 0; }
    void SetFirst(bool first);
    void SetLast(bool last);
    void SetNumber(int number) { Number = number; }
};
