#include "platform/sound_recorder.h"

namespace tarvel {

namespace {

// Desktop recorders with a window of their own, tried first.
const char* const kDesktopRecorders[] = {"gnome-sound-recorder", "audio-recorder"};
// Terminals that take "-e PROGRAM ARGS...", the distribution's chosen one first.
const char* const kTerminals[] = {"x-terminal-emulator", "xterm"};

std::string joinPath(const std::string& dir, const std::string& name)
{
    if (dir.empty()) return name;
    const char last = dir.back();
    return last == '/' || last == '\\' ? dir + name : dir + "/" + name;
}

}  // namespace

std::vector<RecorderCommand> recorderCandidates(const RecorderContext& context)
{
    std::vector<RecorderCommand> list;
    if (!context.configured.empty()) list.push_back({context.configured, {}});
    if (context.windows) {
        // Without the Windows directory there is nowhere to look.
        if (context.windowsDir.empty()) return list;
        for (const char* name :
             {"\\System32\\SoundRecorder.exe", "\\System32\\sndrec32.exe", "\\sndrec32.exe"})
            list.push_back({context.windowsDir + name, {}});
        return list;
    }
    for (const char* name : kDesktopRecorders) list.push_back({name, {}});
    const std::string file = joinPath(context.recordDir, "grabacion-" + context.stamp + ".wav");
    for (const char* terminal : kTerminals)
        list.push_back({terminal, {"-e", "arecord", "-f", "cd", "-t", "wav", file}});
    return list;
}

bool startRecorder(const RecorderContext& context,
                   const std::function<bool(const std::string&)>& exists,
                   const std::function<bool(const RecorderCommand&)>& start)
{
    for (const RecorderCommand& c : recorderCandidates(context)) {
        // A terminal is of no use without the recorder it is to run.
        if (!c.arguments.empty() && !exists(c.arguments[1])) continue;
        if (exists(c.program) && start(c)) return true;
    }
    return false;
}

}  // namespace tarvel
