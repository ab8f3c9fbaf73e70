#!/usr/bin/python3
"""Synthesises the game's sound effects and music loops.

Run from anywhere: `tools/make_sounds.py`. The files are committed; the build never runs this.
It needs Debian's python3-numpy (hence /usr/bin/python3 rather than whatever python3 is first on
PATH) and oggenc from vorbis-tools; sox is handy for checking the output but not used here.
Everything is computed from sine partials, seeded noise and simple filters defined below: no
recorded samples are involved.

Effects (data/sounds/, 16-bit PCM WAV, 44100 Hz). Every effect starts and ends on a zero sample
(raised-cosine edges), has its DC removed and is scaled to the peak given here, so that interface
ticks sit well below game events and jingles:
  click.wav        mono, 0.06 s, peak -12 dBFS. A button press: a 1.1 kHz tone whose pitch drops
                   from 1.5 kHz in the first milliseconds, a faint 2.9 kHz overtone and a noise
                   tick (3-12 kHz) that dies within 2 ms; the tone is gone within 40 ms.
  hover.wav        mono, 0.07 s, peak -20 dBFS. The pointer entering a button: a soft sine blip
                   gliding up from 1.9 to 2.6 kHz, a 5 ms attack, then a 12 ms exponential decay.
  hole_made.wav    mono, 1.0 s, peak -2 dBFS. A gravity hole appearing: a sine "whoomp" falling
                   from 180 Hz to 38 Hz, lightly saturated so small speakers hear its overtones,
                   over a rush of noise whose low-pass cutoff closes from 2.5 kHz to 150 Hz.
  hit.wav          mono, 0.35 s, peak -4 dBFS. Two objects colliding: a 150 to 90 Hz thump, four
                   inharmonic knock partials (420, 1130, 1870, 2950 Hz) with short decays and a
                   band-passed noise transient.
  kill.wav         mono, 0.9 s, peak -2 dBFS. An object destroyed: noise through a low-pass whose
                   cutoff falls from 6 kHz to 200 Hz, seeded crackle impulses, a square-ish tone
                   diving from 600 to 80 Hz and a 70 to 40 Hz boom.
  level_won.wav    stereo, 2.4 s, peak -1 dBFS. A rising jingle in C major: G4 C5 E5 G5 plucked
                   one after the other, landing on a C major chord topped by C6 with C3 below,
                   and a sparkle of high chord tones (E6 to E7), panned across the field, with a
                   short synthetic reverb.
  level_lost.wav   stereo, 2.6 s, peak -1.5 dBFS. A falling phrase in C minor: G4 Eb4 C4 on a
                   soft reed-like tone, then B3 sagging down a further semitone with vibrato over
                   a low C minor chord, with the same kind of reverb.
  dialog_open.wav  stereo, 1.0 s, peak -8 dBFS. A dialog appearing: a soft whoosh (noise through
                   two band-passes rising from 400 Hz to 3 kHz, each channel its own noise) and a
                   quiet two-note chime (E6, B6) entering at 0.12 s.

Music loops (data/sounds/music/, Ogg Vorbis, stereo, 44100 Hz, oggenc -q 3):
  menu.ogg   24 s: 8 bars of 4/4 at 80 BPM in D major, Dmaj9 Bm9 Gmaj9 A7sus4-A7 twice. A warm
             detuned-saw pad, a soft sine bass (root, pickup, fifth), an electric-piano-like
             arpeggio in eighths with a ping-pong echo, and a flute-like melody with delayed
             vibrato; a 2.8 s reverb over all.
  level.ogg  32 s: 16 bars of 4/4 at 120 BPM in A minor, Am F C G / Am F G E twice. Four-on-
             the-floor kick, snare on 2 and 4, closed hats on the off-beats with quiet sixteenths,
             an open hat every other bar, a crash on bars 1 and 9 and a snare fill into the loop
             point; a plucked saw bass in driving eighths, a pad that ducks under the kick, a
             sixteenth-note square arpeggio with echo, and a saw lead in bars 5-16.
Each loop is rendered circularly: the loop buffer is exactly its bars long, every note, echo and
reverb tail that runs past the end is added at the start, and filters are applied as circular
convolutions. The last sample therefore flows into the first exactly as any two neighbouring
samples do, and the track loops without a click or gap. The start of a file holds the wrapped
tails of its end, just as it does on every later pass.

Reproducibility: all noise comes from numpy's legacy RandomState with fixed seeds (its stream is
frozen across numpy versions), so reruns give identical WAV bytes on the same machine and numpy
version; another CPU or numpy build may round vectorised sin/exp differently, which can move a
few samples by one step. oggenc is run with a fixed stream serial number (-s), which its output
otherwise randomises; with that its output has been byte-identical between reruns here
(vorbis-tools 1.4.2, libvorbis 1.3.7), but another libvorbis version encodes differently.
"""

import os
import subprocess
import tempfile
import wave

import numpy as np

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
SR = 44100
TOP_PARTIAL_HZ = 18000.0
OGG_QUALITY = "3"
OGG_SERIAL = "20240"


