// Writes the exit tune, a short waltz in F major, as a Standard MIDI File: format 1, a tempo
// track, then the piano melody, the piano's left hand (bass and after-beat chords) and a soft
// string pad, each a track and a channel of its own.
//
//   make_tune OUTPUT.MID
//
// The bytes depend on nothing but the tables below; assets/music/END.MID is this program's output.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Note {
    std::string_view pitch;  // C4 is middle C; sharps "#", flats "b"
    double beats;
};

struct Chord {
    std::string_view name;
    double beats;
};

struct Voicing {
    std::string_view chord;
    std::string_view bass;
    std::string_view upper[3];
};

struct Tempo {
    double beat;
    int beatsPerMinute;
};

constexpr int kBeatsPerBar = 3;

// Four phrases of four bars; the last note is held through the closing bar.
constexpr Note kMelody[] = {
    {"C5", 1}, {"A4", 1}, {"F4", 1},
    {"D5", 1.5}, {"C5", 0.5}, {"A4", 1},
    {"Bb4", 1}, {"D5", 1}, {"F5", 1},
    {"E5", 2}, {"C5", 1},

    {"C5", 1}, {"A4", 1}, {"F4", 1},
    {"G4", 1}, {"A4", 1}, {"C5", 1},
    {"D5", 1.5}, {"C5", 0.5}, {"Bb4", 1},
    {"A4", 3},

    {"A4", 1}, {"D5", 1}, {"F5", 1},
    {"F5", 1.5}, {"D5", 0.5}, {"Bb4", 1},
    {"Bb4", 1}, {"C5", 1}, {"D5", 1},
    {"E5", 1}, {"G5", 1}, {"Bb5", 1},

    {"A5", 1.5}, {"G5", 0.5}, {"F5", 1},
    {"F5", 1}, {"D5", 1}, {"A4", 1},
    {"Bb4", 1}, {"D5", 1}, {"E5", 1},
    {"F5", 6},
};

constexpr Chord kHarmony[] = {
    {"F", 3}, {"Dm", 3}, {"Bb", 3}, {"C", 3},
    {"F", 3}, {"Am", 3}, {"Gm", 2}, {"C7", 1}, {"F", 3},
    {"Dm", 3}, {"Bb", 3}, {"Gm", 3}, {"C7", 3},
    {"F", 3}, {"Dm", 3}, {"Gm", 2}, {"C7", 1}, {"F", 3},
    {"F", 3},
};

constexpr Voicing kVoicings[] = {
    {"F", "F2", {"F3", "A3", "C4"}},
    {"Dm", "D2", {"F3", "A3", "D4"}},
    {"Bb", "Bb1", {"F3", "Bb3", "D4"}},
    {"C", "C2", {"E3", "G3", "C4"}},
    {"C7", "C2", {"E3", "Bb3", "C4"}},
    {"Am", "A1", {"E3", "A3", "C4"}},
    {"Gm", "G1", {"G3", "Bb3", "D4"}},
};

// A gentle broadening over the last three bars.
constexpr Tempo kTempi[] = {{0, 92}, {42, 84}, {45, 72}};

constexpr int kTicksPerBeat = 480;

constexpr int kMelodyChannel = 0;
constexpr int kLeftHandChannel = 1;
constexpr int kPadChannel = 2;

constexpr int kAcousticGrandPiano = 0;
constexpr int kStringEnsemble = 48;

int Ticks(double beats) {
    return static_cast<int>(std::lround(beats * kTicksPerBeat));
}

int Key(std::string_view pitch) {
    static constexpr std::string_view kLetters = "C D EF G A B";
    const auto fail = [&] { throw std::invalid_argument("bad pitch " + std::string(pitch)); };
    if (pitch.size() < 2) fail();
    const std::size_t letter = kLetters.find(pitch[0]);
    if (letter == std::string_view::npos || pitch[0] == ' ') fail();
    int key = static_cast<int>(letter);
    std::size_t at = 1;
    if (pitch[at] == '#') {
        ++key;
        ++at;
    } else if (pitch[at] == 'b') {
        --key;
        ++at;
    }
    if (at + 1 != pitch.size() || pitch[at] < '0' || pitch[at] > '8') fail();
    key += 12 * (pitch[at] - '0' + 1);
    if (key < 0 || key > 127) fail();
    return key;
}

const Voicing& VoicingOf(std::string_view chord) {
    for (const auto& voicing : kVoicings) {
        if (voicing.chord == chord) return voicing;
    }
    throw std::invalid_argument("no voicing for " + std::string(chord));
}

class Track {
public:
    explicit Track(std::string_view name) { Meta(0, 0x03, name); }

    void Meta(int tick, int type, std::string_view data) {
        std::string bytes{'\xff', static_cast<char>(type)};
        bytes += VariableLength(static_cast<std::uint32_t>(data.size()));
        bytes += data;
        Add(tick, kSetUp, bytes);
    }

    void Program(int channel, int program) {
        Add(0, kSetUp, {static_cast<char>(0xc0 | channel), static_cast<char>(program)});
    }

    void Controller(int channel, int controller, int value) {
        Add(0, kSetUp,
            {static_cast<char>(0xb0 | channel), static_cast<char>(controller),
             static_cast<char>(value)});
    }

    void Play(int channel, std::string_view pitch, int start, int length, int velocity) {
        const char key = static_cast<char>(Key(pitch));
        Add(start, kNoteOn, {static_cast<char>(0x90 | channel), key, static_cast<char>(velocity)});
        Add(start + length, kNoteOff, {static_cast<char>(0x80 | channel), key, 64});
    }

