#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "sound/command_string.h"
#include "sound/tune.h"

namespace koravin {
namespace {

namespace fs = std::filesystem;

class RecordingService : public CommandStringService {
public:
    int send(std::string_view command) override {
        sent.emplace_back(command);
        const auto verb = command.substr(0, command.find(' '));
        return results.contains(std::string(verb)) ? results[std::string(verb)] : kCommandSucceeded;
    }
    std::vector<std::string> sent;
    std::map<std::string, int> results;  // by verb
};

TEST(PlayTune, StopsAndClosesTheAliasThenOpensAndPlays) {
    RecordingService service;
    service.results["stop"] = kAliasNotOpen;
    service.results["close"] = kAliasNotOpen;
    EXPECT_TRUE(PlayTune(service, "/opt/koravin/music/END.MID", "tune1"));
    EXPECT_EQ(service.sent, (std::vector<std::string>{"stop tune1", "close tune1",
                                                      "open /opt/koravin/music/END.MID alias tune1",
                                                      "play tune1 from 0"}));
}

TEST(PlayTune, DoesNotPlayWhatCouldNotBeOpened) {
    RecordingService service;
    service.results["open"] = kOpenFailed;
    EXPECT_FALSE(PlayTune(service, "/nowhere/END.MID", "tune1"));
    ASSERT_EQ(service.sent.size(), 3u);
    EXPECT_EQ(service.sent.back(), "open /nowhere/END.MID alias tune1");
}

TEST(PlayTune, IsFalseWhenPlayFails) {
    RecordingService service;
    service.results["play"] = kPlayFailed;
    EXPECT_FALSE(PlayTune(service, "END.MID", "tune1"));
    EXPECT_EQ(service.sent.back(), "play tune1 from 0");
}

TEST(StopTune, ClosesEvenWhenStopFails) {
    RecordingService service;
    service.results["stop"] = kAliasNotOpen;
    StopTune(service, "tune1");
    EXPECT_EQ(service.sent, (std::vector<std::string>{"stop tune1", "close tune1"}));
}

TEST(TuneCommandString, OpenTakesTheFileNameWholeWithBlanksAndChinese) {
    const std::string file = "/home/李 雷/我的 音乐/ alias 结束 曲.MID";
    RecordingService service;
    PlayTune(service, file, "tune1");
    const auto command = ParseCommandString(service.sent.at(2));
    ASSERT_TRUE(command);
    EXPECT_EQ(command->verb, TuneCommand::Verb::Open);
    EXPECT_EQ(command->file, file);
    EXPECT_EQ(command->alias, "tune1");
}

TEST(TuneCommandString, RefusesMalformedCommands) {
    for (const char* command : {"", "open", "open x", "open x alias", "open x alias ", "open  alias a",
                                "open x alias two words", "play tune1", "play tune1 from 5",
                                "play  from 0", "stop", "stop ", "stop a b", "close", "pause tune1",
                                "OPEN x alias a"}) {
        EXPECT_FALSE(ParseCommandString(command)) << '"' << command << '"';
    }
    const auto stop = ParseCommandString("stop tune1");
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->verb, TuneCommand::Verb::Stop);
    EXPECT_EQ(stop->alias, "tune1");
}

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TuneService : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("koravin-sound-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Copy(const std::string& name) {
        const fs::path path = folder_ / name;
        fs::create_directories(path.parent_path());
        fs::copy_file(KORAVIN_TUNE_PATH, path);
        return path.string();
    }

    fs::path folder_;
};

