// The listing's texts, built out of line: the parser's actions only call them.
#include "listing.hpp"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

#include "numbers.hpp"

namespace listing {

texts::Text compose(std::initializer_list<std::string_view> pieces) {
    char text[4000];
    std::size_t length = 0;
    for (std::string_view piece : pieces) {
        std::size_t size = std::min(piece.size(), sizeof text - 1 - length);
        std::memcpy(text + length, piece.data(), size);
        length += size;
    }
    return texts::copy(text, length);
}

texts::Text number_text(double value) {
    char text[400];
    return texts::copy(text, numbers::fixed(text, sizeof text, value).size());
}

int count_error_operands(std::string_view text) {
    int count = 0;
    for (std::size_t at = 0; (at = text.find(error_operand, at)) != text.npos; at += error_operand.size())
        ++count;
    return count;
}

// The sectors are decided on the single-precision angle; one beyond a whole turn either way is
// first brought back by whole turns, so that every angle has a direction.
const char* direction(double degrees) {
    if (!std::isfinite(degrees))
        degrees = 0;
    else if (std::fabs(degrees) > FLT_MAX)
        degrees = std::fmod(degrees, 360.0);
    float angle = static_cast<float>(degrees);
    if (angle > 360 || angle < -360) angle = std::fmod(angle, 360.0f);
    if (angle < 0) angle = angle + 360.0f;

    if (angle > 22.5f && angle < 67.5f) return "rt";
    if (angle >= 67.5f && angle <= 112.5f) return "t";
    if (angle > 112.5f && angle < 157.5f) return "lt";
    if (angle >= 157.5f && angle <= 202.5f) return "l";
    if (angle > 202.5f && angle < 247.5f) return "lb";
    if (angle >= 247.5f && angle <= 292.5f) return "b";
    if (angle > 292.5f && angle < 337.5f) return "rb";
    return "r";
}

}  // namespace listing
