#include "util/vec_math.h"

namespace meshforge {

Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 r;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a(row, k) * b(k, col);
            r(row, col) = sum;
        }
    return r;
}

} // namespace meshforge
