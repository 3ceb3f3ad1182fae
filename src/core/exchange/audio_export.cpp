#include "exchange/audio_export.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <memory>

#include "exchange/notation.h"
#include "model/notation_tables.h"
#include "sound/play_program.h"
#include "sound/tone.h"

namespace sorvel::exchange {
namespace {

void put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>((v >> 8) & 0xff);
}
void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}
void putBig(std::string& out, std::uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}
void putVarLen(std::string& out, std::uint64_t v) {
    char buf[10];
    int n = 0;
    buf[n++] = static_cast<char>(v & 0x7f);
    while ((v >>= 7) != 0) buf[n++] = static_cast<char>(0x80 | (v & 0x7f));
    while (n > 0) out += buf[--n];
}

std::int64_t keySemitones(std::string_view key) {
    if (key == "Bb") return -2;
    if (key == "Eb") return 3;
    return 0;
}

}  // namespace

std::vector<TimedNote> playedNotes(const Score& score) {
    // The playback walk itself, with a pitch table that names each pitch index (index + 1,
    // 0 stays a rest) and a tempo of 60, at which a length in seconds is a length in beats.
    std::vector<float> indexTable(tables::kPitchCount);
    for (std::size_t i = 0; i < indexTable.size(); ++i) indexTable[i] = static_cast<float>(i + 1);
    PlayListOptions options;
    options.tempo = 60;
    options.key = "C";
    const auto list = buildPlayList(score.musicData, -1, indexTable, options);
    const std::int64_t shift = keySemitones(score.settings.keyValue());
    std::vector<TimedNote> notes;
    notes.reserve(list.size());
    std::int64_t tick = 0;
    for (const PlayEntry& e : list) {
        TimedNote n;
        n.startTick = tick;
        n.lengthTicks = std::llround(static_cast<double>(e.seconds) * kMidiTicksPerQuarter);
        const auto index = static_cast<std::int64_t>(e.frequency) - 1;
        if (index >= 0)
            n.midiKey = std::clamp<std::int64_t>(spellPitch(index).midi() + shift, 0, 127);
        tick += n.lengthTicks;
        notes.push_back(n);
    }
    return notes;
}

std::string writeMidi(const Score& score, std::string_view title) {
    const auto notes = playedNotes(score);
    std::string track;
    auto meta = [&](std::uint8_t type, const std::string& data) {
        putVarLen(track, 0);
        track += static_cast<char>(0xff);
        track += static_cast<char>(type);
        putVarLen(track, data.size());
        track += data;
    };
    if (!title.empty()) meta(0x03, std::string(title.substr(0, 1000)));
    const std::int64_t tempo = std::clamp<std::int64_t>(score.settings.tempoValue(), 4, 60'000'000);
    std::string data;
    putBig(data, static_cast<std::uint32_t>(60'000'000 / tempo), 3);
    meta(0x51, data);
    data.clear();
    data += static_cast<char>(std::clamp<std::int64_t>(score.settings.beatValue(), 1, 255));
    data += static_cast<char>(2);  // beat type 2^2 = 4
    data += static_cast<char>(24);
    data += static_cast<char>(8);
    meta(0x58, data);

    std::int64_t now = 0;
    auto event = [&](std::int64_t at, std::uint8_t status, std::int64_t key, std::uint8_t vel) {
        putVarLen(track, static_cast<std::uint64_t>(at - now));
        now = at;
        track += static_cast<char>(status);
        track += static_cast<char>(key);
        track += static_cast<char>(vel);
    };
    std::int64_t end = 0;
    for (const TimedNote& n : notes) {
        end = n.startTick + n.lengthTicks;
        if (n.midiKey < 0 || n.lengthTicks <= 0) continue;
        event(n.startTick, 0x90, n.midiKey, 80);
        event(n.startTick + n.lengthTicks, 0x80, n.midiKey, 0);
    }
    putVarLen(track, static_cast<std::uint64_t>(std::max<std::int64_t>(0, end - now)));
    track += "\xff\x2f";
    track += '\0';

    std::string out = "MThd";
    putBig(out, 6, 4);
    putBig(out, 0, 2);  // format 0
    putBig(out, 1, 2);  // one track
    putBig(out, kMidiTicksPerQuarter, 2);
    out += "MTrk";
    putBig(out, static_cast<std::uint32_t>(track.size()), 4);
    return out + track;
}