TEST_F(TuneService, FailsQuietlyAndLeavesNothingOpen) {
    std::ofstream(folder_ / "text.MID") << "not a tune";
    SynthServiceOptions noSoundFont;
    noSoundFont.soundFonts = {(folder_ / "missing.sf2").string()};
    const auto service = MakeSynthService();
    const auto fontless = MakeSynthService(noSoundFont);

    testing::internal::CaptureStderr();
    EXPECT_EQ(service->send("open " + (folder_ / "missing.MID").string() + " alias tune1"), kOpenFailed);
    EXPECT_EQ(service->send("open " + (folder_ / "text.MID").string() + " alias tune1"), kOpenFailed);
    EXPECT_EQ(fontless->send("open " + Copy("END.MID") + " alias tune1"), kOpenFailed);
    EXPECT_EQ(service->send("play tune1 from 0"), kAliasNotOpen);
    EXPECT_EQ(service->send("stop tune1"), kAliasNotOpen);
    EXPECT_EQ(service->send("close tune1"), kAliasNotOpen);
    EXPECT_EQ(service->send("close never"), kAliasNotOpen);
    EXPECT_EQ(service->send("rewind tune1"), kCommandUnrecognised);
    StopTune(*service, "tune1");
    EXPECT_FALSE(PlayTune(*fontless, (folder_ / "missing.MID").string(), "tune1"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// With a sound device the tune opens and is closed unheard; without one (CI) opening fails.
// Either way the synthesizer and the audio libraries say nothing.
TEST_F(TuneService, TriesTheAudioDeviceSilently) {
    const auto service = MakeSynthService();
    testing::internal::CaptureStderr();
    const int opened = service->send("open " + std::string(KORAVIN_TUNE_PATH) + " alias tune1");
    StopTune(*service, "tune1");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(service->send("close tune1"), kAliasNotOpen) << "open gave " << opened;
}

// The loudness of a 16-bit stereo WAV file at 44 100 Hz: the larger magnitude of each frame's two
// samples.
std::vector<int> Levels(const fs::path& wave) {
    const std::string bytes = Slurp(wave);
    const auto number = [&](std::size_t at, int size) {
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i) {
            value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
        }
        return value;
    };
    std::size_t at = 12;
    while (bytes.compare(at, 4, "data") != 0) at += 8 + number(at + 4, 4);
    const std::size_t end = std::min<std::size_t>(bytes.size(), at + 8 + number(at + 4, 4));
    std::vector<int> levels;
    for (at += 8; at + 4 <= end; at += 4) {
        const auto left = static_cast<std::int16_t>(number(at, 2));
        const auto right = static_cast<std::int16_t>(number(at + 2, 2));
        levels.push_back(std::max(std::abs(int{left}), std::abs(int{right})));
    }
    return levels;
}

TEST_F(TuneService, PlaysFromTheStartWhenToldAndFallsSilentOnStop) {
    SynthServiceOptions options;
    options.waveFile = (folder_ / "out.wav").string();
    const auto service = MakeSynthService(options);
    const std::string file = Copy("我的 音乐/ alias 结束 曲.MID");
    ASSERT_EQ(service->send("open " + file + " alias tune1"), kCommandSucceeded);
    EXPECT_EQ(service->send("open " + file + " alias tune1"), kAliasInUse);
    const auto wait = [](int milliseconds) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    };
    wait(500);
    ASSERT_EQ(service->send("play tune1 from 0"), kCommandSucceeded);
    wait(600);
    EXPECT_EQ(service->send("stop tune1"), kCommandSucceeded);
    wait(2000);
    EXPECT_EQ(service->send("play tune1 from 0"), kCommandSucceeded);
    wait(600);
    EXPECT_EQ(service->send("close tune1"), kCommandSucceeded);

    // The output is rendered in real time, so a command lands where the output was at that time,
    // or somewhat earlier when a busy machine lets the rendering lag: the windows allow 250 ms.
    const auto frames = [](int milliseconds) { return std::size_t(milliseconds) * 441 / 10; };
    const std::vector<int> levels = Levels(options.waveFile);
    const auto loudness = [&](std::size_t from, std::size_t count) {
        double sum = 0;
        for (std::size_t at = from; at < std::min(from + count, levels.size()); ++at) {
            sum += double(levels[at]) * levels[at];
        }
        return std::sqrt(sum / count);
    };
    const auto onset = [&](std::size_t from) {
        return std::size_t(std::find_if(levels.begin() + std::min(from, levels.size()), levels.end(),
                                        [](int level) { return level > 1000; }) - levels.begin());
    };
    const std::size_t first = onset(0);
    const std::size_t second = onset(frames(2700));
    EXPECT_GE(first, frames(250)) << "sound before play";
    const double once = loudness(first, frames(200));
    EXPECT_LT(loudness(frames(2300), frames(400)), once / 20) << "still sounding after stop";
    // From the start again, the tune's first notes sound as loud as the first time (the
    // reverberation differs a little); resumed where it stopped, the next notes are much softer.
    ASSERT_LT(second + frames(200), levels.size()) << "silent after the second play";
    EXPECT_NEAR(loudness(second, frames(200)) / once, 1, 0.2);
}

struct SmfEvent {
    std::uint32_t tick;
    std::string bytes;  // the status byte, also where the file left it out, then the rest
};

// Every track of a Standard MIDI File as its events, checking the chunk structure on the way.
std::vector<std::vector<SmfEvent>> ReadSmf(const std::string& smf, int& division) {
    std::size_t at = 0;
    const auto byte = [&] { return static_cast<unsigned char>(smf.at(at++)); };
    const auto number = [&](int size) {
        std::uint32_t value = 0;
        while (size-- > 0) value = value << 8 | byte();
        return value;
    };
    const auto variable = [&] {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const unsigned char b = byte();
            value = value << 7 | (b & 0x7f);
            if (!(b & 0x80)) return value;
        }
        throw std::runtime_error("variable-length number longer than 4 bytes");
    };
    if (smf.compare(0, 4, "MThd") != 0) throw std::runtime_error("no MThd");
    at = 4;
    if (number(4) != 6) throw std::runtime_error("header length");
    const std::uint32_t format = number(2);
    const std::uint32_t trackCount = number(2);
    division = static_cast<int>(number(2));
    if (format > 1 || trackCount == 0 || (format == 0 && trackCount != 1) || division <= 0 ||
        (division & 0x8000)) {
        throw std::runtime_error("header fields");
    }
    std::vector<std::vector<SmfEvent>> tracks(trackCount);
    for (auto& track : tracks) {
        if (smf.compare(at, 4, "MTrk") != 0) throw std::runtime_error("no MTrk");
        at += 4;
        const std::size_t end = number(4) + at;
        std::uint32_t tick = 0;
        unsigned char status = 0;
        bool ended = false;
        while (at < end) {
            if (ended) throw std::runtime_error("events after end of track");
            tick += variable();
            if (static_cast<unsigned char>(smf.at(at)) & 0x80) status = byte();
            const std::size_t start = at;
            if (status == 0xff) {
                ended = byte() == 0x2f;
                at += variable();
            } else if (status == 0xf0 || status == 0xf7) {
                at += variable();
            } else if (status >= 0x80 && status < 0xf0) {
                const int size = (status & 0xf0) == 0xc0 || (status & 0xf0) == 0xd0 ? 1 : 2;
                for (int i = 0; i < size; ++i) {
                    if (byte() & 0x80) throw std::runtime_error("data byte with its top bit set");
                }
            } else {
                throw std::runtime_error("bad status byte");
            }
            track.push_back({tick, static_cast<char>(status) + smf.substr(start, at - start)});
        }
        if (at != end || !ended) throw std::runtime_error("track length or end of track");
    }
    if (at != smf.size()) throw std::runtime_error("bytes after the last track");
    return tracks;
}

