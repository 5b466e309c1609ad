#include "sound/tune.h"

#include <string>

namespace koravin {

bool PlayTune(CommandStringService& service, std::string_view file, std::string_view alias) {
    StopTune(service, alias);
    std::string open = "open ";
    open += file;
    open += " alias ";
    open += alias;
    if (service.send(open) != kCommandSucceeded) return false;
    std::string play = "play ";
    play += alias;
    play += " from 0";
    return service.send(play) == kCommandSucceeded;
}

void StopTune(CommandStringService& service, std::string_view alias) {
    std::string stop = "stop ";
    stop += alias;
    service.send(stop);
    std::string close = "close ";
    close += alias;
    service.send(close);
}

std::vector<std::string> DefaultSoundFonts() {
    return {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2"};
}

}  // namespace koravin
