#include "FakeEngine.h"

#include <algorithm>
#include <utility>

namespace soundtest {
namespace {

FakeEngine fake;

std::string Call(const std::string& name, const std::vector<std::string>& arguments = {})
{
    std::string text = name + "(";
    for (std::size_t i = 0; i < arguments.size(); ++i)
        text += (i ? ", " : "") + arguments[i];
    return text + ")";
}

// Records the call; false when it is to fail.
bool Answer(const std::string& call)
{
    fake.calls.push_back(call);
    if (fake.onCall)
        fake.onCall(call);
    const bool fails = std::any_of(
        fake.failing.begin(), fake.failing.end(), [&](const std::string& prefix) { return call.starts_with(prefix); });
    if (fails) {
        fake.lastError = FakeErrorCode;
        fake.lastErrorText = FakeMessage(call);
    }
    return !fails;
}

int Truth(const std::string& call)
{
    return Answer(call) ? 1 : 0;
}

std::string Text(auto value)
{
    return std::to_string(value);
}

int MIDAS_CALL Startup()
{
    return Truth(Call("MIDASstartup"));
}
int MIDAS_CALL SetOption(int option, int value)
{
    return Truth(Call("MIDASsetOption", {Text(option), Text(value)}));
}
int MIDAS_CALL Init()
{
    return Truth(Call("MIDASinit"));
}
int MIDAS_CALL StartBackgroundPlay(uint32_t rate)
{
    return Truth(Call("MIDASstartBackgroundPlay", {Text(rate)}));
}
int MIDAS_CALL StopBackgroundPlay()
{
    return Truth(Call("MIDASstopBackgroundPlay"));
}

int MIDAS_CALL Close()
{
    fake.loaded.clear();
    return Truth(Call("MIDASclose"));
}

MIDASmodule MIDAS_CALL LoadModule(const char* fileName)
{
    if (!Answer(Call("MIDASloadModule", {fileName})))
        return 0;
    fake.loaded.insert(++fake.lastModule);
    fake.mostLoaded = std::max(fake.mostLoaded, fake.loaded.size());
    return fake.lastModule;
}

MIDASmodulePlayHandle MIDAS_CALL PlayModule(MIDASmodule module, int loopSong)
{
    if (!Answer(Call("MIDASplayModule", {Text(module), Text(loopSong)})))
        return 0;
    fake.position = 0;
    return ++fake.lastPlay;
}

int MIDAS_CALL StopModule(MIDASmodulePlayHandle play)
{
    return Truth(Call("MIDASstopModule", {Text(play)}));
}

int MIDAS_CALL FreeModule(MIDASmodule module)
{
    if (!Answer(Call("MIDASfreeModule", {Text(module)})))
        return 0;
    fake.loaded.erase(module);
    return 1;
}

int MIDAS_CALL GetPlayStatus(MIDASmodulePlayHandle play, MIDASplayStatus* status)
{
    if (!Answer(Call("MIDASgetPlayStatus", {Text(play)})))
        return 0;
    *status = MIDASplayStatus{};
    status->position = fake.position;
    return 1;
}

int MIDAS_CALL GetModuleInfo(MIDASmodule module, MIDASmoduleInfo* info)
{
    if (!Answer(Call("MIDASgetModuleInfo", {Text(module)})))
        return 0;
    *info = MIDASmoduleInfo{};
    info->songLength = fake.songLength;
    info->numInstruments = 3;
    return 1;
}

int MIDAS_CALL SetPosition(MIDASmodulePlayHandle play, int32_t position)
{
    if (!Answer(Call("MIDASsetPosition", {Text(play), Text(position)})))
        return 0;
    fake.position = position;
    return 1;
}

int MIDAS_CALL GetLastError()
{
    fake.calls.push_back(Call("MIDASgetLastError"));
    return fake.lastError;
}

const char* MIDAS_CALL GetErrorMessage(int code)
{
    fake.calls.push_back(Call("MIDASgetErrorMessage", {Text(code)}));
    return fake.lastErrorText.c_str();
}

int MIDAS_CALL PauseModule(MIDASmodulePlayHandle play, int pause)
{
    return Truth(Call("MIDASpauseModule", {Text(play), Text(pause)}));
}

int MIDAS_CALL SetMasterVolume(int volume)
{
    return Truth(Call("MIDASsetMasterVolume", {Text(volume)}));
}

int MIDAS_CALL GetPlayTime(MIDASmodulePlayHandle play, uint32_t* milliseconds)
{
    if (!Answer(Call("MIDASgetPlayTime", {Text(play)})))
        return 0;
    *milliseconds = fake.playTimeMs;
    return 1;
}

int MIDAS_CALL SetPlayTime(MIDASmodulePlayHandle play, uint32_t milliseconds)
{
    if (!Answer(Call("MIDASsetPlayTime", {Text(play), Text(milliseconds)})))
        return 0;
    fake.playTimeMs = milliseconds;
    return 1;
}

int MIDAS_CALL GetModuleDetails(MIDASmodule module, MIDASmoduleDetails* details)
{
    if (!Answer(Call("MIDASgetModuleDetails", {Text(module)})))
        return 0;
    *details = MIDASmoduleDetails{};
    fake.title.copy(details->title, sizeof details->title - 1);
    details->durationMs = fake.durationMs;
    return 1;
}

int MIDAS_CALL GetInstrumentName(MIDASmodule module, int index, char* name, int size)
{
    if (!Answer(Call("MIDASgetInstrumentName", {Text(module), Text(index)})))
        return 0;
    const std::size_t length = fake.instrumentName.copy(name, static_cast<std::size_t>(size) - 1);
    name[length] = '\0';
    return 1;
}

int MIDAS_CALL SetOutputName(const char* application, const char* stream)
{
    return Truth(Call("MIDASsetOutputName", {application, stream}));
}

} // namespace

std::vector<std::string> FakeEngine::Take()
{
    return std::exchange(calls, {});
}

FakeEngine& Fake()
{
    return fake;
}

void ResetFake()
{
    fake = FakeEngine{};
}

const TMidasApi& FakeApi()
{
    static const TMidasApi api{
        .MIDASstartup = &Startup,
        .MIDASsetOption = &SetOption,
        .MIDASinit = &Init,
        .MIDASstartBackgroundPlay = &StartBackgroundPlay,
        .MIDASstopBackgroundPlay = &StopBackgroundPlay,
        .MIDASclose = &Close,
        .MIDASloadModule = &LoadModule,
        .MIDASplayModule = &PlayModule,
        .MIDASstopModule = &StopModule,
        .MIDASfreeModule = &FreeModule,
        .MIDASgetPlayStatus = &GetPlayStatus,
        .MIDASgetModuleInfo = &GetModuleInfo,
        .MIDASsetPosition = &SetPosition,
        .MIDASgetLastError = &GetLastError,
        .MIDASgetErrorMessage = &GetErrorMessage,
        .MIDASpauseModule = &PauseModule,
        .MIDASsetMasterVolume = &SetMasterVolume,
        .MIDASgetPlayTime = &GetPlayTime,
        .MIDASsetPlayTime = &SetPlayTime,
        .MIDASgetModuleDetails = &GetModuleDetails,
        .MIDASgetInstrumentName = &GetInstrumentName,
        .MIDASsetOutputName = &SetOutputName,
    };
    return api;
}

std::string FakeMessage(const std::string& call)
{
    return "Fake failure: " + call;
}

std::vector<std::string> StartCalls(int mixRate, int filterMode, int outputMode, int volume)
{
    return {
        "MIDASstartup()",
        "MIDASsetOption(3, 1000)",
        "MIDASsetOption(4, 2)",
        "MIDASsetOption(1, " + std::to_string(mixRate) + ")",
        "MIDASsetOption(10, " + std::to_string(filterMode) + ")",
        "MIDASsetOption(2, " + std::to_string(outputMode) + ")",
        "MIDASsetMasterVolume(" + std::to_string(volume) + ")",
        "MIDASinit()",
        "MIDASstartBackgroundPlay(0)",
    };
}

std::vector<std::string> Join(std::vector<std::string> first, const std::vector<std::string>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

} // namespace soundtest
