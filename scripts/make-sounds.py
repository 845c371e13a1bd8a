#!/usr/bin/env python3
"""Writes the capture sounds into resources/Templates/.

Each sound is a short shutter-like click: two bursts of filtered noise (the shutter opening
and closing) with a faint tone under them. The ten files differ in spacing, brightness and
pitch. The output is deterministic (fixed seeds), so running this again reproduces the
committed files byte for byte.

    scripts/make-sounds.py [OUTPUT_FOLDER]
"""
import math
import os
import random
import struct
import sys
import wave

RATE = 22050


def burst(rng, length, decay, brightness):
    """Noise with an exponential fade; brightness 0..1 mixes raw noise over smoothed noise."""
    out = []
    smooth = 0.0
    for i in range(length):
        white = rng.uniform(-1.0, 1.0)
        smooth += 0.25 * (white - smooth)
        sample = brightness * white + (1.0 - brightness) * smooth * 2.0
        out.append(sample * math.exp(-i / (decay * RATE)))
    return out


def shutter(seed, gap, decay, brightness, tone_hz, duration):
    rng = random.Random(seed)
    n = int(duration * RATE)
    samples = [0.0] * n
    for start, level in ((0, 1.0), (int(gap * RATE), 0.7)):
        for i, s in enumerate(burst(rng, n - start, decay, brightness)):
            samples[start + i] += level * s
    for i in range(n):
        t = i / RATE
        samples[i] += 0.15 * math.sin(2 * math.pi * tone_hz * t) * math.exp(-t / 0.03)
    # Short fades at both ends keep the click free of a pop.
    fade = int(0.002 * RATE)
    for i in range(fade):
        samples[i] *= i / fade
        samples[n - 1 - i] *= i / fade
    peak = max(abs(s) for s in samples) or 1.0
    return [int(round(s / peak * 0.8 * 32767)) for s in samples]


def write_wav(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", s) for s in samples))


# name, seed, gap between the two bursts (s), decay (s), brightness, tone (Hz), length (s)
SOUNDS = [
    ("camera.snd", 11, 0.060, 0.012, 0.70, 1800, 0.20),
    ("camera.wav", 12, 0.070, 0.015, 0.60, 1500, 0.22),
    ("camera2.wav", 13, 0.045, 0.010, 0.85, 2400, 0.16),
    ("camera3.wav", 14, 0.090, 0.018, 0.50, 1200, 0.26),
    ("camera4.wav", 15, 0.030, 0.008, 0.90, 3000, 0.12),
    ("camera5.wav", 16, 0.110, 0.020, 0.40, 900, 0.28),
    ("camera6.wav", 17, 0.055, 0.014, 0.75, 2000, 0.20),
    ("camera7.wav", 18, 0.080, 0.011, 0.65, 1600, 0.22),
    ("camera8.wav", 19, 0.040, 0.016, 0.55, 2700, 0.18),
    ("camera9.wav", 20, 0.120, 0.013, 0.80, 1100, 0.30),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "Templates")
    os.makedirs(out, exist_ok=True)
    for name, seed, gap, decay, brightness, tone, duration in SOUNDS:
        write_wav(os.path.join(out, name), shutter(seed, gap, decay, brightness, tone, duration))


if __name__ == "__main__":
    main()
