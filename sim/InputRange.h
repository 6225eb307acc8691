// Measuring ranges of the input types in the units the controller reports values in.
#pragma once

namespace rdxsim {

struct InputRange {
    int low;          // range limits of the process value, in reported units
    int high;
    int ambient;      // room temperature (25 degrees, or 5 % of a linear span)
    double spanUnit;  // reported units per unit of a span item (hysteresis, bands)
};

// Thermocouples 0..5 report whole degrees and their span items tenths; 6..9 report tenths
// throughout; linear inputs (10 and above) report 0..10000 for 0..100 % of the scaling.
inline InputRange RangeOf(int inputType) {
    switch (inputType) {
    case 0: return {-200, 1370, 25, 0.1};
    case 1: return {-200, 1000, 25, 0.1};
    case 2: return {0, 1760, 25, 0.1};
    case 3: return {0, 1820, 25, 0.1};
    case 4: return {0, 1390, 25, 0.1};
    case 5: return {0, 1300, 25, 0.1};
    case 6: return {0, 6000, 250, 1.0};
    case 7: return {0, 6000, 250, 1.0};
    case 8: return {-1999, 8500, 250, 1.0};
    case 9: return {-1999, 5000, 250, 1.0};
    default: return {0, 10000, 500, 1.0};
    }
}

}  // namespace rdxsim