# ---------------------------------------------------------------------------------------------
# Building blocks


def samples(seconds):
    return int(round(seconds * SR))


def hz(note):
    """Frequency of a MIDI note number (69 = A4 = 440 Hz)."""
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


def lowpass_gain(freq, cutoff, order=2):
    """Magnitude of a Butterworth low-pass of the given order at freq."""
    return 1.0 / np.sqrt(1.0 + (np.asarray(freq, dtype=float) / cutoff) ** (2 * order))


def highpass_gain(freq, cutoff, order=2):
    ratio = np.maximum(np.asarray(freq, dtype=float), 1e-9) / cutoff
    return 1.0 / np.sqrt(1.0 + ratio ** (-2 * order))


def noise(count, seed):
    return np.random.RandomState(seed).uniform(-1.0, 1.0, count)


def spectral_filter(x, gain_of_freq):
    """Zero-phase filter by a magnitude response, applied over the whole buffer in one FFT.
    The filtering is circular; callers that need linear filtering pad the buffer first."""
    spectrum = np.fft.rfft(x, axis=0)
    freqs = np.fft.rfftfreq(x.shape[0], 1.0 / SR)
    gain = gain_of_freq(freqs)
    if x.ndim == 2:
        gain = gain[:, None]
    return np.fft.irfft(spectrum * gain, x.shape[0], axis=0)


def band_noise(count, seed, low, high, order=2):
    """Seeded noise limited to a band, normalised to a peak of 1."""
    padded = noise(count + samples(0.05), seed)

    def response(freq):
        return highpass_gain(freq, low, order) * lowpass_gain(freq, high, order)

    band = spectral_filter(padded, response)[:count]
    return band / np.max(np.abs(band))


def svf(x, cutoff, q, mode):
    """Trapezoidal state-variable filter with a cutoff that may change every sample.
    mode: "low", "band" or "high". Used on effects only (a Python loop; they are short)."""
    cutoff = np.broadcast_to(np.asarray(cutoff, dtype=float), x.shape)
    g = np.tan(np.pi * np.minimum(cutoff, 0.45 * SR) / SR)
    k = 1.0 / q
    a1 = 1.0 / (1.0 + g * (g + k))
    a2 = g * a1
    a3 = g * a2
    out = np.empty_like(x)
    ic1 = ic2 = 0.0
    for i in range(x.shape[0]):
        v3 = x[i] - ic2
        v1 = a1[i] * ic1 + a2[i] * v3
        v2 = ic2 + a2[i] * ic1 + a3[i] * v3
        ic1 = 2.0 * v1 - ic1
        ic2 = 2.0 * v2 - ic2
        if mode == "low":
            out[i] = v2
        elif mode == "band":
            out[i] = v1
        else:
            out[i] = x[i] - k * v1 - v2
    return out


def dc_block(x, corner=15.0):
    """One-pole high-pass at a few hertz: removes the offset a decaying low sine leaves."""
    r = 1.0 - 2.0 * np.pi * corner / SR
    out = np.empty_like(x)
    previous_in = np.zeros(x.shape[1:])
    previous_out = np.zeros(x.shape[1:])
    for i in range(x.shape[0]):
        previous_out = x[i] - previous_in + r * previous_out
        previous_in = x[i]
        out[i] = previous_out
    return out


def tone(freq, count, partials, phases=None):
    """Sum of sine partials over a fundamental.

    freq: hertz, a number or one value per sample (glides, vibrato). partials: (ratio, amplitude,
    decay) with decay the 1/e time in seconds, 0 for none. Partials that would reach above
    TOP_PARTIAL_HZ are left out, so nothing aliases. phases: optional start phase per partial."""
    f = np.broadcast_to(np.asarray(freq, dtype=float), (count,))
    phase = 2.0 * np.pi * (np.cumsum(f) - f[0]) / SR
    t = np.arange(count) / SR
    out = np.zeros(count)
    top = float(np.max(f))
    for index, (ratio, amplitude, decay) in enumerate(partials):
        if ratio * top >= TOP_PARTIAL_HZ or amplitude == 0.0:
            continue
        offset = 0.0 if phases is None else phases[index]
        partial = np.sin(ratio * phase + offset)
        if decay:
            partial *= np.exp(-t / decay)
        out += amplitude * partial
    return out


def saw_partials(f0, cutoff, order=2, odd_only=False, decay=None):
    """Partials of a saw (or, odd_only, a square) through a low-pass at cutoff. decay(freq), when
    given, sets each partial's decay time: a pluck whose brightness closes as it rings."""
    partials = []
    ratio = 1
    while ratio * f0 < TOP_PARTIAL_HZ:
        amplitude = float(lowpass_gain(ratio * f0, cutoff, order)) / ratio
        if amplitude < 2e-4:
            break
        partials.append((ratio, amplitude, decay(ratio * f0) if decay else 0))
        ratio += 2 if odd_only else 1
    return partials


def raised_cosine(count):
    """Rises from exactly 0 towards 1 over count samples (the value after the last is 1)."""
    return 0.5 - 0.5 * np.cos(np.pi * np.arange(count) / count)


