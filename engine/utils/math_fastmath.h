#pragma once

#include <irrlicht/vector3d.h>

#include <cstdint>

// The engine's random generator: seed = seed * 214013 + 2531011, result (seed >> 16) & 0x7FFF.
// Seeded on first use from the clock and the thread unless a seed was set.
int random15();
// Sets the generator's seed (for reproducible runs and tests).
void setRandomSeed(uint32_t seed);
// Between the smaller and the larger of a and b, both included.
float randomFloat(float a, float b);
// a + random15() / 32768 * (b - a), truncated toward zero: b itself is never returned when b > a.
int randomInt(int a, int b);

// 0 when |x| < 0.000001, otherwise 1 or -1 by the sign.
int signOf(float x);
// Maps x from the range a..b onto c..d.
float mapRange(float x, float a, float b, float c, float d);
// x * 255 truncated toward zero and clamped to 0..255.
int colorByte(float x);

float vectorLength(const irr::core::vector3df& v);
float vectorLength(float x, float y);
// Divides by the length unless it is below 0.0001 (then the vector stays).
void normalizeVector(irr::core::vector3df& v);
// Rotates about the Z axis by an angle in radians; z stays.
irr::core::vector3df rotateAboutZ(const irr::core::vector3df& v, float radians);
// The same by the angle's cosine and sine, for turning several points by one angle.
irr::core::vector3df rotateAboutZ(const irr::core::vector3df& v, float cosine, float sine);
// The angles of the direction (a, b) in degrees, each in [0, 360): yaw = atan2(a, b),
// pitch = atan2(sqrt(a*a + b*b), b) - 90.
void directionAngles(float a, float b, float& yaw, float& pitch);
