#pragma once

// Measures a captured stereo stream of 16-bit samples (DiskAudioCapture.h). Windows are given
// in sample frames from the start of the stream; a window the stream does not cover answers
// NaN, which fails every comparison, so a short or empty capture can never look like silence.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <vector>

namespace stream {

inline constexpr double nan = std::numeric_limits<double>::quiet_NaN();

inline bool Covers(const std::vector<int16_t>& samples, int64_t first, int64_t frames)
{
    return first >= 0 && frames > 0 && static_cast<size_t>(first + frames) * 2 <= samples.size();
}

// The amplitude of the sine of `hz` in the left channel over the window. Exact for a window of
// whole periods; sines of other frequencies with whole periods in it do not count.
inline double ToneAmplitude(
    const std::vector<int16_t>& samples, int64_t first, int64_t frames, double hz, int rate)
{
    if (!Covers(samples, first, frames))
        return nan;
    double re = 0.0;
    double im = 0.0;
    const double step = 2.0 * std::numbers::pi * hz / rate;
    for (int64_t i = 0; i < frames; ++i) {
        const double x = samples[static_cast<size_t>(first + i) * 2];
        re += x * std::cos(step * static_cast<double>(i));
        im += x * std::sin(step * static_cast<double>(i));
    }
    return 2.0 * std::hypot(re, im) / static_cast<double>(frames);
}

// The largest absolute sample of either channel over the window.
inline double Peak(const std::vector<int16_t>& samples, int64_t first, int64_t frames)
{
    if (!Covers(samples, first, frames))
        return nan;
    int peak = 0;
    for (size_t i = static_cast<size_t>(first) * 2; i < static_cast<size_t>(first + frames) * 2;
         ++i)
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    return peak;
}

// The first frame with a sample other than zero, or -1.
inline int64_t FirstSound(const std::vector<int16_t>& samples)
{
    for (size_t i = 0; i < samples.size(); ++i) {
        if (samples[i] != 0)
            return static_cast<int64_t>(i / 2);
    }
    return -1;
}

// How a window of the stream compares with a looping stereo track started at stream frame
// `lag`: their correlation (1 for the same waveform at any level) and the level of the track
// in the stream (the least-squares gain).
struct TrackMatch {
    int64_t lag = 0;
    double correlation = nan;
    double gain = nan;
};

inline TrackMatch MatchAt(const std::vector<int16_t>& samples, const std::vector<int16_t>& track,
    int64_t first, int64_t frames, int64_t lag)
{
    TrackMatch match;
    match.lag = lag;
    const auto trackFrames = static_cast<int64_t>(track.size() / 2);
    if (!Covers(samples, first, frames) || trackFrames == 0 || first < lag)
        return match;
    double cross = 0.0;
    double streamEnergy = 0.0;
    double trackEnergy = 0.0;
    int64_t at = (first - lag) % trackFrames;
    for (int64_t i = 0; i < frames; ++i) {
        for (int c = 0; c < 2; ++c) {
            const double s = samples[static_cast<size_t>(first + i) * 2 + c];
            const double t = track[static_cast<size_t>(at) * 2 + c];
            cross += s * t;
            streamEnergy += s * s;
            trackEnergy += t * t;
        }
        if (++at == trackFrames)
            at = 0;
    }
    if (streamEnergy == 0.0 || trackEnergy == 0.0)
        return match;
    match.correlation = cross / std::sqrt(streamEnergy * trackEnergy);
    match.gain = cross / trackEnergy;
    return match;
}

// The start of the track, among stream frames `earliest` to `latest`, that best explains the
// window.
inline TrackMatch BestMatch(const std::vector<int16_t>& samples, const std::vector<int16_t>& track,
    int64_t first, int64_t frames, int64_t earliest, int64_t latest)
{
    TrackMatch best;
    for (int64_t lag = std::max<int64_t>(earliest, 0); lag <= latest; ++lag) {
        const TrackMatch match = MatchAt(samples, track, first, frames, lag);
        if (std::isnan(best.correlation) || match.correlation > best.correlation)
            best = match;
    }
    return best;
}

} // namespace stream