std::vector<PlayEntry> wavPlayList(const Score& score, const WavOptions& options) {
    const std::vector<float> table =
        options.freqArr.empty() ? std::vector<float>(tables::freqArr.begin(), tables::freqArr.end())
                                : options.freqArr;
    PlayListOptions play;
    play.tempo = score.settings.tempoValue();
    const std::string key = score.settings.keyValue();
    play.key = key;
    return buildPlayList(score.musicData, -1, table, play);
}

std::optional<std::string> streamWav(const Score& score, const WavOptions& options,
                                     const std::function<bool(std::string_view)>& write) {
    if (!(options.sampleRate >= 8000.0 && options.sampleRate <= 192000.0))
        return "The sample rate must lie between 8000 and 192000 Hz.";
    const std::int64_t tempo = score.settings.tempoValue();
    if (tempo <= 0) return "The tempo must be a positive number of beats per minute.";
    PlayProgram::Options play;
    play.sampleRate = options.sampleRate;
    play.tempo = tempo;
    play.beats = std::clamp<std::int64_t>(score.settings.beatValue(), 1, 64);
    play.countIn = options.countIn;
    const PlayProgram program(wavPlayList(score, options), play);
    const auto frames = static_cast<std::uint64_t>(program.length());
    // The RIFF sizes are 32-bit: a longer recording could not be described by its header.
    if (static_cast<double>(frames) > kMaxWavSeconds * options.sampleRate ||
        2 * frames > 0xffffffffull - 36) {
        return "The recording would be too long for a WAV file (more than " +
               std::to_string(static_cast<int>(kMaxWavSeconds / 3600)) + " hours).";
    }
    const std::uint64_t dataBytes = frames * 2;
    std::string header;
    header += "RIFF";
    put32(header, static_cast<std::uint32_t>(36 + dataBytes));
    header += "WAVEfmt ";
    put32(header, 16);
    put16(header, 1);  // PCM
    put16(header, 1);  // mono
    const auto rate = static_cast<std::uint32_t>(std::lround(options.sampleRate));
    put32(header, rate);
    put32(header, rate * 2);
    put16(header, 2);
    put16(header, 16);
    header += "data";
    put32(header, static_cast<std::uint32_t>(dataBytes));
    if (!write(header)) return "The file could not be written.";

    constexpr std::size_t kChunk = 1 << 15;
    std::vector<float> samples(kChunk);
    std::vector<std::int16_t> pcm(kChunk);
    std::string bytes;  // a big-endian machine's little-endian copy
    if constexpr (std::endian::native != std::endian::little) bytes.resize(2 * kChunk);
    for (std::uint64_t at = 0; at < frames; at += kChunk) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, frames - at));
        program.render(static_cast<std::int64_t>(at), samples.data(), n, 1, program.length());
        // Rounded half away from zero and held within full scale, written so that the loop
        // runs on vectors.
        for (std::size_t i = 0; i < n; ++i) {
            const float x = samples[i] * 32767.0f;
            const float y = x + std::copysign(0.5f, x);
            const float z = y < -32767.0f ? -32767.0f : y > 32767.0f ? 32767.0f : y;
            pcm[i] = static_cast<std::int16_t>(static_cast<std::int32_t>(z));
        }
        std::string_view piece(reinterpret_cast<const char*>(pcm.data()), 2 * n);
        if constexpr (std::endian::native != std::endian::little) {
            for (std::size_t i = 0; i < n; ++i) {
                bytes[2 * i] = static_cast<char>(pcm[i] & 0xff);
                bytes[2 * i + 1] = static_cast<char>((pcm[i] >> 8) & 0xff);
            }
            piece = std::string_view(bytes.data(), 2 * n);
        }
        if (!write(piece)) return "The file could not be written.";
    }
    return std::nullopt;
}

WavResult writeWav(const Score& score, const WavOptions& options) {
    WavResult result;
    auto error = streamWav(score, options, [&](std::string_view piece) {
        result.bytes.append(piece);
        return true;
    });
    if (error) {
        result.bytes.clear();
        result.error = std::move(*error);
        return result;
    }
    result.ok = true;
    return result;
}

std::optional<std::string> writeWavFile(const Score& score, const WavOptions& options,
                                        const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                         &std::fclose);
    if (!file) return "The file could not be created.";
    auto error = streamWav(score, options, [&](std::string_view piece) {
        return std::fwrite(piece.data(), 1, piece.size(), file.get()) == piece.size();
    });
    if (!error && std::fflush(file.get()) != 0) error = "The file could not be written.";
    if (std::fclose(file.release()) != 0 && !error) error = "The file could not be written.";
    if (error) std::remove(path.c_str());
    return error;
}

}  // namespace sorvel::exchange
