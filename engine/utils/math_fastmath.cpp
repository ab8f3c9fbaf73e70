#include "math_fastmath.h"

#include "platform/process.h"

#include <cmath>
#include <ctime>

namespace {

uint32_t seed = 0;
bool seeded = false;

} // namespace

int random15() {
    if (!seeded) {
        seed = static_cast<uint32_t>(std::time(nullptr)) - 7u * currentThreadId();
        seeded = true;
    }
    seed = seed * 214013u + 2531011u;
    return static_cast<int>((seed >> 16) & 0x7FFF);
}

void setRandomSeed(uint32_t newSeed) {
    seed = newSeed;
    seeded = true;
}

float randomFloat(float a, float b) {
    float low = a < b ? a : b;
    float high = a < b ? b : a;
    return low + static_cast<float>(random15()) / 32767.0f * (high - low);
}

int randomInt(int a, int b) {
    float value = static_cast<float>(a) +
                  static_cast<float>(random15()) / 32768.0f * static_cast<float>(b - a);
    return static_cast<int>(value);
}

int signOf(float x) {
    if (std::fabs(x) < 0.000001f) {
        return 0;
    }
    return x > 0 ? 1 : -1;
}

float mapRange(float x, float a, float b, float c, float d) {
    return c + (d - c) * (x - a) / (b - a);
}

int colorByte(float x) {
    int value = static_cast<int>(x * 255.0f);
    return value < 0 ? 0 : (value > 255 ? 255 : value);
}

float vectorLength(const irr::core::vector3df& v) {
    return std::sqrt(v.X * v.X + v.Y * v.Y + v.Z * v.Z);
}

float vectorLength(float x, float y) {
    return std::sqrt(x * x + y * y);
}

void normalizeVector(irr::core::vector3df& v) {
    float length = vectorLength(v);
    if (length >= 0.0001f) {
        v /= length;
    }
}

irr::core::vector3df rotateAboutZ(const irr::core::vector3df& v, float radians) {
    return rotateAboutZ(v, std::cos(radians), std::sin(radians));
}

irr::core::vector3df rotateAboutZ(const irr::core::vector3df& v, float cosine, float sine) {
    return {cosine * v.X - sine * v.Y, v.X * sine + cosine * v.Y, v.Z};
}

namespace {

float degreesIn360(float radians) {
    float degrees = radians * 180.0f / 3.14159265358979f;
    degrees = std::fmod(degrees, 360.0f);
    return degrees < 0 ? degrees + 360.0f : degrees;
}

} // namespace

void directionAngles(float a, float b, float& yaw, float& pitch) {
    yaw = degreesIn360(std::atan2(a, b));
    float tilt = std::atan2(std::sqrt(a * a + b * b), b) * 180.0f / 3.14159265358979f - 90.0f;
    tilt = std::fmod(tilt, 360.0f);
    pitch = tilt < 0 ? tilt + 360.0f : tilt;
}