    std::string Chunk(int endTick) const {
        auto events = events_;
        // At one instant a note ends before the next begins, so a repeated key sounds twice.
        std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
            return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
        });
        std::string body;
        int now = 0;
        for (const auto& event : events) {
            body += VariableLength(static_cast<std::uint32_t>(event.tick - now));
            body += event.bytes;
            now = event.tick;
        }
        body += VariableLength(static_cast<std::uint32_t>(std::max(endTick - now, 0)));
        body += std::string{'\xff', '\x2f', '\x00'};
        return "MTrk" + BigEndian(static_cast<std::uint32_t>(body.size()), 4) + body;
    }

    static std::string BigEndian(std::uint32_t value, int bytes) {
        std::string out;
        for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
            out += static_cast<char>((value >> shift) & 0xff);
        }
        return out;
    }

private:
    enum Order { kSetUp, kNoteOff, kNoteOn };

    struct Event {
        int tick;
        Order order;
        std::string bytes;
    };

    static std::string VariableLength(std::uint32_t value) {
        std::string out(1, static_cast<char>(value & 0x7f));
        while (value >>= 7) out.insert(out.begin(), static_cast<char>(0x80 | (value & 0x7f)));
        return out;
    }

    void Add(int tick, Order order, std::string bytes) {
        events_.push_back({tick, order, std::move(bytes)});
    }

    std::vector<Event> events_;
};

void SetUpChannel(Track& track, int channel, int program, int volume, int pan) {
    track.Program(channel, program);
    track.Controller(channel, 7, volume);
    track.Controller(channel, 10, pan);
    track.Controller(channel, 91, 48);  // reverb send
}

Track TempoTrack() {
    Track track("Koravin");
    track.Meta(0, 0x58, std::string{3, 2, 24, 8});  // 3/4, 24 clocks a click, 8 32nds a beat
    track.Meta(0, 0x59, std::string{'\xff', 0});    // one flat, major
    for (const auto& tempo : kTempi) {
        const auto microseconds = static_cast<std::uint32_t>(std::lround(60e6 / tempo.beatsPerMinute));
        track.Meta(Ticks(tempo.beat), 0x51, Track::BigEndian(microseconds, 3));
    }
    return track;
}

Track MelodyTrack() {
    Track track("Melody");
    SetUpChannel(track, kMelodyChannel, kAcousticGrandPiano, 110, 64);
    double beat = 0;
    for (const auto& note : kMelody) {
        const bool downbeat = std::fmod(beat, kBeatsPerBar) == 0;
        track.Play(kMelodyChannel, note.pitch, Ticks(beat), Ticks(note.beats), downbeat ? 90 : 78);
        beat += note.beats;
    }
    return track;
}

// Bass on the chord's first beat, held; the chord itself on every beat that is not a downbeat.
// The closing chord is struck whole and held.
Track LeftHandTrack() {
    Track track("Left hand");
    SetUpChannel(track, kLeftHandChannel, kAcousticGrandPiano, 96, 52);
    double beat = 0;
    for (const auto& chord : kHarmony) {
        const Voicing& voicing = VoicingOf(chord.name);
        const bool closing = &chord == std::end(kHarmony) - 1;
        track.Play(kLeftHandChannel, voicing.bass, Ticks(beat), Ticks(chord.beats), 72);
        for (double hit = beat; hit < beat + chord.beats; ++hit) {
            if (closing) {
                for (const auto pitch : voicing.upper) {
                    track.Play(kLeftHandChannel, pitch, Ticks(hit), Ticks(chord.beats), 60);
                }
                break;
            }
            if (std::fmod(hit, kBeatsPerBar) == 0) continue;
            for (const auto pitch : voicing.upper) {
                track.Play(kLeftHandChannel, pitch, Ticks(hit), Ticks(0.75), 50);
            }
        }
        beat += chord.beats;
    }
    return track;
}

Track PadTrack() {
    Track track("Strings");
    SetUpChannel(track, kPadChannel, kStringEnsemble, 72, 76);
    double beat = 0;
    for (const auto& chord : kHarmony) {
        for (const auto pitch : VoicingOf(chord.name).upper) {
            track.Play(kPadChannel, pitch, Ticks(beat), Ticks(chord.beats), 44);
        }
        beat += chord.beats;
    }
    return track;
}

double TotalBeats(const auto& parts) {
    double beats = 0;
    for (const auto& part : parts) beats += part.beats;
    return beats;
}

std::string StandardMidiFile() {
    const double beats = TotalBeats(kMelody);
    if (beats != TotalBeats(kHarmony) || std::fmod(beats, kBeatsPerBar) != 0) {
        throw std::logic_error("melody and harmony do not fill the same whole bars");
    }
    const int endTick = Ticks(beats);
    const Track tracks[] = {TempoTrack(), MelodyTrack(), LeftHandTrack(), PadTrack()};
    std::string file = "MThd" + Track::BigEndian(6, 4) + Track::BigEndian(1, 2) +
                       Track::BigEndian(std::size(tracks), 2) + Track::BigEndian(kTicksPerBeat, 2);
    for (const auto& track : tracks) file += track.Chunk(endTick);
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_tune OUTPUT.MID\n");
        return 2;
    }
    try {
        const std::string bytes = StandardMidiFile();
        std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "make_tune: cannot write %s\n", argv[1]);
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_tune: %s\n", error.what());
        return 1;
    }
    return 0;
}