TEST(ExitTune, IsAWellFormedStandardMidiFileOfHalfAMinute) {
    int division = 0;
    const auto tracks = ReadSmf(Slurp(KORAVIN_TUNE_PATH), division);
    std::map<std::uint32_t, std::uint32_t> tempi{{0, 500000}};  // tick → microseconds a beat
    std::uint32_t lastTick = 0;
    for (const auto& track : tracks) {
        std::map<std::pair<int, int>, int> sounding;  // (channel, key) → count
        for (const auto& event : track) {
            const auto status = static_cast<unsigned char>(event.bytes[0]);
            const auto data = [&](std::size_t i) { return static_cast<unsigned char>(event.bytes.at(i)); };
            if (status == 0xff && data(1) == 0x51 && data(2) == 3) {
                tempi[event.tick] = data(3) << 16 | data(4) << 8 | data(5);
            } else if ((status & 0xe0) == 0x80) {
                const bool on = (status & 0xf0) == 0x90 && data(2) > 0;
                int& count = sounding[{status & 0x0f, data(1)}];
                count += on ? 1 : -1;
                EXPECT_GE(count, 0) << "note off without note on";
            }
        }
        for (const auto& [note, count] : sounding) {
            EXPECT_EQ(count, 0) << "key " << note.second << " held";
        }
        lastTick = std::max(lastTick, track.back().tick);
    }
    double seconds = 0;
    for (auto tempo = tempi.begin(); tempo != tempi.end(); ++tempo) {
        const auto next = std::next(tempo) == tempi.end() ? lastTick : std::next(tempo)->first;
        seconds += (next - tempo->first) * (tempo->second / 1e6) / division;
    }
    EXPECT_GE(seconds, 20);
    EXPECT_LE(seconds, 40);
}

TEST(ExitTune, IsExactlyWhatMakeTuneWrites) {
    const fs::path written =
        fs::temp_directory_path() / ("koravin-tune-" + std::to_string(::getpid()) + ".MID");
    const std::string command = std::string(KORAVIN_MAKE_TUNE_PATH) + " '" + written.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string bytes = Slurp(written);
    fs::remove(written);
    EXPECT_TRUE(bytes == Slurp(KORAVIN_TUNE_PATH))
        << "assets/music/END.MID is out of date: run make_tune assets/music/END.MID";
}

}  // namespace
}  // namespace koravin
