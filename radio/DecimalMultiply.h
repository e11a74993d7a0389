#pragma once

// The product of two doubles computed in decimal: each factor is first rounded to 15 significant
// decimal digits, the two decimals are multiplied exactly, and the product comes back as the nearest
// double. So 146.52 × 100000 is exactly 14652000, never 14651999.99. A factor that is not finite
// gives 0.
double DecimalMultiply(double a, double b);