def note_envelope(hold, attack, decay, sustain, release):
    """A held note then its release. Raised-cosine attack from 0, exponential fall towards the
    sustain level while held, then a release that falls as (1-u)^3 to exactly 0 at its end."""
    held = samples(hold)
    t = np.arange(held) / SR
    envelope = sustain + (1.0 - sustain) * np.exp(-np.maximum(t - attack, 0.0) / decay)
    rise = samples(attack)
    if rise:
        envelope[:rise] *= raised_cosine(min(rise, held))
    level = envelope[-1] if held else 0.0
    u = np.arange(samples(release)) / max(samples(release), 1)
    return np.concatenate([envelope, level * (1.0 - u) ** 3, [0.0]])


def fade_edges(x, fade_in, fade_out):
    """Raised-cosine edges, so the first and last samples are exactly 0."""
    x = x.copy()
    head, tail = samples(fade_in), samples(fade_out)
    ramp_in = raised_cosine(head)
    ramp_out = 0.5 + 0.5 * np.cos(np.pi * (np.arange(tail) + 1) / tail)
    if x.ndim == 2:
        ramp_in, ramp_out = ramp_in[:, None], ramp_out[:, None]
    x[:head] *= ramp_in
    x[-tail:] *= ramp_out
    return x


def pan(mono, position):
    """Equal-power pan: position -1 is left, 0 centre, 1 right."""
    angle = (position + 1.0) * np.pi / 4.0
    return np.stack([mono * np.cos(angle), mono * np.sin(angle)], axis=1)


def reverb_impulse(length, rt60, seed, damping):
    """Stereo impulse response of a synthetic hall: decorrelated noise per channel, a bright part
    that dies at 0.4 of rt60 and a part low-passed at damping that dies at rt60; a 12 ms
    pre-delay and a 10 ms raised-cosine onset. Scaled to unit energy per channel."""
    count = samples(length)
    t = np.arange(count) / SR
    channels = []
    for channel in range(2):
        white = noise(count, seed + channel)
        dark = spectral_filter(white, lambda f: lowpass_gain(f, damping, 1))
        body = dark * np.exp(-6.91 * t / rt60) + 0.3 * white * np.exp(-6.91 * t / (0.4 * rt60))
        body[: samples(0.01)] *= raised_cosine(samples(0.01))
        body = np.concatenate([np.zeros(samples(0.012)), body])[:count]
        channels.append(body / np.sqrt(np.sum(body ** 2)))
    return np.stack(channels, axis=1)


def convolve(x, impulse, circular):
    """Stereo convolution by FFT. circular: wrap the tail into the start (loops); otherwise the
    result is as long as x plus the impulse."""
    if x.ndim == 1:
        x = np.stack([x, x], axis=1)
    count = x.shape[0] if circular else x.shape[0] + impulse.shape[0]
    size = count if circular else 1 << int(np.ceil(np.log2(count)))
    spectrum = np.fft.rfft(x, size, axis=0) * np.fft.rfft(impulse, size, axis=0)
    out = np.fft.irfft(spectrum, size, axis=0)
    return out[:count]


def finish(x, peak_db, fade_in=0.001, fade_out=0.005):
    """DC removed, zero-sample edges, peak scaled to peak_db dBFS, as 16-bit samples."""
    x = fade_edges(dc_block(x), fade_in, fade_out)
    x *= 10.0 ** (peak_db / 20.0) / np.max(np.abs(x))
    return np.round(x * 32767.0).astype("<i2")


def save_wav(path, pcm):
    with wave.open(path, "wb") as out:
        out.setnchannels(1 if pcm.ndim == 1 else 2)
        out.setsampwidth(2)
        out.setframerate(SR)
        out.writeframes(pcm.tobytes())


