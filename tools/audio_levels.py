#!/usr/bin/env python3
"""Measures a raw recording of the game's sound output, as SDL's disk audio driver writes it
(SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=PATH): interleaved samples in the format the mixer opened,
signed 16-bit (s16) or 32-bit float (f32), little-endian.

Prints the length, the peak, how many samples sit at full scale (clipped), the loudness as RMS
over the whole recording and over its sounding part (50 ms windows above -60 dBFS, so that
silent stretches such as loading do not lower it), all levels in dB relative to full scale.

    tools/audio_levels.py --format f32 recording.raw
"""

import argparse
import array
import math
import sys

WINDOW_MS = 50
SOUNDING_DBFS = -60.0


def read_samples(path, sample_format):
    """The samples scaled so that full scale is 1.0, and the magnitude that counts as clipped."""
    with open(path, "rb") as stream:
        data = stream.read()
    if sample_format == "s16":
        samples = array.array("h")
        samples.frombytes(data[: len(data) - len(data) % 2])
        scale = 1.0 / 32768.0
        # The largest positive 16-bit value is 32767/32768; either end of the range is clipped.
        return [s * scale for s in samples], 32767 * scale
    samples = array.array("f")
    samples.frombytes(data[: len(data) - len(data) % 4])
    return list(samples), 1.0


def decibels(level):
    return 20.0 * math.log10(level) if level > 0 else float("-inf")


def measure(samples, full_scale, channels, rate):
    clipped = sum(1 for s in samples if abs(s) >= full_scale)
    peak = max((abs(s) for s in samples), default=0.0)
    total = sum(s * s for s in samples)
    window = rate * WINDOW_MS // 1000 * channels
    sounding_energy = 0.0
    sounding_count = 0
    for start in range(0, len(samples) - window + 1, window):
        energy = sum(s * s for s in samples[start : start + window])
        if decibels(math.sqrt(energy / window)) > SOUNDING_DBFS:
            sounding_energy += energy
            sounding_count += window
    return {
        "seconds": len(samples) / channels / rate,
        "peak_dbfs": decibels(peak),
        "clipped_samples": clipped,
        "rms_dbfs": decibels(math.sqrt(total / len(samples))) if samples else float("-inf"),
        "sounding_rms_dbfs": decibels(math.sqrt(sounding_energy / sounding_count))
        if sounding_count
        else float("-inf"),
        "sounding_seconds": sounding_count / channels / rate,
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("recording")
    parser.add_argument("--format", choices=["s16", "f32"], required=True)
    parser.add_argument("--channels", type=int, default=2)
    parser.add_argument("--rate", type=int, default=44100)
    arguments = parser.parse_args()
    samples, full_scale = read_samples(arguments.recording, arguments.format)
    if not samples:
        sys.exit(f"{arguments.recording}: no samples")
    for key, value in measure(samples, full_scale, arguments.channels, arguments.rate).items():
        print(f"{key} {value:.2f}" if isinstance(value, float) else f"{key} {value}")


if __name__ == "__main__":
    main()
