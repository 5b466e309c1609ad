#pragma once

// The exit tune: a command-string service that opens, plays, stops and closes a MIDI file under
// an alias, and the two operations the exit splash performs through it.
//
// Commands, each a UTF-8 string with single blanks between its words:
//   "open FILE alias A"   FILE may contain blanks (and even " alias "): the last " alias " splits
//   "play A from 0"       from the beginning, once
//   "stop A"
//   "close A"
// A result code of 0 is success. Calls come from the GUI thread only.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace koravin {

inline constexpr int kCommandSucceeded = 0;
inline constexpr int kCommandUnrecognised = 1;  // not one of the four commands, or a malformed one
inline constexpr int kAliasNotOpen = 2;
inline constexpr int kAliasInUse = 3;           // "open" with an alias that is still open
inline constexpr int kOpenFailed = 4;           // no file, no sound font or no audio output
inline constexpr int kPlayFailed = 5;

class CommandStringService {
public:
    virtual ~CommandStringService() = default;
    virtual int send(std::string_view command) = 0;
};

// StopTune(alias), then "open FILE alias A" and, when that succeeds, "play A from 0".
// True when the play command succeeded.
bool PlayTune(CommandStringService& service, std::string_view file, std::string_view alias);

// "stop A", then "close A"; their results are ignored, so an alias that is not open is no error.
void StopTune(CommandStringService& service, std::string_view alias);

// The General MIDI sound fonts tried in turn, the small one Debian ships first.
std::vector<std::string> DefaultSoundFonts();

struct SynthServiceOptions {
    std::vector<std::string> soundFonts = DefaultSoundFonts();
    // Not empty: render into this WAV file in real time instead of an audio device, so the
    // service can be exercised and listened to on a machine without one.
    std::string waveFile;
};

// The service that plays MIDI files with a software synthesizer. "open" fails quietly (nothing
// on stderr, nothing left running) when the file, a sound font or an audio output is missing.
std::unique_ptr<CommandStringService> MakeSynthService(SynthServiceOptions options = {});

}  // namespace koravin