def output_path(relative):
    path = os.path.join(ROOT, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    return path


def report(relative, pcm):
    size = os.path.getsize(os.path.join(ROOT, relative))
    print("%-34s %8d bytes %6.2f s" % (relative, size, pcm.shape[0] / SR))


# ---------------------------------------------------------------------------------------------
# Effects


def click():
    count = samples(0.06)
    t = np.arange(count) / SR
    pitch = 1100.0 + 400.0 * np.exp(-t / 0.002)
    body = tone(pitch, count, [(1, 1.0, 0.006), (2.63, 0.25, 0.003)])
    tick = band_noise(count, 101, 3000.0, 12000.0) * np.exp(-t / 0.0007) * 0.35
    return finish(body + tick, -12.0, fade_in=0.0005, fade_out=0.01)


def hover():
    count = samples(0.07)
    t = np.arange(count) / SR
    pitch = 1900.0 + 700.0 * (1.0 - np.exp(-t / 0.012))
    envelope = np.exp(-np.maximum(t - 0.005, 0.0) / 0.012)
    envelope[: samples(0.005)] *= raised_cosine(samples(0.005))
    blip = tone(pitch, count, [(1, 1.0, 0), (2, 0.08, 0)]) * envelope
    return finish(blip, -20.0, fade_out=0.015)


def hole_made():
    count = samples(1.0)
    t = np.arange(count) / SR
    pitch = 38.0 + 142.0 * np.exp(-t / 0.09)
    envelope = np.exp(-np.maximum(t - 0.01, 0.0) / 0.3)
    envelope[: samples(0.01)] *= raised_cosine(samples(0.01))
    whoomp = np.tanh(1.8 * tone(pitch, count, [(1, 1.0, 0), (2, 0.15, 0.08)]) * envelope)
    air_envelope = np.exp(-np.maximum(t - 0.03, 0.0) / 0.16)
    air_envelope[: samples(0.03)] *= raised_cosine(samples(0.03))
    cutoff = 150.0 + 2350.0 * np.exp(-t / 0.08)
    air = svf(noise(count, 202), cutoff, 0.9, "low") * air_envelope
    return finish(whoomp + 0.9 * air, -2.0, fade_out=0.08)


def hit():
    count = samples(0.35)
    t = np.arange(count) / SR
    thump = tone(90.0 + 60.0 * np.exp(-t / 0.015), count, [(1, 1.0, 0.06)])
    knock = tone(420.0, count, [(1, 0.55, 0.08), (1130 / 420, 0.35, 0.045),
                                (1870 / 420, 0.22, 0.03), (2950 / 420, 0.14, 0.02)])
    snap = band_noise(count, 303, 2000.0, 6000.0) * np.exp(-t / 0.006) * 0.45
    mix = thump + knock + snap
    mix[: samples(0.001)] *= raised_cosine(samples(0.001))
    return finish(mix, -4.0, fade_out=0.05)


def kill():
    count = samples(0.9)
    t = np.arange(count) / SR
    rng = np.random.RandomState(404)
    burst_envelope = np.exp(-np.maximum(t - 0.004, 0.0) / 0.22)
    burst_envelope[: samples(0.004)] *= raised_cosine(samples(0.004))
    cutoff = 200.0 + 5800.0 * np.exp(-t / 0.12)
    burst = svf(noise(count, 405), cutoff, 1.1, "low") * burst_envelope
    crackle = np.zeros(count)
    grain_count = samples(0.004)
    grain = band_noise(grain_count, 406, 1500.0, 9000.0)
    grain *= np.exp(-np.arange(grain_count) / (0.0008 * SR))
    grain[: samples(0.0003)] *= raised_cosine(samples(0.0003))
    for _ in range(45):
        start = int(SR * 0.5 * rng.uniform() ** 1.8)
        level = rng.uniform(0.2, 0.7) * np.exp(-start / (0.3 * SR))
        crackle[start:start + grain.shape[0]] += level * grain[: count - start]
    dive = tone(80.0 + 520.0 * np.exp(-t / 0.12), count, saw_partials(600.0, 1800.0, odd_only=True))
    dive *= np.exp(-t / 0.15) * 0.3
    boom = tone(40.0 + 30.0 * np.exp(-t / 0.1), count, [(1, 1.0, 0.3)])
    return finish(burst + crackle + dive + 0.8 * boom, -2.0, fade_out=0.1)


def pluck_note(note, hold, brightness=3000.0, ring=0.9):
    """Bright plucked tone for the jingles: a saw whose upper partials die first."""
    f0 = hz(note)
    envelope = note_envelope(hold, 0.003, ring, 0.0, 0.25)
    partials = saw_partials(f0, brightness, decay=lambda f: ring / (1.0 + f / 900.0))
    return tone(f0, envelope.shape[0], partials) * envelope


def level_won():
    length = samples(1.6)
    dry = np.zeros((length, 2))
    run = [(67, 0.00, -0.5), (72, 0.09, -0.2), (76, 0.18, 0.2), (79, 0.27, 0.5)]
    for note, start, position in run:
        sound = pluck_note(note, 0.35)
        at = samples(start)
        dry[at:at + sound.shape[0]] += pan(sound, position)[: length - at]
    chord = [(48, 0.0, 0.7), (60, -0.3, 0.45), (64, 0.3, 0.4), (67, -0.1, 0.4), (72, 0.1, 0.45),
             (84, 0.2, 0.35)]
    for note, position, level in chord:
        sound = pluck_note(note, 0.9, brightness=2200.0, ring=1.2) * level
        at = samples(0.36)
        dry[at:at + sound.shape[0]] += pan(sound, position)[: length - at]
    for index, note in enumerate([88, 91, 96, 91, 96, 100]):
        envelope = note_envelope(0.3, 0.002, 0.12, 0.0, 0.1)
        sound = tone(hz(note), envelope.shape[0], [(1, 1.0, 0), (2, 0.2, 0.05)]) * envelope * 0.18
        at = samples(0.44 + 0.07 * index)
        dry[at:at + sound.shape[0]] += pan(sound, 0.6 if index % 2 else -0.6)[: length - at]
    wet = convolve(dry, reverb_impulse(1.2, 0.9, 505, 4000.0), circular=False)
    mix = wet[: samples(2.4)] * 0.25
    mix[:length] += dry
    return finish(mix, -1.0, fade_out=0.2)


def reed_note(note, hold, sag=0.0, vibrato=0.0):
    """Soft reed-like tone (odd partials, low-passed) with an optional slow fall in pitch over
    the note (sag, in semitones) and vibrato (depth in semitones) that fades in."""
    envelope = note_envelope(hold, 0.025, 0.5, 0.7, 0.35)
    count = envelope.shape[0]
    t = np.arange(count) / SR
    bend = -sag * np.minimum(t / max(hold, 1e-3), 1.0) ** 2
    wobble = vibrato * np.minimum(t / 0.4, 1.0) * np.sin(2.0 * np.pi * 5.0 * t)
    pitch = hz(note) * 2.0 ** ((bend + wobble) / 12.0)
    partials = saw_partials(hz(note), 1200.0, odd_only=True)
    partials += [(2, 0.12, 0), (4, 0.04, 0)]
    return tone(pitch, count, partials) * envelope


def level_lost():
    length = samples(2.2)
    dry = np.zeros((length, 2))
    phrase = [(67, 0.0, 0.26, 0.0, 0.0, -0.2), (63, 0.3, 0.26, 0.0, 0.0, 0.1),
              (60, 0.6, 0.26, 0.0, 0.0, -0.1), (59, 0.9, 0.95, 1.0, 0.25, 0.0)]
    for note, start, hold, sag, vibrato, position in phrase:
        sound = reed_note(note, hold, sag, vibrato)
        at = samples(start)
        dry[at:at + sound.shape[0]] += pan(sound, position)[: length - at]
    for note, position in [(36, 0.0), (48, -0.4), (51, 0.4), (55, 0.0)]:
        envelope = note_envelope(1.0, 0.15, 0.8, 0.6, 0.3)
        sound = tone(hz(note), envelope.shape[0], saw_partials(hz(note), 500.0)) * envelope * 0.35
        at = samples(0.9)
        dry[at:at + sound.shape[0]] += pan(sound, position)[: length - at]
    wet = convolve(dry, reverb_impulse(1.2, 0.9, 606, 3000.0), circular=False)
    mix = wet[: samples(2.6)] * 0.25
    mix[:length] += dry
    return finish(mix, -1.5, fade_out=0.2)


def dialog_open():
    count = samples(1.0)
    t = np.arange(count) / SR
    swell = np.exp(-np.maximum(t - 0.18, 0.0) / 0.1)
    swell[: samples(0.18)] *= raised_cosine(samples(0.18))
    centre = 400.0 * (3000.0 / 400.0) ** np.minimum(t / 0.3, 1.0)
    # Two band-pass stages: one alone lets through too much hiss far from the centre.
    sides = [svf(noise(count, 707 + channel), centre, 1.2, "band") for channel in range(2)]
    whoosh = np.stack([svf(side, centre, 1.2, "band") for side in sides], axis=1)
    whoosh *= swell[:, None]
    chime = np.zeros((count, 2))
    for note, position, level in [(88, -0.3, 0.5), (95, 0.3, 0.3)]:
        bell = tone(hz(note), count - samples(0.12), [(1, 1.0, 0.22), (2.76, 0.15, 0.06)])
        bell[: samples(0.003)] *= raised_cosine(samples(0.003))
        chime[samples(0.12):] += pan(bell * level, position)
    return finish(whoosh * 4.0 + chime * 0.35, -8.0, fade_out=0.1)


EFFECTS = {
    "data/sounds/click.wav": click,
    "data/sounds/hover.wav": hover,
    "data/sounds/hole_made.wav": hole_made,
    "data/sounds/hit.wav": hit,
    "data/sounds/kill.wav": kill,
    "data/sounds/level_won.wav": level_won,
    "data/sounds/level_lost.wav": level_lost,
    "data/sounds/dialog_open.wav": dialog_open,
}


# ---------------------------------------------------------------------------------------------
# Music


class Loop:
    """A circular stereo buffer exactly `bars` bars of 4/4 long, mixed in named busses.
    Whatever is placed past the end continues at the start."""

    def __init__(self, bpm, bars):
        beat = SR * 60.0 / bpm
        assert beat == int(beat), "a beat must be a whole number of samples"
        self.beat = int(beat)
        self.beats = 4 * bars
        self.count = self.beat * self.beats
        self.busses = {}

    def seconds(self, beats):
        return beats * self.beat / SR

    def bus(self, name):
        if name not in self.busses:
            self.busses[name] = np.zeros((self.count, 2))
        return self.busses[name]

    def place(self, name, beat, sound, position=0.0, gain=1.0):
        stereo = pan(sound, position) if sound.ndim == 1 else sound
        target = self.bus(name)
        start = int(round(beat * self.beat)) % self.count
        head = min(stereo.shape[0], self.count - start)
        target[start:start + head] += gain * stereo[:head]
        target[: stereo.shape[0] - head] += gain * stereo[head:]

    def echo(self, name, delay_beats, feedback, taps):
        """Ping-pong echo of a bus, circular: tap i comes back delay*i later, on alternate sides."""
        source = self.bus(name)
        mono = source.sum(axis=1) * 0.5
        delay = int(round(delay_beats * self.beat))
        for tap in range(1, taps + 1):
            side = 1 if tap % 2 else 0
            source[:, side] += feedback ** tap * np.roll(mono, tap * delay)

    def duck(self, name, depth, release):
        """Lowers a bus on every beat and lets it swell back (the pad breathing with the kick).
        The dip opens over 6 ms so the gain never steps."""
        u = np.arange(self.beat) / SR
        shape = np.exp(-np.maximum(u - 0.006, 0.0) / release)
        shape[: samples(0.006)] *= raised_cosine(samples(0.006))
        gain = 1.0 - depth * np.tile(shape, self.beats)
        self.bus(name)[:] *= gain[:, None]


def spread(voices, bleed):
    """Two voices as a stereo pair, each mostly on its own side."""
    left, right = voices
    keep = 1.0 - bleed
    return np.stack([left * keep + right * bleed, right * keep + left * bleed], axis=1)


def detuned_pad(note, hold, cutoff, attack, release, seed):
    """Two saw voices 6 cents apart, one each side, with random partial phases so the chord
    does not form sharp peaks."""
    rng = np.random.RandomState(seed)
    envelope = note_envelope(hold, attack, 1.5, 0.8, release)
    voices = []
    for cents in (-6.0, 6.0):
        f0 = hz(note) * 2.0 ** (cents / 1200.0)
        partials = saw_partials(f0, cutoff)
        phases = rng.uniform(0.0, 2.0 * np.pi, len(partials))
        voices.append(tone(f0, envelope.shape[0], partials, phases) * envelope)
    return spread(voices, 0.2)


def soft_bass(note, hold):
    envelope = note_envelope(hold, 0.02, 0.8, 0.6, 0.25)
    partials = [(1, 1.0, 0), (2, 0.35, 0), (3, 0.12, 0), (4, 0.05, 0)]
    return tone(hz(note), envelope.shape[0], partials) * envelope


def electric_piano(note, hold):
    envelope = note_envelope(hold, 0.004, 10.0, 1.0, 0.5)
    partials = [(1, 1.0, 1.2), (2, 0.45, 0.5), (3, 0.12, 0.25), (7.1, 0.05, 0.04)]
    return tone(hz(note), envelope.shape[0], partials) * envelope


def flute(note, hold, seed):
    envelope = note_envelope(hold, 0.07, 0.6, 0.8, 0.2)
    count = envelope.shape[0]
    t = np.arange(count) / SR
    depth = 0.006 * np.clip((t - 0.25) / 0.3, 0.0, 1.0)
    pitch = hz(note) * (1.0 + depth * np.sin(2.0 * np.pi * 5.0 * t))
    body = tone(pitch, count, [(1, 1.0, 0), (2, 0.22, 0), (3, 0.08, 0), (4, 0.03, 0)])
    breath = band_noise(count, seed, 1500.0, 4500.0) * 0.04
    return (body + breath) * envelope


def menu_music():
    loop = Loop(80, 8)
    chords = [  # (bass root, fifth, pad notes, arpeggio tones)
        (38, 45, [54, 57, 61, 64], [62, 66, 69, 73, 74]),
        (35, 42, [54, 57, 61, 62], [59, 62, 66, 69, 71]),
        (43, 50, [54, 57, 59, 62], [59, 62, 66, 69, 71]),
        (45, 52, [55, 57, 62, 64], [57, 62, 64, 67, 69]),
    ]
    arp_order = [0, 1, 2, 3, 4, 3, 2, 1]
    for bar in range(8):
        root, fifth, pad_notes, arp = chords[bar % 4]
        at = bar * 4
        if bar % 4 == 3:
            halves = [(at, [55, 57, 62, 64]), (at + 2, [55, 57, 61, 64])]
            arp_sets = [arp, [57, 61, 64, 67, 69]]
        else:
            halves = [(at, pad_notes)]
            arp_sets = [arp, arp]
        for start, notes in halves:
            hold = loop.seconds(4 if len(halves) == 1 else 2)
            for index, note in enumerate(notes):
                sound = detuned_pad(note, hold, 1100.0, 0.5, 1.0, 1000 + bar * 10 + index)
                loop.place("pad", start, sound, gain=0.15)
        loop.place("bass", at, soft_bass(root, loop.seconds(1.4)), gain=0.5)
        loop.place("bass", at + 1.5, soft_bass(root, loop.seconds(0.4)), gain=0.38)
        loop.place("bass", at + 2, soft_bass(fifth, loop.seconds(1.9)), gain=0.46)
        for step, index in enumerate(arp_order):
            tones = arp_sets[step // 4]
            loop.place("arp", at + step * 0.5, electric_piano(tones[index] + 12, loop.seconds(0.4)),
                       position=0.35, gain=0.2 if step % 2 else 0.25)
    melody = [
        (0, 1.5, 78), (1.5, 0.5, 76), (2, 1, 74), (3, 1, 76),
        (4, 2, 78), (6, 1, 81), (7, 1, 78),
        (8, 1.5, 79), (9.5, 0.5, 78), (10, 1, 74), (11, 1, 71),
        (12, 2, 69), (14, 1, 76), (15, 1, 73),
        (16, 1.5, 74), (17.5, 0.5, 76), (18, 1, 78), (19, 1, 81),
        (20, 2, 83), (22, 1, 81), (23, 1, 78),
        (24, 1.5, 79), (25.5, 0.5, 78), (26, 1, 76), (27, 1, 74),
        (28, 3, 76),
    ]
    for index, (start, length, note) in enumerate(melody):
        sound = flute(note, loop.seconds(length) * 0.95, 2000 + index)
        loop.place("lead", start, sound, position=-0.1, gain=0.38)
    loop.echo("arp", 0.75, 0.35, 4)
    sends = {"pad": 0.35, "bass": 0.05, "arp": 0.5, "lead": 0.45}
    return master(loop, sends, reverb_impulse(3.5, 2.8, 3000, 3500.0), wet=0.5)


def kick():
    count = samples(0.4)
    t = np.arange(count) / SR
    body = tone(48.0 + 100.0 * np.exp(-t / 0.035), count, [(1, 1.0, 0), (2, 0.1, 0.02)])
    envelope = np.exp(-np.maximum(t - 0.002, 0.0) / 0.18)
    envelope[: samples(0.002)] *= raised_cosine(samples(0.002))
    beater = band_noise(count, 4001, 1000.0, 6000.0) * np.exp(-t / 0.003) * 0.25
    return fade_edges(np.tanh(1.5 * body * envelope) + beater, 0.0005, 0.05)


def snare():
    count = samples(0.3)
    t = np.arange(count) / SR
    body = tone(185.0 * (1.0 + 0.2 * np.exp(-t / 0.01)), count, [(1, 1.0, 0.06), (1.78, 0.5, 0.04)])
    rattle = band_noise(count, 4002, 1500.0, 9000.0) * np.exp(-t / 0.11)
    return fade_edges(0.6 * body + 0.8 * rattle, 0.001, 0.05)


def hat(seed, decay, length):
    count = samples(length)
    t = np.arange(count) / SR
    return fade_edges(band_noise(count, seed, 7000.0, 15000.0) * np.exp(-t / decay), 0.001, 0.02)


def crash():
    count = samples(2.5)
    t = np.arange(count) / SR
    return fade_edges(band_noise(count, 4010, 3500.0, 12000.0) * np.exp(-t / 0.7), 0.002, 0.3)


def pluck_bass(note, hold):
    f0 = hz(note)
    envelope = note_envelope(hold, 0.003, 0.4, 0.5, 0.05)
    partials = saw_partials(f0, 1400.0, decay=lambda f: 0.3 / (1.0 + f / 350.0))
    partials.append((1, 0.6, 0))
    return tone(f0, envelope.shape[0], partials) * envelope


def square_arp(note, hold):
    f0 = hz(note)
    envelope = note_envelope(hold, 0.002, 0.3, 0.3, 0.08)
    partials = saw_partials(f0, 2600.0, odd_only=True, decay=lambda f: 0.3 / (1.0 + f / 1500.0))
    return tone(f0, envelope.shape[0], partials) * envelope


def saw_lead(note, hold):
    envelope = note_envelope(hold, 0.012, 0.4, 0.75, 0.12)
    count = envelope.shape[0]
    t = np.arange(count) / SR
    depth = 0.005 * np.clip((t - 0.2) / 0.25, 0.0, 1.0)
    wobble = 1.0 + depth * np.sin(2.0 * np.pi * 5.5 * t)
    voices = []
    for cents in (-7.0, 7.0):
        f0 = hz(note) * 2.0 ** (cents / 1200.0)
        voices.append(tone(f0 * wobble, count, saw_partials(f0, 2800.0)) * envelope)
    return spread(voices, 0.25)


def level_music():
    loop = Loop(120, 16)
    chords = {  # name: (bass root, pad notes, arpeggio tones)
        "Am": (45, [57, 60, 64], [69, 72, 76, 81]),
        "F": (41, [57, 60, 65], [65, 69, 72, 77]),
        "C": (48, [55, 60, 64], [67, 72, 76, 79]),
        "G": (43, [55, 59, 62], [67, 71, 74, 79]),
        "E": (40, [56, 59, 64], [64, 68, 71, 76]),
    }
    progression = ["Am", "F", "C", "G", "Am", "F", "G", "E"] * 2
    bass_steps = [0, 0, 0, 12, 0, 0, 12, 0]
    arp_steps = [0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 2, 1, 0, 1, 2, 1]
    hats = [hat(4020 + index, 0.03, 0.12) for index in range(4)]
    for bar, name in enumerate(progression):
        root, pad_notes, arp = chords[name]
        at = bar * 4
        for index, note in enumerate(pad_notes):
            sound = detuned_pad(note, loop.seconds(3.9), 900.0, 0.25, 0.6, 5000 + bar * 10 + index)
            loop.place("pad", at, sound, gain=0.15)
        for step, offset in enumerate(bass_steps):
            loop.place("bass", at + step * 0.5, pluck_bass(root - 12 + offset, loop.seconds(0.42)),
                       gain=0.42 if step % 2 == 0 else 0.35)
        for step, index in enumerate(arp_steps):
            loop.place("arp", at + step * 0.25, square_arp(arp[index], loop.seconds(0.2)),
                       position=-0.4, gain=0.28 if step % 4 == 0 else 0.2)
        for beat in range(4):
            loop.place("drums", at + beat, kick(), gain=0.95)
            for offset, variant, position, gain in [(0.5, 0, 0.25, 0.3), (0.25, 1, 0.35, 0.1),
                                                    (0.75, 2, 0.35, 0.12)]:
                sound = hats[(bar + beat + variant) % 4]
                loop.place("drums", at + beat + offset, sound, position=position, gain=gain)
        loop.place("drums", at + 1, snare(), position=-0.05, gain=0.6)
        loop.place("drums", at + 3, snare(), position=-0.05, gain=0.6)
        if bar % 2 == 1:
            loop.place("drums", at + 3.5, hat(4030, 0.16, 0.45), position=0.25, gain=0.25)
        if bar in (0, 8):
            loop.place("drums", at, crash(), position=-0.3, gain=0.3)
    for step, level in enumerate([0.2, 0.25, 0.3, 0.35, 0.4, 0.45]):
        loop.place("drums", 62.5 + step * 0.25, snare(), position=-0.05, gain=level)
    bars_5_to_8 = [
        (0, 1, 76), (1, 0.5, 74), (1.5, 0.5, 72), (2, 0.5, 74), (2.5, 1.5, 76),
        (4, 1, 77), (5, 0.5, 76), (5.5, 0.5, 74), (6, 2, 72),
        (8, 1, 74), (9, 0.5, 71), (9.5, 0.5, 67), (10, 0.5, 71), (10.5, 1.5, 74),
        (12, 1.5, 76), (13.5, 0.5, 68), (14, 1, 71), (15, 1, 74),
    ]
    bars_9_to_12 = [
        (0, 1.5, 72), (1.5, 0.5, 71), (2, 2, 69),
        (4, 1, 69), (5, 1, 72), (6, 2, 77),
        (8, 1.5, 76), (9.5, 0.5, 74), (10, 1, 72), (11, 1, 67),
        (12, 1.5, 71), (13.5, 0.5, 72), (14, 2, 74),
    ]
    bars_13_to_16 = [
        (0, 1, 81), (1, 0.5, 79), (1.5, 0.5, 76), (2, 0.5, 79), (2.5, 1.5, 81),
        (4, 1, 81), (5, 0.5, 79), (5.5, 0.5, 77), (6, 1, 76), (7, 1, 72),
        (8, 1.5, 74), (9.5, 0.5, 71), (10, 0.5, 74), (10.5, 1.5, 79),
        (12, 1, 80), (13, 1, 76), (14, 1, 71), (15, 1, 68),
    ]
    for first_beat, phrase in [(16, bars_5_to_8), (32, bars_9_to_12), (48, bars_13_to_16)]:
        for start, length, note in phrase:
            sound = saw_lead(note, loop.seconds(length) * 0.9)
            loop.place("lead", first_beat + start, sound, gain=0.35)
    loop.duck("pad", 0.55, 0.12)
    loop.echo("arp", 0.75, 0.3, 3)
    loop.echo("lead", 0.75, 0.18, 2)
    sends = {"pad": 0.3, "bass": 0.0, "arp": 0.35, "lead": 0.35, "drums": 0.08}
    return master(loop, sends, reverb_impulse(2.2, 1.5, 6000, 4000.0), wet=0.45)


def master(loop, sends, impulse, wet):
    """Sum the busses with their reverb sends (circular, so tails wrap into the start), remove DC,
    round the peaks off gently and scale to -1.8 dBFS (Vorbis coding adds a few tenths of a dB
    to the peaks, so the decoded files peak near -1 dBFS)."""
    dry = sum(loop.busses.values())
    send = sum(loop.busses[name] * level for name, level in sends.items())
    mix = dry + wet * convolve(send, impulse, circular=True)
    mix -= mix.mean(axis=0)
    mix /= np.max(np.abs(mix))
    mix = np.tanh(1.3 * mix) / np.tanh(1.3)
    mix *= 10.0 ** (-1.8 / 20.0)
    return np.round(mix * 32767.0).astype("<i2")


MUSIC = {
    "data/sounds/music/menu.ogg": menu_music,
    "data/sounds/music/level.ogg": level_music,
}


def encode_ogg(path, pcm):
    with tempfile.TemporaryDirectory() as scratch:
        source = os.path.join(scratch, "loop.wav")
        save_wav(source, pcm)
        command = ["oggenc", "--quiet", "-q", OGG_QUALITY, "-s", OGG_SERIAL, "-o", path, source]
        subprocess.run(command, check=True)


def main():
    for relative, build in EFFECTS.items():
        pcm = build()
        save_wav(output_path(relative), pcm)
        report(relative, pcm)
    for relative, build in MUSIC.items():
        pcm = build()
        encode_ogg(output_path(relative), pcm)
        report(relative, pcm)


if __name__ == "__main__":
    main()
