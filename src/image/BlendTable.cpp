#include "image/BlendTable.h"

namespace velmaris {

BlendTable::BlendTable()
{
    for (int s = 0; s < 7; ++s) {
        t7_[s] = {65 - 5 * s, 100, 35 + 5 * s};
    }
    for (int s = 0; s < 11; ++s) {
        t11_[s] = {75 - 5 * s, 100, 25 + 5 * s};
    }
    for (int s = 0; s < 21; ++s) {
        if (s <= 2) {
            t21_[s] = {100, 100, 0};
        } else if (s <= 8) {
            t21_[s] = {100 - 10 * (s - 2), 100 + 10 * (s - 2), 0};
        } else if (s <= 12) {
            t21_[s] = {40 - 10 * (s - 8), 160, 10 * (s - 8)};
        } else if (s <= 17) {
            t21_[s] = {0, 160 - 10 * (s - 12), 40 + 10 * (s - 12)};
        } else {
            t21_[s] = {0, 100, 100};
        }
    }
    for (int s = 0; s < 41; ++s) {
        if (s <= 4) {
            t41_[s] = {100, 100, 0};
        } else if (s <= 16) {
            t41_[s] = {100 - 5 * (s - 4), 100 + 5 * (s - 4), 0};
        } else if (s <= 24) {
            t41_[s] = {40 - 5 * (s - 16), 160, 5 * (s - 16)};
        } else if (s <= 35) {
            t41_[s] = {0, 160 - 5 * (s - 24), 40 + 5 * (s - 24)};
        } else {
            t41_[s] = {0, 100, 100};
        }
    }
}

SubLineSelection BlendTable::ForStep(int step) const
{
    switch (step) {
    case 1:
        return {7, t7_.data()};
    case 2:
        return {11, t11_.data()};
    case 3:
        return {17, t21_.data() + 2};
    case 4:
        return {21, t21_.data()};
    case 5:
    case 8:
        return {41, t41_.data()};
    case 6:
        return {21, t41_.data()};
    default:
        return {};
    }
}

} // namespace velmaris
