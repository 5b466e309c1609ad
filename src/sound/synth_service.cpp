#include <fluidsynth.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <utility>

#include "sound/command_string.h"
#include "sound/tune.h"

namespace koravin {
namespace {

template <auto Delete>
struct Deleter {
    template <typename T>
    void operator()(T* object) const {
        Delete(object);
    }
};

using Settings = std::unique_ptr<fluid_settings_t, Deleter<delete_fluid_settings>>;
using Synth = std::unique_ptr<fluid_synth_t, Deleter<delete_fluid_synth>>;
using Player = std::unique_ptr<fluid_player_t, Deleter<delete_fluid_player>>;
using AudioDriver = std::unique_ptr<fluid_audio_driver_t, Deleter<delete_fluid_audio_driver>>;

constexpr std::size_t kLargestMidiFile = 16 << 20;

std::optional<std::string> ReadMidiFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > kLargestMidiFile) return std::nullopt;
    }
    if (!bytes.starts_with("MThd")) return std::nullopt;
    return bytes;
}

bool HasPlaybackDevice() {
    std::error_code error;
    std::filesystem::directory_iterator entry("/dev/snd", error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.starts_with("pcmC") && name.ends_with("p")) return true;
    }
    return false;
}

std::vector<std::string> AudioDrivers() {
    // A PulseAudio client (PipeWire serves one too) fails quietly when no server runs. ALSA
    // reports a missing card on stderr through its own error handler, out of the synthesizer's
    // reach, so it is tried only when the kernel has a playback device. JACK is left out: its
    // client may start a server of its own.
    std::vector<std::string> drivers{"pulseaudio"};
    if (HasPlaybackDevice()) drivers.push_back("alsa");
    return drivers;
}

class LoadedTune {
public:
    // Nothing when the file, every sound font or the audio output cannot be had; whatever was
    // made on the way is freed again.
    static std::optional<LoadedTune> Load(const std::string& file, const SynthServiceOptions& options) {
        LoadedTune tune;
        auto midi = ReadMidiFile(file);
        if (!midi) return std::nullopt;
        tune.midi_ = std::move(*midi);

        tune.settings_.reset(new_fluid_settings());
        if (!tune.settings_) return std::nullopt;
        // The default gain leaves room for dozens of voices; the tune has about eight at once.
        fluid_settings_setnum(tune.settings_.get(), "synth.gain", 1.0);
        tune.synth_.reset(new_fluid_synth(tune.settings_.get()));
        if (!tune.synth_) return std::nullopt;
        bool haveSoundFont = false;
        for (const auto& soundFont : options.soundFonts) {
            if (fluid_synth_sfload(tune.synth_.get(), soundFont.c_str(), 1) != FLUID_FAILED) {
                haveSoundFont = true;
                break;
            }
        }
        if (!haveSoundFont || !tune.LoadPlayer()) return std::nullopt;

        if (!options.waveFile.empty()) {
            fluid_settings_setstr(tune.settings_.get(), "audio.driver", "file");
            fluid_settings_setstr(tune.settings_.get(), "audio.file.name", options.waveFile.c_str());
            fluid_settings_setstr(tune.settings_.get(), "audio.file.type", "wav");
            fluid_settings_setstr(tune.settings_.get(), "audio.file.format", "s16");
            tune.driver_.reset(new_fluid_audio_driver(tune.settings_.get(), tune.synth_.get()));
        } else {
            for (const auto& driver : AudioDrivers()) {
                fluid_settings_setstr(tune.settings_.get(), "audio.driver", driver.c_str());
                tune.driver_.reset(new_fluid_audio_driver(tune.settings_.get(), tune.synth_.get()));
                if (tune.driver_) break;
            }
        }
        if (!tune.driver_) return std::nullopt;
        return tune;
    }

    bool Play() {
        // Play resumes a stopped player where it paused and does not rewind a finished one:
        // "from 0" takes a fresh player.
        if (!player_ || fluid_player_get_status(player_.get()) != FLUID_PLAYER_READY) {
            Stop();
            if (!LoadPlayer()) return false;
        }
        return fluid_player_play(player_.get()) == FLUID_OK;
    }

    void Stop() {
        // Stopping the player is documented as a pause; the notes it leaves are ours to release.
        if (player_) fluid_player_stop(player_.get());
        fluid_synth_all_notes_off(synth_.get(), -1);
    }

private:
    LoadedTune() = default;

    bool LoadPlayer() {
        player_.reset();
        player_.reset(new_fluid_player(synth_.get()));
        return player_ && fluid_player_add_mem(player_.get(), midi_.data(), midi_.size()) == FLUID_OK;
    }

    std::string midi_;
    // Freed in reverse order: the audio driver stops calling into the synthesizer first.
    Settings settings_;
    Synth synth_;
    Player player_;
    AudioDriver driver_;
};

class SynthService final : public CommandStringService {
public:
    explicit SynthService(SynthServiceOptions options) : options_(std::move(options)) {
        // The synthesizer's log is process-wide and goes to stderr by default; a machine
        // without sound is normal here, not worth a line. A null function drops a level.
        for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
            fluid_set_log_function(level, nullptr, nullptr);
        }
    }

    int send(std::string_view command) override {
        const auto parsed = ParseCommandString(command);
        if (!parsed) return kCommandUnrecognised;
        const auto found = tunes_.find(parsed->alias);
        switch (parsed->verb) {
        case TuneCommand::Verb::Open: {
            if (found != tunes_.end()) return kAliasInUse;
            auto tune = LoadedTune::Load(parsed->file, options_);
            if (!tune) return kOpenFailed;
            tunes_.emplace(parsed->alias, std::move(*tune));
            return kCommandSucceeded;
        }
        case TuneCommand::Verb::Play:
            if (found == tunes_.end()) return kAliasNotOpen;
            return found->second.Play() ? kCommandSucceeded : kPlayFailed;
        case TuneCommand::Verb::Stop:
            if (found == tunes_.end()) return kAliasNotOpen;
            found->second.Stop();
            return kCommandSucceeded;
        case TuneCommand::Verb::Close:
            if (found == tunes_.end()) return kAliasNotOpen;
            tunes_.erase(found);
            return kCommandSucceeded;
        }
        return kCommandUnrecognised;
    }

private:
    SynthServiceOptions options_;
    std::map<std::string, LoadedTune, std::less<>> tunes_;
};

}  // namespace

std::unique_ptr<CommandStringService> MakeSynthService(SynthServiceOptions options) {
    return std::make_unique<SynthService>(std::move(options));
}

}  // namespace koravin
