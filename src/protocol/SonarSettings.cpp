#include "protocol/SonarSettings.h"

#include "protocol/Units.h"

namespace velmaris {

AutoTable SonarSettings::BuildAutomaticTable()
{
    // Frequency code, absorption (0.01 dB/m), pulse length (10 us) per range index.
    return AutoTable {{
        {165, 60, 1}, // 1 m
        {165, 60, 1}, // 2 m
        {165, 60, 1}, // 3 m
        {165, 60, 1}, // 4 m
        {165, 60, 3}, // 5 m
        {100, 20, 3}, // 10 m
        {100, 20, 5}, // 20 m
        {100, 20, 8}, // 30 m
        {100, 20, 11}, // 40 m
        {100, 20, 13}, // 50 m
        {100, 20, 16}, // 60 m
        {100, 20, 21}, // 80 m
        {100, 20, 27}, // 100 m
        {27, 10, 40}, // 150 m
        {27, 10, 53}, // 200 m
    }};
}

int RangeIndexForMetres(int metres)
{
    if (metres < 1)
        return kDefaultRangeIndex;
    int index = 0;
    for (int i = 0; i < kRangeCount; ++i) {
        if (kRangeTableMetres[i] <= metres)
            index = i;
    }
    return index;
}

int RangeMetresForIndex(int index)
{
    if (index < 0 || index >= kRangeCount)
        index = kDefaultRangeIndex;
    return kRangeTableMetres[index];
}

const char* StepName(int code)
{
    switch (code) {
    case kStepNone:
        return "None";
    case kStepSlow:
        return "Slow";
    case kStepMedium:
        return "Medium";
    case kStepFast:
        return "Fast";
    case kStepFaster:
        return "Faster";
    case kStepFastest:
        return "Fastest";
    default:
        return "";
    }
}

double ProfileMixWeightFor(int profileDispMode)
{
    switch (profileDispMode) {
    case 1:
        return 0.0;
    case 2:
        return 0.25;
    case 3:
        return 0.5;
    default: // Off, High Mix and anything unknown
        return 1.0;
    }
}

int TrainAngleDegreesFor(int trainCode, int sonarUpDown)
{
    const int b = trainCode >= 60 ? trainCode - 60 : trainCode + 60;
    int angle = sonarUpDown == 1 ? 360 - DegreesForCode(b) : DegreesForCode(b);
    if (angle < 0)
        angle = 0;
    if (angle > 360)
        angle = 360;
    return angle;
}

} // namespace velmaris
